// The keyboard-layout service that the HotKeyManager module asks for key
// names. The module holds no table of names: every name comes from
// the platform's keyboard driver, through this interface. The Win32
// implementation (KeyboardLayout_win32.cpp) is a thin call into user32; the
// unit tests use fake layouts.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hotkeys {

// A keyboard layout handle (HKL). The null handle stands for "the calling
// thread's active layout" where a layout is asked for.
enum class Layout : std::uintptr_t {};
constexpr Layout kActiveLayout{};

class KeyboardLayout {
 public:
  virtual ~KeyboardLayout() = default;

  // The scan code of virtual key `key` under `layout`, 0 if it has none
  // (MapVirtualKeyExA with map type 0; MapVirtualKeyA for kActiveLayout).
  virtual unsigned ScanCode(unsigned key, Layout layout) = 0;
  // The name the active layout gives a key: `param` holds the scan code in
  // bits 16-23 and the extended-key flag in bit 24 (GetKeyNameTextA with a
  // 256-byte buffer). Empty when there is none.
  virtual std::string KeyName(std::uint32_t param) = 0;
  // The calling thread's active layout (GetKeyboardLayout(0)).
  virtual Layout Active() = 0;
  // The user's layouts, at most `room` of them (GetKeyboardLayoutList).
  virtual std::vector<Layout> Layouts(int room) = 0;
  // LoadKeyboardLayoutA(id, flags); null on failure.
  virtual Layout Load(const std::string& id, unsigned flags) = 0;
  // ActivateKeyboardLayout(layout, flags).
  virtual void Activate(Layout layout, unsigned flags) = 0;
  // UnloadKeyboardLayout(layout).
  virtual void Unload(Layout layout) = 0;

  // Whether two texts are equal ignoring letter case under the user's locale
  // (CompareStringA with NORM_IGNORECASE, as the names are the driver's and
  // may hold letters beyond ASCII). This default folds ASCII letters only.
  virtual bool SameText(std::string_view a, std::string_view b);
};

}  // namespace hotkeys
