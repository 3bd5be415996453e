// Real input for tests under Wine: SendInput of key presses, with modifiers
// held around the key, and a way to tell when a press was read; and a left
// click of the mouse.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace testing_support {

// Presses `vk` with `modifiers` held down (VK_SHIFT, VK_CONTROL, VK_MENU,
// VK_LWIN). Returns a condition that turns true once this thread has read the
// whole press from its queue: the thread's own key state flips a key's toggle
// bit at each press it reads and clears its down bit at each release.
inline std::function<bool()> PressKey(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  std::vector<INPUT> inputs;
  std::vector<std::pair<WORD, SHORT>> toggles;
  auto key = [&](WORD code, bool up) {
    if (!up) toggles.emplace_back(code, GetKeyState(code) & 1);
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = code;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(code, 0));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  for (WORD m : modifiers) key(m, false);
  key(vk, false);
  key(vk, true);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) key(*it, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return [toggles] {
    for (const auto& [code, toggle] : toggles) {
      const SHORT state = GetKeyState(code);
      if ((state & 1) == toggle || (state & 0x8000)) return false;
    }
    return true;
  };
}

// A left click at the middle of the window, as the mouse gives it: a window
// that is disabled, or covered there, does not get it.
inline void ClickWithMouse(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  INPUT in[3] = {};
  for (INPUT& i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = (r.left + r.right) / 2 * 65536 / GetSystemMetrics(SM_CXSCREEN);
  in[0].mi.dy = (r.top + r.bottom) / 2 * 65536 / GetSystemMetrics(SM_CYSCREEN);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, in, sizeof(INPUT));
}

// Types the characters of a text of digits, capital letters and Enter ('\r').
inline void TypeText(const char* text) {
  for (const char* c = text; *c; ++c) PressKey(*c == '\r' ? VK_RETURN : static_cast<WORD>(*c));
}

}  // namespace testing_support
