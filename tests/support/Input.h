// Real input for the tests under Wine: key presses and mouse clicks, each
// sent once, when its target is ready. What a low-level hook of this process
// saw of an input goes into the failure of the check that waits for its
// effect: it tells a lost input from one that arrived and did nothing.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>

namespace testing_support {

// An input sent once; streamed, what the hook has seen since it was sent.
class Sent {
 public:
  Sent();
  explicit Sent(std::string notSent) : notSent_(std::move(notSent)) {}  // nothing sent, for this reason
  friend std::ostream& operator<<(std::ostream& out, const Sent& sent);
  // The hook has seen `vk` go down since this input was sent.
  bool SawKeyDown(WORD vk) const;

 private:
  size_t since_ = 0;
  std::string notSent_;
};

// Presses `vk` with `modifiers` held down (VK_SHIFT, VK_CONTROL, VK_MENU,
// VK_LWIN), through SendInput.
Sent PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});
// Presses a combination ("ctrl+alt+p") through the X server: a foreground
// change makes Wine let go of modifiers the X server did not see pressed.
Sent PressInX(const std::string& keys);
// Presses the keys of a text of digits, capital letters and Enter ('\r').
Sent TypeKeys(const std::string& keys);
// Moves the pointer to `at` through the X server, as a mouse does, reads it
// back, and sets Wine's pointer there too: until the X server's move comes
// through, Wine puts clicks where its pointer was, and the X server's later
// events move it back to where the X server's is.
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
