// Fake keyboard layouts for the HotKeyManager module: a US layout with the
// names Windows' own driver gives its keys, and German-style layouts whose
// modifier keys are named otherwise. Portable: used by the unit tests and the
// native benchmark.
#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/KeyboardLayout.h"

namespace fake_layouts {

using hotkeys::Layout;

// One layout: virtual key -> scan code, and (scan code, extended) -> name.
struct LayoutTable {
  std::map<unsigned, unsigned> scanOfKey;
  std::map<unsigned, std::string> names;  // key: scan | 0x100 when extended

  void Key(unsigned vk, unsigned scan) { scanOfKey[vk] = scan; }
  void Name(unsigned scan, std::string name, bool extended = false) {
    names[scan | (extended ? 0x100u : 0u)] = std::move(name);
  }
  // GetKeyNameText: the extended name when there is one, else the plain one.
  std::string NameOf(std::uint32_t param) const {
    const unsigned scan = (param >> 16) & 0xFF;
    const bool extended = (param >> 24) & 1;
    if (extended) {
      auto it = names.find(scan | 0x100);
      if (it != names.end()) return it->second;
    }
    auto it = names.find(scan);
    return it == names.end() ? std::string() : it->second;
  }
};

// The US English layout (kbdus) as Windows names its keys.
inline LayoutTable UsWindows() {
  LayoutTable t;
  const std::pair<unsigned, unsigned> keys[] = {
      {0x08, 0x0E}, {0x09, 0x0F}, {0x0C, 0x4C}, {0x0D, 0x1C}, {0x10, 0x2A}, {0x11, 0x1D},
      {0x12, 0x38}, {0x13, 0x45}, {0x14, 0x3A}, {0x1B, 0x01}, {0x20, 0x39}, {0x21, 0x49},
      {0x22, 0x51}, {0x23, 0x4F}, {0x24, 0x47}, {0x25, 0x4B}, {0x26, 0x48}, {0x27, 0x4D},
      {0x28, 0x50}, {0x2C, 0x54}, {0x2D, 0x52}, {0x2E, 0x53}, {0x5B, 0x5B}, {0x5C, 0x5C},
      {0x5D, 0x5D}, {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B},
      {0x65, 0x4C}, {0x66, 0x4D}, {0x67, 0x47}, {0x68, 0x48}, {0x69, 0x49}, {0x6A, 0x37},
      {0x6B, 0x4E}, {0x6D, 0x4A}, {0x6E, 0x53}, {0x6F, 0x35}, {0x7A, 0x57}, {0x7B, 0x58},
      {0x90, 0x45}, {0x91, 0x46}, {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x1D},
      {0xA4, 0x38}, {0xA5, 0x38}, {0xBA, 0x27}, {0xBB, 0x0D}, {0xBC, 0x33}, {0xBD, 0x0C},
      {0xBE, 0x34}, {0xBF, 0x35}, {0xC0, 0x29}, {0xDB, 0x1A}, {0xDC, 0x2B}, {0xDD, 0x1B},
      {0xDE, 0x28}, {0xE2, 0x56},
  };
  for (auto [vk, scan] : keys) t.Key(vk, scan);
  const char* digits = "1234567890";
  for (unsigned i = 0; i < 10; ++i) {
    t.Key(digits[i], 0x02 + i);
    t.Name(0x02 + i, std::string(1, digits[i]));
  }
  const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const unsigned rowStart[] = {0x10, 0x1E, 0x2C};
  for (int r = 0; r < 3; ++r)
    for (unsigned i = 0; rows[r][i]; ++i) {
      t.Key(rows[r][i], rowStart[r] + i);
      t.Name(rowStart[r] + i, std::string(1, rows[r][i]));
    }
  for (unsigned i = 0; i < 10; ++i) {
    t.Key(0x70 + i, 0x3B + i);
    t.Name(0x3B + i, "F" + std::to_string(i + 1));
  }
  t.Name(0x57, "F11");
  t.Name(0x58, "F12");
  const std::pair<unsigned, const char*> names[] = {
      {0x01, "Esc"}, {0x0C, "-"}, {0x0D, "="}, {0x0E, "Backspace"}, {0x0F, "Tab"}, {0x1A, "["},
      {0x1B, "]"}, {0x1C, "Enter"}, {0x1D, "Ctrl"}, {0x27, ";"}, {0x28, "'"}, {0x29, "`"},
      {0x2A, "Shift"}, {0x2B, "\\"}, {0x33, ","}, {0x34, "."}, {0x35, "/"}, {0x36, "Right Shift"},
      {0x37, "Num *"}, {0x38, "Alt"}, {0x39, "Space"}, {0x3A, "Caps Lock"}, {0x45, "Pause"},
      {0x46, "Scroll Lock"}, {0x47, "Num 7"}, {0x48, "Num 8"}, {0x49, "Num 9"}, {0x4A, "Num -"},
      {0x4B, "Num 4"}, {0x4C, "Num 5"}, {0x4D, "Num 6"}, {0x4E, "Num +"}, {0x4F, "Num 1"},
      {0x50, "Num 2"}, {0x51, "Num 3"}, {0x52, "Num 0"}, {0x53, "Num Del"}, {0x54, "Sys Req"},
  };
  for (auto [scan, name] : names) t.Name(scan, name);
  const std::pair<unsigned, const char*> extended[] = {
      {0x1C, "Num Enter"}, {0x1D, "Right Ctrl"}, {0x35, "Num /"}, {0x37, "Prnt Scrn"},
      {0x38, "Right Alt"}, {0x45, "Num Lock"}, {0x46, "Break"}, {0x47, "Home"}, {0x48, "Up"},
      {0x49, "Page Up"}, {0x4B, "Left"}, {0x4D, "Right"}, {0x4F, "End"}, {0x50, "Down"},
      {0x51, "Page Down"}, {0x52, "Insert"}, {0x53, "Delete"}, {0x5B, "Left Windows"},
      {0x5C, "Right Windows"}, {0x5D, "Application"},
  };
  for (auto [scan, name] : extended) t.Name(scan, name, true);
  return t;
}

// A German-style layout: Y and Z exchanged, other punctuation, and its own
// names for the modifier and navigation keys; `capitals` names them all in
// capitals, as the German driver does ("UMSCHALT", "STRG", "ALT").
inline LayoutTable GermanStyle(bool capitals, std::string altName = "") {
  LayoutTable t = UsWindows();
  t.Key('Y', 0x2C);
  t.Key('Z', 0x15);
  t.Name(0x2C, "Y");
  t.Name(0x15, "Z");
  t.Key(0xBA, 0x1A);  // VK_OEM_1 is the U-umlaut key
  t.Key(0xBB, 0x1B);  // VK_OEM_PLUS
  t.Key(0xBF, 0x2B);  // VK_OEM_2 is the # key
  t.Key(0xC0, 0x27);  // VK_OEM_3 is the O-umlaut key
  t.Key(0xDB, 0x0C);  // VK_OEM_4 is the sharp-s key
  t.Name(0x1A, "\xDC");  // U-umlaut, Windows-1252
  t.Name(0x1B, "+");
  t.Name(0x2B, "#");
  t.Name(0x27, "\xD6");
  t.Name(0x0C, "\xDF");
  auto name = [&](unsigned scan, const char* mixed, const char* upper, bool ext = false) {
    t.Name(scan, capitals ? upper : mixed, ext);
  };
  name(0x2A, "Umschalt", "UMSCHALT");
  name(0x1D, "Strg", "STRG");
  name(0x38, "Alt Gr", "ALT");
  name(0x36, "Umschalt rechts", "UMSCHALT RECHTS");
  name(0x49, "Bild auf", "BILD-AUF", true);
  name(0x51, "Bild ab", "BILD-AB", true);
  name(0x47, "Pos1", "POS1", true);
  name(0x52, "Einfg", "EINFG", true);
  name(0x53, "Entf", "ENTF", true);
  name(0x49, "Num 9", "9 (ZEHNERTASTATUR)");
  if (!altName.empty()) t.Name(0x38, altName);
  return t;
}

constexpr Layout kUs{0x04090409};
constexpr Layout kGerman{0x04070407};
constexpr Layout kGermanCaps{0xF0070407};

// A thread's keyboard state: the user's layouts, the active one, and the US
// layout that LoadKeyboardLayout may add. Every call is recorded.
class FakeKeyboard : public hotkeys::KeyboardLayout {
 public:
  FakeKeyboard(std::vector<std::pair<Layout, LayoutTable>> userLayouts, Layout active)
      : active_(active) {
    for (auto& [handle, table] : userLayouts) {
      user_.push_back(handle);
      tables_[handle] = std::move(table);
    }
  }

  // What LoadKeyboardLayoutA("00000409") answers when the US layout is not
  // among the user's: kUs by default, or null to make the load fail.
  Layout loadResult = kUs;

  unsigned ScanCode(unsigned key, Layout layout) override {
    const Layout asked = layout == hotkeys::kActiveLayout ? active_ : layout;
    scanLayouts.push_back(layout);
    auto table = tables_.find(asked);
    if (table == tables_.end()) return 0;
    auto it = table->second.scanOfKey.find(key);
    return it == table->second.scanOfKey.end() ? 0 : it->second;
  }
  std::string KeyName(std::uint32_t param) override {
    nameCalls.push_back({param, active_});
    auto table = tables_.find(active_);
    return table == tables_.end() ? std::string() : table->second.NameOf(param);
  }
  Layout Active() override { return active_; }
  std::vector<Layout> Layouts(int room) override {
    journal.push_back("list " + std::to_string(room));
    std::vector<Layout> list = user_;
    if (static_cast<int>(list.size()) > room) list.resize(room);
    return list;
  }
  Layout Load(const std::string& id, unsigned flags) override {
    journal.push_back("load " + id + " " + std::to_string(flags));
    if (id != "00000409") return Layout{};
    for (Layout l : user_)
      if (l == kUs) return kUs;
    if (loadResult != Layout{} && !tables_.count(loadResult)) tables_[loadResult] = UsWindows();
    return loadResult;
  }
  void Activate(Layout layout, unsigned flags) override {
    journal.push_back("activate " + Hex(layout) + " " + std::to_string(flags));
    if (tables_.count(layout)) active_ = layout;
  }
  void Unload(Layout layout) override {
    journal.push_back("unload " + Hex(layout));
    tables_.erase(layout);
  }

  // Switches the active layout without recording a call (the user switching).
  void UserSwitchesTo(Layout layout) { active_ = layout; }
  static std::string Hex(Layout layout) {
    char text[20];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(layout));
    return text;
  }

  struct NameCall {
    std::uint32_t param;
    Layout activeThen;
  };
  std::vector<std::string> journal;  // list, load, activate, unload
  std::vector<NameCall> nameCalls;
  std::vector<Layout> scanLayouts;

 private:
  Layout active_;
  std::vector<Layout> user_;
  std::map<Layout, LayoutTable> tables_;
};

}  // namespace fake_layouts
