// The hotkey manager.
#include "hotkeys/HotKeyManager_win32.h"

#include <string>

namespace hotkeys {

THotKeyManager::THotKeyManager(ui::TComponent* owner) : TComponent(owner) {
  CreateHandle("THotKeyManagerWindow", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
}

THotKeyManager::~THotKeyManager() {
  ClearHotKeys();
  DestroyHandle();
}

std::uint16_t THotKeyManager::AddHotKey(ShortCut hotKey) {
  const SplitShortCut split = SplitHotKey(hotKey);
  const std::string name = "HotKeyManagerHotKey" + std::to_string(hotKey);
  ui::unique_atom id(GlobalAddAtomA(name.c_str()));
  if (!RegisterHotKey(Handle(), id.get(), split.Modifiers, split.Key)) return 0;  // releases the atom
  const std::uint16_t result = id.get();
  FHotKeyList.push_back({hotKey, std::move(id)});
  return result;
}

void THotKeyManager::ClearHotKeys() {
  while (!FHotKeyList.empty()) {
    UnregisterEntry(FHotKeyList.back());
    FHotKeyList.pop_back();  // releases the atom, whatever the answer
  }
}

bool THotKeyManager::UnregisterEntry(const THotKeyRecord& record) {
  return UnregisterHotKey(Handle(), record.Id.get()) != FALSE;
}

bool THotKeyManager::IsHotKeyRegistered(ShortCut hotKey) const {
  for (const THotKeyRecord& record : FHotKeyList)
    if (record.HotKey == hotKey) return true;
  return false;
}

LRESULT THotKeyManager::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_HOTKEY && OnHotKeyPressed) {
    const ShortCut pressed = MakeHotKey(LOWORD(lParam), HIWORD(lParam));
    if (IsHotKeyRegistered(pressed)) OnHotKeyPressed(pressed, LOWORD(wParam));
  }
  return Window::WndProc(msg, wParam, lParam);
}

}  // namespace hotkeys
