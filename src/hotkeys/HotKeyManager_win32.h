// HotKeyManager, the Win32 half: the keyboard-layout service of user32, and
// THotKeyManager, the non-visual component that registers
// system-wide hotkeys and reports their presses.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "hotkeys/HotKeyManager.h"
#include "ui/Component.h"
#include "ui/Win32Handle.h"
#include "ui/Window.h"

namespace hotkeys {

// The keyboard-layout service of the platform, for the module's start-up:
//   const hotkeys::Module hotKeyModule(hotkeys::Win32KeyboardLayout());
KeyboardLayout& Win32KeyboardLayout();

struct THotKeyRecord {
  ShortCut HotKey;      // the word passed to AddHotKey, unchanged
  ui::unique_atom Id;   // the global atom the hotkey is registered under
};

// Registers hotkeys for a message-only window of its own and raises
// OnHotKeyPressed for every press of a registered combination.
class THotKeyManager : public ui::TComponent, public ui::Window {
 public:
  explicit THotKeyManager(ui::TComponent* owner = nullptr);
  ~THotKeyManager() override;

  // Registers the combination under the atom "HotKeyManagerHotKey<word>" and
  // returns the atom; 0, with the atom's reference released, when refused.
  std::uint16_t AddHotKey(ShortCut hotKey);
  // Unregisters every hotkey, last first, releasing every atom.
  void ClearHotKeys();
  std::size_t Count() const { return FHotKeyList.size(); }

  // (HotKey, Index): the pressed word in normal form, and the identifier of
  // the registration that fired (what AddHotKey returned for it).
  ui::Event<std::uint32_t, std::uint16_t> OnHotKeyPressed;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  bool UnregisterEntry(const THotKeyRecord& record);
  bool IsHotKeyRegistered(ShortCut hotKey) const;

  std::vector<THotKeyRecord> FHotKeyList;
};

}  // namespace hotkeys
