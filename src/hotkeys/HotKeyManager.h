// HotKeyManager, the portable half: the Shortcut word, its text
// form in both naming modes, its registration flags, and the module's
// keyboard-layout state from its start-up routine to its shutdown routine.
// The component THotKeyManager is in HotKeyManager_win32.h.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/KeyboardLayout.h"

namespace hotkeys {

// Shortcut word: bits 0-7 the virtual-key code, then the modifier bits.
using ShortCut = std::uint32_t;
constexpr ShortCut scShift = 0x2000;
constexpr ShortCut scCtrl = 0x4000;
constexpr ShortCut scAlt = 0x8000;
constexpr ShortCut scWin = 0x10000;

// Registration modifier flags (RegisterHotKey, WM_HOTKEY's low lParam word):
// the values of MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_WIN.
constexpr std::uint16_t modAlt = 1;
constexpr std::uint16_t modControl = 2;
constexpr std::uint16_t modShift = 4;
constexpr std::uint16_t modWin = 8;

// Key plus the word's bit of each registration flag set in Modifiers.
ShortCut MakeHotKey(std::uint16_t modifiers, std::uint16_t key);

struct SplitShortCut {
  std::uint16_t Modifiers;
  std::uint16_t Key;
};
// Key is bits 0-7; Modifiers the registration flags of bits 13-16.
SplitShortCut SplitHotKey(ShortCut hotKey);

// Localized true: names of the layout active for the calling thread at the
// call, modifier names of the layout active at start-up. Localized false:
// names of the US layout (00000409), modifier words Ctrl, Shift, Alt, Win.
std::string HotKeyToText(ShortCut hotKey, bool localized);
// "Ctrl+", "Shift+", "Alt+", "Win+" for the bits set, in that order.
std::string ModifiersText(ShortCut hotKey, bool localized);
// The driver's name of a key; empty when it has no scan code.
std::string KeyNameText(unsigned key, bool extended, bool localized);
// The word of a text such as "Ctrl+Alt+S"; 0 for any text not understood.
// The text ends at its first NUL, as the 8-bit texts of the platform do.
ShortCut TextToHotKey(std::string_view text, bool localized);
// The lowest code 8-255 whose bare name equals `name` ignoring case; 0 if none
// (and for the empty name, which names no key).
unsigned FindKeyByName(std::string_view name, bool localized);

// Step 1 of TextToHotKey: the text's parts, untrimmed. A part ends at "+", CR,
// LF or the end; spaces and line breaks before a part are skipped, empty parts
// dropped; a quote opens a stretch, ended by the next quote of its kind, in
// which nothing ends the part; the quotes stay in the part.
std::vector<std::string> ShortcutTextParts(std::string_view text);
// Every character in A-Z; true for the empty text.
bool IsUpperCaseWord(std::string_view text);

// The module's keyboard-layout state, written only by Startup and Shutdown.
struct ModuleState {
  std::string LocalShiftName = "Shift";
  std::string LocalCtrlName = "Ctrl";
  std::string LocalAltName = "Alt";
  std::string LocalWinName = "Win";
  Layout UsLayout{};
  bool UsLayoutLoaded = false;
  // The service asked for key names; none before start-up, when every key
  // name is empty (single letters and digits still convert).
  KeyboardLayout* Keyboard = nullptr;
};
const ModuleState& State();

// The start-up routine: modifier names of the active layout, the US layout
// loaded with KLF_NOTELLSHELL. Run once, before the windows exist; `keyboard`
// must outlive the matching Shutdown.
void Startup(KeyboardLayout& keyboard);
// The shutdown routine: unloads the US layout if Startup loaded it and puts
// the state back as before start-up. Run once, after the windows are gone.
void Shutdown();

// Runs Startup on construction and Shutdown on destruction.
class Module {
 public:
  explicit Module(KeyboardLayout& keyboard) { Startup(keyboard); }
  ~Module() { Shutdown(); }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
};

}  // namespace hotkeys
