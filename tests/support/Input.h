// Real input for the tests under Wine, as a user gives it: key presses and
// mouse clicks, each sent once, when its target is ready. A low-level hook of
// this process sees every input of the desktop before any window does; what
// it saw of an input goes into the failure of the check that waits for the
// input's effect, and tells a lost input from one that arrived and did
// nothing. (An input sent again until something happens cannot tell them
// apart.)
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <ostream>
#include <string>

namespace testing_support {

// An input sent once; streamed, what the hook has seen since it was sent.
class Sent {
 public:
  Sent();
  // Nothing was sent, for this reason.
  explicit Sent(std::string notSent) : notSent_(std::move(notSent)) {}
  friend std::ostream& operator<<(std::ostream& out, const Sent& sent);

 private:
  std::size_t since_ = 0;
  std::string notSent_;
};

// Presses `vk` with `modifiers` held down (VK_SHIFT, VK_CONTROL, VK_MENU,
// VK_LWIN), through SendInput.
Sent PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});
// Presses the keys of a text of digits, capital letters and Enter ('\r').
Sent TypeKeys(const std::string& keys);
// Moves the pointer to `at` as a mouse moves it, through the X server, and
// reads it back there; then Wine's own idea of the pointer is set to the
// same place. Until the X server's move has come through Wine, Wine puts
// injected clicks where the pointer was before, and the X server's later
// events move Wine's pointer back to where the X server's is.
testing::AssertionResult MovePointer(POINT at);
// Clicks the left (1) or right (3) mouse button where the pointer is.
Sent MouseClick(int button);
// A left click in the middle of `control` once it can take one: shown,
// enabled and not covered there; the pointer goes there first.
Sent ClickWithMouse(HWND control);

// Typed keys reach `window`, of any process: its top-level window is the
// foreground window and the focus is in it.
bool TakesKeys(HWND window);

}  // namespace testing_support
