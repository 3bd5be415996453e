// Shortcut words and their text forms.
#include "hotkeys/HotKeyManager.h"

#include <algorithm>

#include "ui/Keys.h"

namespace hotkeys {

namespace {

ModuleState state;

constexpr unsigned kExtendedBit = 1u << 24;
constexpr unsigned kNoTellShell = 0x80;  // KLF_NOTELLSHELL
constexpr int kLayoutRoom = 100;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Trimmed of codes 0-32 at both ends.
std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool AsciiSameText(std::string_view a, std::string_view b) {
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

bool SameText(std::string_view a, std::string_view b) {
  return state.Keyboard ? state.Keyboard->SameText(a, b) : AsciiSameText(a, b);
}

// The registration flags of the modifier parts: every part but the last.
std::uint16_t ParseModifiers(const std::vector<std::string>& parts) {
  if (parts.size() < 2) return 0;
  std::uint16_t modifiers = 0;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const std::string_view part = Trim(parts[i]);
    if (SameText(part, "Shift") || SameText(part, state.LocalShiftName))
      modifiers |= modShift;
    else if (SameText(part, "Ctrl") || SameText(part, state.LocalCtrlName))
      modifiers |= modControl;
    else if (SameText(part, "Alt") || SameText(part, state.LocalAltName))
      modifiers |= modAlt;
    else if (SameText(part, "Win") || SameText(part, state.LocalWinName))
      modifiers |= modWin;
    else
      return 0;
  }
  return modifiers;
}

unsigned ParseKey(const std::vector<std::string>& parts, bool localized) {
  if (parts.empty()) return 0;
  const std::string_view part = Trim(parts.back());
  if (part.size() == 1) {
    char c = part[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<unsigned char>(c);
    return FindKeyByName(part, localized);
  }
  for (const std::string_view modifier :
       {std::string_view("Ctrl"), std::string_view(state.LocalCtrlName), std::string_view("Alt"),
        std::string_view(state.LocalAltName), std::string_view("Shift"),
        std::string_view(state.LocalShiftName), std::string_view("Win"),
        std::string_view(state.LocalWinName)})
    if (part == modifier) return 0;
  return FindKeyByName(part, localized);
}

}  // namespace

bool KeyboardLayout::SameText(std::string_view a, std::string_view b) { return AsciiSameText(a, b); }

const ModuleState& State() { return state; }

ShortCut MakeHotKey(std::uint16_t modifiers, std::uint16_t key) {
  ShortCut word = key;
  if (modifiers & modAlt) word += scAlt;
  if (modifiers & modControl) word += scCtrl;
  if (modifiers & modShift) word += scShift;
  if (modifiers & modWin) word += scWin;
  return word;
}

SplitShortCut SplitHotKey(ShortCut hotKey) {
  std::uint16_t modifiers = 0;
  if (hotKey & scWin) modifiers += modWin;
  if (hotKey & scAlt) modifiers += modAlt;
  if (hotKey & scCtrl) modifiers += modControl;
  if (hotKey & scShift) modifiers += modShift;
  return {modifiers, static_cast<std::uint16_t>(hotKey & 0xFF)};
}

std::string ModifiersText(ShortCut hotKey, bool localized) {
  std::string text;
  if (hotKey & scCtrl) text += (localized ? state.LocalCtrlName : "Ctrl") + "+";
  if (hotKey & scShift) text += (localized ? state.LocalShiftName : "Shift") + "+";
  if (hotKey & scAlt) text += (localized ? state.LocalAltName : "Alt") + "+";
  if (hotKey & scWin) text += (localized ? state.LocalWinName : "Win") + "+";
  return text;
}

std::string KeyNameText(unsigned key, bool extended, bool localized) {
  KeyboardLayout* keyboard = state.Keyboard;
  if (!keyboard) return {};
  const unsigned scan = keyboard->ScanCode(key, localized ? kActiveLayout : state.UsLayout);
  const std::uint32_t param = (scan << 16) | (extended ? kExtendedBit : 0);
  if (param == 0) return {};
  if (localized) return keyboard->KeyName(param);
  // The US layout is active for this one lookup only.
  const Layout previous = keyboard->Active();
  const bool switched = previous != state.UsLayout;
  if (switched) keyboard->Activate(state.UsLayout, 0);
  struct Restore {
    KeyboardLayout* keyboard;
    Layout previous;
    bool switched;
    ~Restore() {
      if (switched) keyboard->Activate(previous, 0);
    }
  } restore{keyboard, previous, switched};
  return keyboard->KeyName(param);
}

std::string HotKeyToText(ShortCut hotKey, bool localized) {
  const unsigned key = hotKey & 0xFF;
  return ModifiersText(hotKey, localized) + KeyNameText(key, ui::IsExtendedNavigationKey(key), localized);
}

unsigned FindKeyByName(std::string_view name, bool localized) {
  // Keys without a scan code have the empty name; it names none of them.
  if (name.empty()) return 0;
  for (unsigned code = 8; code <= 255; ++code)
    if (SameText(name, HotKeyToText(code, localized))) return code;
  return 0;
}

std::vector<std::string> ShortcutTextParts(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> parts;
  std::size_t tail = 0;
  const std::size_t end = text.size();
  while (tail < end) {
    while (tail < end && (text[tail] == ' ' || text[tail] == '\r' || text[tail] == '\n')) ++tail;
    const std::size_t head = tail;
    char quote = 0;
    for (; tail < end; ++tail) {
      const char c = text[tail];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '+' || c == '\r' || c == '\n') {
        break;
      }
    }
    if (tail > head) parts.emplace_back(text.substr(head, tail - head));
    ++tail;  // past the separator
  }
  return parts;
}

ShortCut TextToHotKey(std::string_view text, bool localized) {
  const std::vector<std::string> parts = ShortcutTextParts(text);
  const std::uint16_t modifiers = ParseModifiers(parts);
  if (modifiers == 0 && parts.size() > 1) return 0;
  const unsigned key = ParseKey(parts, localized);
  if (key == 0) return 0;
  return MakeHotKey(modifiers, static_cast<std::uint16_t>(key));
}

bool IsUpperCaseWord(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

void Startup(KeyboardLayout& keyboard) {
  state = ModuleState{};
  state.Keyboard = &keyboard;
  state.LocalShiftName = HotKeyToText(0x10, true);
  state.LocalCtrlName = HotKeyToText(0x11, true);
  state.LocalAltName = HotKeyToText(0x12, true);
  if (IsUpperCaseWord(state.LocalAltName)) state.LocalWinName = "WIN";
  const std::vector<Layout> userLayouts = keyboard.Layouts(kLayoutRoom);
  state.UsLayout = keyboard.Load("00000409", kNoTellShell);
  // A layout that failed to load was not loaded by the module either.
  state.UsLayoutLoaded =
      state.UsLayout != Layout{} &&
      std::find(userLayouts.begin(), userLayouts.end(), state.UsLayout) == userLayouts.end();
}

void Shutdown() {
  if (state.Keyboard && state.UsLayoutLoaded) state.Keyboard->Unload(state.UsLayout);
  state = ModuleState{};
}

}  // namespace hotkeys
