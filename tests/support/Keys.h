// Real keyboard input for tests under Wine: SendInput of key presses, with
// modifiers held around the key.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

namespace testing_support {

// Presses `vk` with `modifiers` held down (VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN).
inline void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD code, bool up) {
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
}

// Types the characters of a text of digits, capital letters and Enter ('\r').
inline void TypeText(const char* text) {
  for (const char* c = text; *c; ++c) PressKey(*c == '\r' ? VK_RETURN : static_cast<WORD>(*c));
}

}  // namespace testing_support
