// The keyboard-layout service on Win32: each operation is one user32 call.
#include <windows.h>

#include "hotkeys/HotKeyManager_win32.h"

namespace hotkeys {

namespace {

HKL ToHkl(Layout layout) { return reinterpret_cast<HKL>(static_cast<std::uintptr_t>(layout)); }
Layout FromHkl(HKL hkl) { return static_cast<Layout>(reinterpret_cast<std::uintptr_t>(hkl)); }

class Win32Keyboard : public KeyboardLayout {
 public:
  unsigned ScanCode(unsigned key, Layout layout) override {
    return layout == kActiveLayout ? MapVirtualKeyA(key, 0) : MapVirtualKeyExA(key, 0, ToHkl(layout));
  }
  std::string KeyName(std::uint32_t param) override {
    char name[256] = {};
    GetKeyNameTextA(static_cast<LONG>(param), name, sizeof name);
    return name;
  }
  Layout Active() override { return FromHkl(GetKeyboardLayout(0)); }
  std::vector<Layout> Layouts(int room) override {
    std::vector<HKL> handles(room > 0 ? room : 0);
    const int count = GetKeyboardLayoutList(room, handles.data());
    std::vector<Layout> layouts;
    for (int i = 0; i < count && i < room; ++i) layouts.push_back(FromHkl(handles[i]));
    return layouts;
  }
  Layout Load(const std::string& id, unsigned flags) override {
    return FromHkl(LoadKeyboardLayoutA(id.c_str(), flags));
  }
  void Activate(Layout layout, unsigned flags) override { ActivateKeyboardLayout(ToHkl(layout), flags); }
  void Unload(Layout layout) override { UnloadKeyboardLayout(ToHkl(layout)); }
  bool SameText(std::string_view a, std::string_view b) override {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
  }
};

}  // namespace

KeyboardLayout& Win32KeyboardLayout() {
  static Win32Keyboard keyboard;
  return keyboard;
}

}  // namespace hotkeys
