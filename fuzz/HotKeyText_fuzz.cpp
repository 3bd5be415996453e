// Shortcut texts and words in both naming modes, against the fake keyboard
// layouts. The last byte picks the layouts, the mode, whether the US layout
// loads and whether the user switches layouts; the four before it give a
// word; the rest is a text.
//
// A text's word, written out and read again, gives the same word, unless the
// key's name is empty or is a modifier word in its exact case (refused as the
// key part). Any word's text that reads back names the same modifiers and a
// key of the same name, and its registration flags give back its modifier and
// key bits. No conversion leaves another layout active.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "Check.h"
#include "hotkeys/HotKeyManager.h"
#include "support/FakeKeyboardLayout.h"
#include "ui/Keys.h"

namespace {

using namespace hotkeys;
using namespace fake_layouts;

constexpr ShortCut kModifierBits = scShift | scCtrl | scAlt | scWin;

FakeKeyboard MakeKeyboard(unsigned choice) {
  switch (choice) {
    case 0: return FakeKeyboard({{kUs, UsWindows()}}, kUs);
    case 1: return FakeKeyboard({{kGerman, GermanStyle(false)}}, kGerman);
    case 2: return FakeKeyboard({{kGermanCaps, GermanStyle(true)}}, kGermanCaps);
    default: return FakeKeyboard({{kGerman, GermanStyle(false)}, {kUs, UsWindows()}}, kGerman);
  }
}

bool AsciiSameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// The words ParseKey refuses as a key, compared in exact case.
bool IsModifierWord(const std::string& name) {
  const ModuleState& s = State();
  for (const std::string& word : {std::string("Ctrl"), std::string("Alt"), std::string("Shift"),
                                  std::string("Win"), s.LocalCtrlName, s.LocalAltName,
                                  s.LocalShiftName, s.LocalWinName})
    if (name == word) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto choice = input.ConsumeIntegral<std::uint8_t>();
  const ShortCut anyWord = input.ConsumeIntegral<std::uint32_t>();
  const std::string text = input.ConsumeRemainingBytesAsString();
  const bool localized = choice & 4;

  FakeKeyboard keyboard = MakeKeyboard(choice & 3);
  if (choice & 8) keyboard.loadResult = Layout{};
  Module module(keyboard);
  // The user switches layouts after start-up; the modifier names stay.
  if ((choice & 16) && (choice & 3) == 3) keyboard.UserSwitchesTo(kUs);
  const Layout active = keyboard.Active();

  const ShortCut word = TextToHotKey(text, localized);
  FUZZ_CHECK((word & ~(kModifierBits | 0xFF)) == 0);
  FUZZ_CHECK(word == 0 || (word & 0xFF) != 0);
  const SplitShortCut flags = SplitHotKey(anyWord);
  FUZZ_CHECK(MakeHotKey(flags.Modifiers, flags.Key) == (anyWord & (kModifierBits | 0xFF)));
  if (word != 0) {
    const unsigned key = word & 0xFF;
    const std::string name = KeyNameText(key, ui::IsExtendedNavigationKey(key), localized);
    if (!name.empty() && !IsModifierWord(name))
      FUZZ_CHECK(TextToHotKey(HotKeyToText(word, localized), localized) == word);
  }

  const std::string written = HotKeyToText(anyWord, localized);
  const ShortCut reread = TextToHotKey(written, localized);
  if (reread != 0) {
    FUZZ_CHECK((reread & kModifierBits) == (anyWord & kModifierBits));
    FUZZ_CHECK(AsciiSameText(HotKeyToText(reread, localized), written));
  }
  FUZZ_CHECK(keyboard.Active() == active);
  return 0;
}
