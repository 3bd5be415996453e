// Shortcut text conversion: a named key costs a search over codes 8-255, a
// letter none; and a hotkey press whose handler converts the eight stored
// texts, as the main window's does. Natively against the fake US layout of the
// unit tests, under Wine against the real keyboard service.
#include <cstdint>
#include <string>
#include <vector>

#include "Bench.h"
#include "hotkeys/HotKeyManager.h"
#include "ui/Component.h"

#ifdef _WIN32
#include "hotkeys/HotKeyManager_win32.h"
#else
#include "support/FakeKeyboardLayout.h"
#endif

namespace {

// The eight default shortcut texts, and eight that name their keys (the
// dearest case: each one a search over the key names).
const char* const kDefaults[] = {"Ctrl+Alt+S", "Ctrl+Alt+L", "Ctrl+Alt+H", "Ctrl+Alt+B",
                                 "Ctrl+Alt+R", "Ctrl+Alt+M", "Ctrl+Alt+V", "Ctrl+Alt+P"};
const char* const kNamed[] = {"Ctrl+F1", "Ctrl+F2", "Ctrl+F3", "Ctrl+F4",
                              "Ctrl+F5", "Ctrl+F6", "Ctrl+F7", "Ctrl+F8"};

// HotKeyManager1HotKeyPressed's work: every stored text converted anew.
int Dispatch(const char* const (&texts)[8], std::uint32_t hotKey) {
  int matches = 0;
  for (const char* text : texts) matches += hotkeys::TextToHotKey(text, true) == hotKey;
  return matches;
}

}  // namespace

int main() {
#ifdef _WIN32
  hotkeys::KeyboardLayout& keyboard = hotkeys::Win32KeyboardLayout();
#else
  fake_layouts::FakeKeyboard keyboard{{{fake_layouts::kUs, fake_layouts::UsWindows()}},
                                      fake_layouts::kUs};
#endif
  const hotkeys::Module module(keyboard);

  // The unit of a name search: one key's name from the keyboard service
  // (MapVirtualKeyA + GetKeyNameTextA under Wine).
  bench::Run("baseline one key name (HotKeyToText of F5)",
             [] { bench::Keep(hotkeys::HotKeyToText(0x74, true)); });
  // The comparing part of a search: 248 texts compared ignoring case, by the
  // service's rule (CompareStringA under Wine).
  bench::Run("248 caseless text compares", [&] {
    static const std::vector<std::string> names(248, "KP_Delete");
    int same = 0;
    for (const std::string& n : names) same += keyboard.SameText(n, "Control+F5");
    bench::Keep(same);
  });
  bench::Run("TextToHotKey \"Ctrl+F5\"", [] { bench::Keep(hotkeys::TextToHotKey("Ctrl+F5", true)); });
  bench::Run("TextToHotKey \",\"", [] { bench::Keep(hotkeys::TextToHotKey(",", true)); });
  bench::Run("TextToHotKey \"Ctrl+Alt+S\" (letter)",
             [] { bench::Keep(hotkeys::TextToHotKey("Ctrl+Alt+S", true)); });
  bench::Run("TextToHotKey \"Ctrl+F5\" US mode",
             [] { bench::Keep(hotkeys::TextToHotKey("Ctrl+F5", false)); });

#ifdef _WIN32
  // A press delivered to the manager's window (SendMessageA WM_HOTKEY).
  hotkeys::THotKeyManager manager;
  const std::uint16_t id = manager.AddHotKey(0xC053);
  const LPARAM lParam = MAKELPARAM(MOD_CONTROL | MOD_ALT, 'S');
  int sink = 0;
  manager.OnHotKeyPressed = [&](std::uint32_t, std::uint16_t) { ++sink; };
  bench::Run("baseline hotkey press, empty handler",
             [&] { SendMessageA(manager.Handle(), WM_HOTKEY, id, lParam); });
  manager.OnHotKeyPressed = [&](std::uint32_t hotKey, std::uint16_t) {
    sink += Dispatch(kDefaults, hotKey);
  };
  bench::Run("hotkey press, eight conversions (defaults)",
             [&] { SendMessageA(manager.Handle(), WM_HOTKEY, id, lParam); });
  manager.OnHotKeyPressed = [&](std::uint32_t hotKey, std::uint16_t) {
    sink += Dispatch(kNamed, hotKey);
  };
  bench::Run("hotkey press, eight conversions (Ctrl+F1..F8)",
             [&] { SendMessageA(manager.Handle(), WM_HOTKEY, id, lParam); });
  bench::Keep(sink);
#else
  // No window natively: the event called directly.
  ui::Event<std::uint32_t, std::uint16_t> event = [](std::uint32_t, std::uint16_t) {};
  bench::Run("baseline hotkey press, empty handler", [&] { event(0xC053, 0xC000); });
  int sink = 0;
  event = [&](std::uint32_t hotKey, std::uint16_t) { sink += Dispatch(kDefaults, hotKey); };
  bench::Run("hotkey press, eight conversions (defaults)", [&] { event(0xC053, 0xC000); });
  event = [&](std::uint32_t hotKey, std::uint16_t) { sink += Dispatch(kNamed, hotKey); };
  bench::Run("hotkey press, eight conversions (Ctrl+F1..F8)", [&] { event(0xC053, 0xC000); });
  bench::Keep(sink);
#endif
  return 0;
}
