// Facts about keys and dialogs shared by portable and Win32 code.
#pragma once

namespace ui {

// Page Up, Page Down, End, Home, the four arrows, Insert and Delete: their
// names need the extended-key flag, or the keyboard driver names the keypad
// keys of the same codes ("Num 9" for Page Up).
constexpr bool IsExtendedNavigationKey(unsigned vk) {
  return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E;
}

// A modal form's answer: none yet, Ok, Cancel.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

}  // namespace ui
