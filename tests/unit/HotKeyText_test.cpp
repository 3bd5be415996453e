// Shortcut words and texts against fake keyboard layouts: a US
// layout with Windows' own key names, and German-style layouts whose modifier
// keys have other names, one of them all in capitals.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "hotkeys/HotKeyManager.h"
#include "support/FakeKeyboardLayout.h"

namespace {

using namespace hotkeys;
using fake_layouts::FakeKeyboard;
using fake_layouts::GermanStyle;
using fake_layouts::kGerman;
using fake_layouts::kGermanCaps;
using fake_layouts::kUs;
using fake_layouts::UsWindows;
using Journal = std::vector<std::string>;

std::string Show(const std::string& text) {
  std::string shown;
  for (unsigned char c : text) {
    if (c >= 32 && c < 127) shown += static_cast<char>(c);
    else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    }
  }
  return "\"" + shown + "\"";
}

// The module's Shift, Ctrl, Alt and Win words.
std::string ModifierNames() {
  return State().LocalShiftName + "," + State().LocalCtrlName + "," + State().LocalAltName + "," +
         State().LocalWinName;
}

// The module started under a fake keyboard, shut down at the end of the test.
class HotKeyText : public testing::Test {
 protected:
  void Start(FakeKeyboard& keyboard) {
    Startup(keyboard);
    started_ = true;
  }
  void TearDown() override {
    if (started_) Shutdown();
  }
  FakeKeyboard us{{{kUs, UsWindows()}}, kUs};
  FakeKeyboard german{{{kGerman, GermanStyle(false)}}, kGerman};
  FakeKeyboard germanCaps{{{kGermanCaps, GermanStyle(true)}}, kGermanCaps};

 private:
  bool started_ = false;
};

TEST(ShortcutWord, MakeAndSplitMapTheFourRegistrationFlags) {
  struct Row {
    std::uint16_t modifiers, key;
    ShortCut word;
  };
  const Row rows[] = {
      {0, 0, 0},
      {0, 0x53, 0x53},
      {modAlt, 0x41, 0x8041},
      {modControl | modAlt, 0x53, 0xC053},
      {modShift, 0x70, 0x2070},
      {modWin, 0x45, 0x10045},
      {modShift | modControl | modAlt | modWin, 0x7B, 0x1E07B},
      {modControl, 0, 0x4000},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(MakeHotKey(r.modifiers, r.key), r.word) << std::hex << r.word;
    const SplitShortCut split = SplitHotKey(r.word);
    EXPECT_EQ(split.Modifiers, r.modifiers) << std::hex << r.word;
    EXPECT_EQ(split.Key, r.key) << std::hex << r.word;
  }
  // MakeHotKey adds the key unchanged; SplitHotKey reads bits 0-7 and ignores 8-12 and 17-31.
  EXPECT_EQ(MakeHotKey(modControl, 0x153), 0x4153u);
  EXPECT_EQ(SplitHotKey(0xFFFE1F53).Key, 0x53);
  EXPECT_EQ(SplitHotKey(0xFFFE1F53).Modifiers, 0);
  EXPECT_EQ(SplitHotKey(0xFFFFFF53).Modifiers, modShift | modControl | modAlt | modWin);
}

TEST_F(HotKeyText, TheEightDefaultTextsAndTheirWords) {
  Start(us);
  const std::pair<const char*, ShortCut> defaults[] = {
      {"Ctrl+Alt+S", 49235}, {"Ctrl+Alt+L", 49228}, {"Ctrl+Alt+H", 49224},
      {"Ctrl+Alt+B", 49218}, {"Ctrl+Alt+R", 49234}, {"Ctrl+Alt+M", 49229},
      {"Ctrl+Alt+V", 49238}, {"Ctrl+Alt+P", 49232},
  };
  for (auto [text, word] : defaults) {
    EXPECT_EQ(TextToHotKey(text, true), word) << text;
    EXPECT_EQ(TextToHotKey(text, false), word) << text;
    EXPECT_EQ(HotKeyToText(word, true), text);
    EXPECT_EQ(HotKeyToText(word, false), text);
  }
}

// US mode under the US layout switches no layout.
TEST_F(HotKeyText, GrammarUnderTheUsLayout) {
  Start(us);
  us.journal.clear();
  struct Row {
    std::string text;
    ShortCut word;
  };
  const Row rows[] = {
      // case and spacing
      {"ctrl+alt+s", 0xC053},
      {"CTRL+ALT+S", 0xC053},
      {"Ctrl + Alt + S", 0xC053},
      {"  Ctrl+  Alt  +S  ", 0xC053},
      {"\tCtrl\t+Alt+S\t", 0xC053},
      {"\r\n Ctrl+Alt+S\r\n", 0xC053},
      {"Ctrl\r\nAlt\nS", 0xC053},
      {"Ctrl+Alt+S+", 0xC053},
      {"+Ctrl++Alt+ +S", 0xC053},
      {std::string("Ctrl+Alt+S\0+Shift", 17), 0xC053},
      // modifier order and repeats
      {"Alt+Ctrl+S", 0xC053},
      {"Ctrl+Ctrl+S", 0x4053},
      {"Ctrl+S", 0x4053},
      {"Shift+ctrl+SHIFT+s", 0x6053},
      {"Shift+Ctrl+Alt+Win+F12", 0x1E07B},
      {"Win+Alt+Ctrl+Shift+F12", 0x1E07B},
      {"Win+E", 0x10045},
      {"win+e", 0x10045},
      // single letters and digits need no lookup
      {"S", 0x53},
      {"s", 0x53},
      {"7", 0x37},
      {" z ", 0x5A},
      {"Alt+a", 0x8041},
      // named keys
      {"Ctrl+F5", 0x4074},
      {"ctrl+f5", 0x4074},
      {"F5", 0x74},
      {"Shift+F12", 0x207B},
      {",", 0xBC},
      {"Ctrl+,", 0x40BC},
      {"Ctrl+/", 0x406F},  // VK_DIVIDE and VK_OEM_2 are both "/": the lowest code wins
      {"'", 0xDE},
      {"Ctrl+'", 0x40DE},
      {"Space", 0x20},
      {"Esc", 0x1B},
      {"Backspace", 0x08},
      {"Right Shift", 0xA1},
      {"Caps Lock", 0x14},
      // the ten extended navigation keys, and the keypad keys sharing their scan codes
      {"Page Up", 0x21},
      {"page up", 0x21},
      {"Ctrl+Page Down", 0x4022},
      {"End", 0x23},
      {"Home", 0x24},
      {"Left", 0x25},
      {"Up", 0x26},
      {"Right", 0x27},
      {"Down", 0x28},
      {"Insert", 0x2D},
      {"Alt+Delete", 0x802E},
      {"Num 9", 0x69},
      {"Num 0", 0x60},
      {"Num Del", 0x6E},
      {"Num 5", 0x0C},  // VK_CLEAR shares the scan code of VK_NUMPAD5: the lowest code wins
      // a modifier alone is no key with exact case; another case is a key name
      {"Alt+ctrl", 0x8011},
      {"Ctrl+alt", 0x4012},
      {"Alt+shift", 0x8010},
      {"ctrl", 0x11},
      {"SHIFT", 0x10},
      // junk
      {"Foo+S", 0},
      {"Ctrl+Foo+S", 0},
      {"S+Ctrl", 0},
      {"Ctrl+S+Alt", 0},
      {"Ctrl+Alt", 0},
      {"Ctrl+", 0},
      {"Ctrl", 0},
      {"Alt", 0},
      {"Shift", 0},
      {"Win", 0},
      {"win", 0},  // no key is named so
      {"Ctrl+Alt+Foo", 0},
      {"Right Ctrl", 0},  // VK_RCONTROL is named as Ctrl: no key bears that name
      {"+", 0},
      {"++", 0},
      {"", 0},
      {"   ", 0},
      {"\r\n", 0},
      {"\t", 0},
      {"Ctrl+\t", 0},
      {"\tCtrl+\t+S", 0},
      {"Ctrl Alt S", 0},
      // quotes
      {"Ctrl+\"+\"", 0},
      {"\"Ctrl\"+S", 0},
      {"'Ctrl+Alt'+S", 0},
      {"Ctrl+'S'", 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(TextToHotKey(r.text, true), r.word) << Show(r.text);
    EXPECT_EQ(TextToHotKey(r.text, false), r.word) << Show(r.text) << " in US mode";
  }
  EXPECT_EQ(us.journal, Journal{});
}

TEST(ShortcutTextParts, SplitsAtPlusAndLineBreaksWithQuotedStretches) {
  struct Row {
    std::string text;
    std::vector<std::string> parts;
  };
  const Row rows[] = {
      {"", {}},
      {"+", {}},
      {"+ +\r\n+", {}},
      {"a+b", {"a", "b"}},
      {" a + b ", {"a ", "b "}},
      {"\r\n a\r\nb\n\nc", {"a", "b", "c"}},
      {"a++b+", {"a", "b"}},
      {"\ta+b\t", {"\ta", "b\t"}},
      {"a b+c", {"a b", "c"}},
      {"'a+b'+c", {"'a+b'", "c"}},
      {"\"a+'b\"+c", {"\"a+'b\"", "c"}},
      {"x'a\nb'y+c", {"x'a\nb'y", "c"}},
      {"'a+b", {"'a+b"}},
      {"''+'", {"''", "'"}},
      {std::string("a\0+b", 4), {"a"}},
  };
  for (const Row& r : rows) EXPECT_EQ(ShortcutTextParts(r.text), r.parts) << Show(r.text);
}

TEST_F(HotKeyText, WordsToTextUnderTheUsLayout) {
  Start(us);
  us.journal.clear();
  struct Row {
    ShortCut word;
    const char* text;
  };
  const Row rows[] = {
      {0x8041, "Alt+A"},
      {0x1E07B, "Ctrl+Shift+Alt+Win+F12"},
      {0x6053, "Ctrl+Shift+S"},
      {0x10045, "Win+E"},
      {0x4074, "Ctrl+F5"},
      {0x74, "F5"},
      {0xBC, ","},
      {0x21, "Page Up"},
      {0x22, "Page Down"},
      {0x23, "End"},
      {0x24, "Home"},
      {0x25, "Left"},
      {0x26, "Up"},
      {0x27, "Right"},
      {0x28, "Down"},
      {0x2D, "Insert"},
      {0x2E, "Delete"},
      {0x69, "Num 9"},
      {0x6E, "Num Del"},
      {0x6F, "/"},       // the keypad's divide key is not among the ten extended keys
      {0x90, "Pause"},   // nor is Num Lock
      {0xA3, "Ctrl"},    // nor the right-hand keys
      {0x11, "Ctrl"},
      {0x1F53, "S"},     // bits 8-12 ignored
      {0x4000, "Ctrl+"},  // no key: the prefix alone
      {0xC00A, "Ctrl+Alt+"},  // a key without a scan code has no name
      {0x0A, ""},
      {0, ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(HotKeyToText(r.word, true), r.text) << std::hex << r.word;
    EXPECT_EQ(HotKeyToText(r.word, false), r.text) << std::hex << r.word;
  }
  EXPECT_EQ(us.journal, Journal{});
  EXPECT_EQ(ModifiersText(0x1E07B, true), "Ctrl+Shift+Alt+Win+");
  EXPECT_EQ(ModifiersText(0x53, true), "");
}

TEST_F(HotKeyText, OnlyTheTenNavigationKeysAreAskedForWithTheExtendedBit) {
  Start(us);
  const std::set<unsigned> navigation = {0x21, 0x22, 0x23, 0x24, 0x25,
                                         0x26, 0x27, 0x28, 0x2D, 0x2E};
  for (unsigned code = 1; code <= 255; ++code) {
    us.nameCalls.clear();
    HotKeyToText(code, true);
    if (us.nameCalls.empty()) continue;  // no scan code, no name asked for
    ASSERT_EQ(us.nameCalls.size(), 1u);
    const std::uint32_t param = us.nameCalls[0].param;
    EXPECT_EQ((param >> 24) & 1, navigation.count(code)) << std::hex << code;
    EXPECT_EQ(param & 0xFEFFFFFF, us.ScanCode(code, kActiveLayout) << 16) << std::hex << code;
  }
}

TEST_F(HotKeyText, EveryNamedKeyOfTheUsLayoutReadsBackAsTheLowestCodeOfThatName) {
  Start(us);
  int named = 0;
  for (unsigned code = 8; code <= 255; ++code) {
    const std::string text = HotKeyToText(code, true);
    if (text.empty()) continue;
    ++named;
    unsigned expected = code;
    for (unsigned lower = 8; lower < code; ++lower)
      if (HotKeyToText(lower, true) == text) {
        expected = lower;
        break;
      }
    // A name that holds the separator ("Num +") or is a modifier word with its
    // exact case ("Ctrl") reads back as no key.
    if (text.find('+') != std::string::npos || text == "Ctrl" || text == "Shift" || text == "Alt")
      expected = 0;
    EXPECT_EQ(TextToHotKey(text, true), expected) << text;
    EXPECT_EQ(TextToHotKey("Ctrl+Shift+" + text, true), expected ? 0x6000 + expected : 0) << text;
  }
  EXPECT_GT(named, 100);
}

// Local mode switches no layout and asks the active one for scan codes.
TEST_F(HotKeyText, LocalModifierNamesComeFromTheLayoutActiveAtStartUp) {
  Start(german);
  EXPECT_EQ(ModifierNames(), "Umschalt,Strg,Alt Gr,Win");
  german.journal.clear();
  german.scanLayouts.clear();
  struct Row {
    const char* text;
    ShortCut word;
  };
  const Row rows[] = {
      {"Strg+Alt Gr+S", 0xC053},
      {"strg+alt gr+s", 0xC053},
      {"Alt Gr+Strg+S", 0xC053},
      {"Umschalt+Strg+Alt Gr+Win+F12", 0x1E07B},
      {"Ctrl+Alt+S", 0xC053},  // the English words are accepted in local mode too
      {"Strg+Alt+S", 0xC053},
      {"Strg+Ctrl+Y", 0x4059},
      {"Strg", 0},
      {"Alt Gr", 0},
      {"Umschalt", 0},
      {"Ctrl", 0},
      {"strg", 0x11},
      {"Alt Gr+strg", 0x8011},
      {"Bild auf", 0x21},
      {"Entf", 0x2E},
      {"Num 9", 0x69},
      {"Page Up", 0},  // a US name: not in local mode under this layout
      {"#", 0xBF},
      {"Strg+\xDC", 0x40BA},
      {"Foo+S", 0},
  };
  for (const Row& r : rows) EXPECT_EQ(TextToHotKey(r.text, true), r.word) << Show(r.text);
  EXPECT_EQ(german.journal, Journal{});
  for (hotkeys::Layout l : german.scanLayouts) EXPECT_EQ(l, kActiveLayout);
  // US mode: US names, but the local modifier names are still accepted.
  EXPECT_EQ(TextToHotKey("Strg+Page Up", false), 0x4021u);
  EXPECT_EQ(TextToHotKey("Bild auf", false), 0u);
  EXPECT_EQ(TextToHotKey("Umschalt+;", false), 0x20BAu);

  EXPECT_EQ(HotKeyToText(0x1E07B, true), "Strg+Umschalt+Alt Gr+Win+F12");
  EXPECT_EQ(HotKeyToText(0x1E07B, false), "Ctrl+Shift+Alt+Win+F12");
  EXPECT_EQ(HotKeyToText(0xC021, true), "Strg+Alt Gr+Bild auf");
  EXPECT_EQ(HotKeyToText(0xC021, false), "Ctrl+Alt+Page Up");
  EXPECT_EQ(HotKeyToText(0x10045, true), "Win+E");
}

TEST_F(HotKeyText, AnAllCapitalsAltNameMakesTheWinWordCapitals) {
  Start(germanCaps);
  EXPECT_EQ(ModifierNames(), "UMSCHALT,STRG,ALT,WIN");
  EXPECT_EQ(HotKeyToText(0x10045, true), "WIN+E");
  EXPECT_EQ(HotKeyToText(0x10045, false), "Win+E");
  EXPECT_EQ(HotKeyToText(0xC053, true), "STRG+ALT+S");
  EXPECT_EQ(TextToHotKey("WIN+E", true), 0x10045u);
  EXPECT_EQ(TextToHotKey("Win+E", true), 0x10045u);
  EXPECT_EQ(TextToHotKey("STRG+UMSCHALT+BILD-AUF", true), 0x6021u);
  EXPECT_EQ(TextToHotKey("WIN", true), 0u);
  EXPECT_EQ(TextToHotKey("ALT", true), 0u);
  EXPECT_EQ(TextToHotKey("Alt", true), 0u);
  EXPECT_EQ(TextToHotKey("alt", true), 0x12u);
}

TEST_F(HotKeyText, TheWinWordIsCapitalsOnlyWhenEveryCharacterOfTheAltNameIsACapital) {
  struct Row {
    const char* altName;
    const char* winName;
  };
  const Row rows[] = {{"ALT", "WIN"}, {"ALT GR", "Win"}, {"ALT2", "Win"}, {"Alt", "Win"},
                      {"\xC4LT", "Win"}};
  for (const Row& r : rows) {
    FakeKeyboard keyboard{{{kGermanCaps, GermanStyle(true, r.altName)}}, kGermanCaps};
    Startup(keyboard);
    EXPECT_EQ(State().LocalAltName, r.altName);
    EXPECT_EQ(State().LocalWinName, r.winName) << r.altName;
    Shutdown();
  }
  EXPECT_TRUE(IsUpperCaseWord(""));
  EXPECT_TRUE(IsUpperCaseWord("AZ"));
  EXPECT_FALSE(IsUpperCaseWord("A Z"));
  EXPECT_FALSE(IsUpperCaseWord("Az"));
  EXPECT_FALSE(IsUpperCaseWord("@["));
}

TEST_F(HotKeyText, ModifierNamesStayThoseOfStartUpWhileKeyNamesFollowTheActiveLayout) {
  FakeKeyboard keyboard{{{kGerman, GermanStyle(false)}, {kUs, UsWindows()}}, kGerman};
  Start(keyboard);
  keyboard.UserSwitchesTo(kUs);
  EXPECT_EQ(HotKeyToText(0xC021, true), "Strg+Alt Gr+Page Up");
  EXPECT_EQ(TextToHotKey("Strg+Page Up", true), 0x4021u);
  EXPECT_EQ(TextToHotKey("Strg+Bild auf", true), 0u);
}

TEST(HotKeyStartUp, LoadsTheUsLayoutAndShutdownUnloadsItOnlyWhenTheModuleLoadedIt) {
  const Journal listAndLoad = {"list 100", "load 00000409 128"};
  const struct {
    std::vector<std::pair<hotkeys::Layout, fake_layouts::LayoutTable>> layouts;  // the first active
    hotkeys::Layout loadResult, usLayout;
    bool loaded;
    Journal journal;
  } cases[] = {
      {{{kGerman, GermanStyle(false)}}, kUs, kUs, true, {"list 100", "load 00000409 128", "unload 04090409"}},
      // US among the user's layouts, though not the active one.
      {{{kGerman, GermanStyle(false)}, {kUs, UsWindows()}}, kUs, kUs, false, listAndLoad},
      {{{kUs, UsWindows()}}, kUs, kUs, false, listAndLoad},
      // A failed load: nothing to unload.
      {{{kGerman, GermanStyle(false)}}, {}, {}, false, listAndLoad},
  };
  for (const auto& c : cases) {
    FakeKeyboard keyboard{c.layouts, c.layouts[0].first};
    keyboard.loadResult = c.loadResult;
    Startup(keyboard);
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    EXPECT_EQ(State().UsLayout, c.usLayout);
    EXPECT_EQ(State().UsLayoutLoaded, c.loaded);
    Shutdown();
    EXPECT_EQ(keyboard.journal, c.journal);
  }
  // Shutdown puts the state back as before start-up.
  EXPECT_EQ(ModifierNames(), "Shift,Ctrl,Alt,Win");
  EXPECT_EQ(State().Keyboard, nullptr);
}

TEST_F(HotKeyText, UsModeActivatesTheUsLayoutForEachNameAndAlwaysRestoresTheUsersLayout) {
  Start(german);
  german.journal.clear();
  german.nameCalls.clear();
  // "Page Up" is searched over codes 8-255 by its US name.
  EXPECT_EQ(TextToHotKey("Ctrl+Page Up", false), 0x4021u);
  EXPECT_EQ(german.Active(), kGerman);
  ASSERT_FALSE(german.nameCalls.empty());
  for (const auto& call : german.nameCalls) EXPECT_EQ(call.activeThen, kUs);
  ASSERT_EQ(german.journal.size(), 2 * german.nameCalls.size());
  for (std::size_t i = 0; i < german.journal.size(); i += 2) {
    EXPECT_EQ(german.journal[i], "activate 04090409 0");
    EXPECT_EQ(german.journal[i + 1], "activate 04070407 0");
  }
  // The scan code comes from the US layout: VK_OEM_1 is ";" there, "U-umlaut" here.
  german.scanLayouts.clear();
  EXPECT_EQ(HotKeyToText(0xBA, false), ";");
  EXPECT_EQ(german.scanLayouts, std::vector<hotkeys::Layout>{kUs});
  EXPECT_EQ(HotKeyToText(0xBA, true), "\xDC");
  EXPECT_EQ(german.Active(), kGerman);
  // A key without a scan code asks for no name and switches nothing.
  german.journal.clear();
  EXPECT_EQ(HotKeyToText(0x0A, false), "");
  EXPECT_TRUE(german.journal.empty());
  // A full search that finds nothing: 248 codes, the user's layout back each time.
  german.nameCalls.clear();
  EXPECT_EQ(TextToHotKey("Bild auf", false), 0u);
  EXPECT_EQ(german.Active(), kGerman);
  for (const auto& call : german.nameCalls) EXPECT_EQ(call.activeThen, kUs);
}

TEST(HotKeyTextBeforeStartUp, LettersAndDigitsConvertAndKeysHaveNoNames) {
  EXPECT_EQ(State().Keyboard, nullptr);
  EXPECT_EQ(TextToHotKey("Ctrl+Alt+S", true), 0xC053u);
  EXPECT_EQ(TextToHotKey("ctrl+7", false), 0x4037u);
  EXPECT_EQ(TextToHotKey("Ctrl+F5", true), 0u);
  EXPECT_EQ(HotKeyToText(0xC053, true), "Ctrl+Alt+");
}

TEST(HotKeyModule, RunsStartUpAndShutdownOnce) {
  FakeKeyboard keyboard{{{kGerman, GermanStyle(false)}}, kGerman};
  {
    const Module module(keyboard);
    EXPECT_EQ(State().Keyboard, &keyboard);
    EXPECT_EQ(State().LocalCtrlName, "Strg");
  }
  EXPECT_EQ(State().Keyboard, nullptr);
  EXPECT_EQ(keyboard.journal.back(), "unload 04090409");
}

}  // namespace
