// Global hotkeys under Wine: real key names for the default shortcuts, real
// registration, SendInput presses, a combination taken by another process,
// and the release of every atom.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "hotkeys/HotKeyManager_win32.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using namespace hotkeys;

struct Press {
  std::uint32_t hotKey;
  std::uint16_t index;
};

const std::pair<const char*, ShortCut> kDefaults[] = {
    {"Ctrl+Alt+S", 0xC053}, {"Ctrl+Alt+L", 0xC04C}, {"Ctrl+Alt+H", 0xC048},
    {"Ctrl+Alt+B", 0xC042}, {"Ctrl+Alt+R", 0xC052}, {"Ctrl+Alt+M", 0xC04D},
    {"Ctrl+Alt+V", 0xC056}, {"Ctrl+Alt+P", 0xC050},
};

ATOM FindAtom(ShortCut word) { return GlobalFindAtomA(("HotKeyManagerHotKey" + std::to_string(word)).c_str()); }

class HotKeys : public testing::Test {
 protected:
  static void SetUpTestSuite() { Startup(Win32KeyboardLayout()); }
  static void TearDownTestSuite() { Shutdown(); }

  // A manager whose presses are collected.
  struct Recorded {
    THotKeyManager manager;
    std::vector<Press> presses;
    Recorded() {
      manager.OnHotKeyPressed = [this](std::uint32_t hotKey, std::uint16_t index) {
        presses.push_back({hotKey, index});
      };
    }
  };
};

TEST_F(HotKeys, DefaultShortcutsRoundTripThroughWinesKeyNames) {
  // Wine names keys after their X keysyms: the Ctrl key is "Control".
  EXPECT_EQ(State().LocalShiftName, "Shift");
  EXPECT_EQ(State().LocalCtrlName, "Control");
  EXPECT_EQ(State().LocalAltName, "Alt");
  EXPECT_EQ(State().LocalWinName, "Win");
  EXPECT_FALSE(State().UsLayoutLoaded) << "Wine's one layout is the US layout";
  for (auto [text, word] : kDefaults) {
    EXPECT_EQ(TextToHotKey(text, true), word) << text;
    EXPECT_EQ(TextToHotKey(text, false), word) << text;
    const std::string local = HotKeyToText(word, true);
    const std::string us = HotKeyToText(word, false);
    std::printf("  %-11s 0x%04X  local \"%s\"  US \"%s\"\n", text, word, local.c_str(), us.c_str());
    EXPECT_EQ(local, "Control+Alt+" + std::string(1, text[9]));
    EXPECT_EQ(us, text);
    EXPECT_EQ(TextToHotKey(local, true), word) << local;
    EXPECT_EQ(TextToHotKey(local, false), word) << local;
  }
}

TEST_F(HotKeys, WinesNamesForOtherKeysReadBack) {
  struct Row {
    ShortCut word;
    const char* wine;  // Windows' US driver, for comparison, in the comment
  };
  const Row rows[] = {
      {0x4074, "Control+F5"},                 // Ctrl+F5
      {0xBC, ","},                            // ,
      {0xDE, "'"},                            // '
      {0xBD, "-"},                            // -
      {0x20, "space"},                        // Space
      {0x1B, "Escape"},                       // Esc
      {0x08, "BackSpace"},                    // Backspace
      {0x0D, "Return"},                       // Enter
      {0x14, "Caps_Lock"},                    // Caps Lock
      {0x4021, "Control+Prior"},              // Ctrl+Page Up
      {0x22, "Next"},                         // Page Down
      {0x23, "End"},
      {0x24, "Home"},
      {0x25, "Left"},
      {0x26, "Up"},
      {0x27, "Right"},
      {0x28, "Down"},
      {0x802D, "Alt+Insert"},
      {0x2E, "Delete"},
      {0x6E, "KP_Delete"},                    // Num Del
      {0x6B, "KP_Add"},                       // Num +
      {0x1E07B, "Control+Shift+Alt+Win+F12"},
      {0x10045, "Win+E"},
  };
  for (const Row& r : rows) {
    const std::string local = HotKeyToText(r.word, true);
    EXPECT_EQ(local, r.wine) << std::hex << r.word;
    EXPECT_EQ(TextToHotKey(local, true), r.word) << local;
    EXPECT_EQ(TextToHotKey(HotKeyToText(r.word, false), false), r.word) << local;
  }
  // The keypad's digit keys have no scan code under Wine, so no name; and
  // Wine gives the name "=" to VK 0x92 as well, the lowest code of that name.
  EXPECT_EQ(HotKeyToText(0x69, true), "");
  EXPECT_EQ(HotKeyToText(0xBB, true), "=");
  EXPECT_EQ(TextToHotKey("Ctrl+=", true), 0x4092u);
  EXPECT_EQ(TextToHotKey("Ctrl+F5", true), 0x4074u);
  EXPECT_EQ(TextToHotKey(",", true), 0xBCu);
  EXPECT_EQ(TextToHotKey("ctrl+prior", true), 0x4021u);
  EXPECT_EQ(TextToHotKey("control", true), 0x11u);
  EXPECT_EQ(TextToHotKey("Control", true), 0u);
  // US mode leaves the thread's layout as it was.
  const HKL before = GetKeyboardLayout(0);
  EXPECT_EQ(TextToHotKey("Ctrl+F5", false), 0x4074u);
  EXPECT_EQ(GetKeyboardLayout(0), before);
}

// Each press reports its own word and registration, whatever order the
// modifiers come in; the Win modifier is bit 16.
TEST_F(HotKeys, RegistrationsHaveDistinctIdentifiersAndEachPressReportsItsOwn) {
  Recorded r;
  std::set<std::uint16_t> ids;
  for (auto [text, word] : kDefaults) {
    const std::uint16_t id = r.manager.AddHotKey(TextToHotKey(text, true));
    EXPECT_NE(id, 0) << text;
    EXPECT_EQ(FindAtom(word), id) << text;
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), 8u);
  ASSERT_EQ(TextToHotKey("Win+Shift+F11", true), 0x1207Au);
  ASSERT_NE(r.manager.AddHotKey(0x1207A), 0);
  const struct {
    WORD vk;
    std::initializer_list<WORD> modifiers;
    ShortCut word;
  } presses[] = {
      {'P', {VK_CONTROL, VK_MENU}, 0xC050},
      {'L', {VK_MENU, VK_CONTROL}, 0xC04C},
      {VK_F11, {VK_LWIN, VK_SHIFT}, 0x1207A},
  };
  for (const auto& p : presses) {
    r.presses.clear();
    const testing_support::Sent press = testing_support::PressKey(p.vk, p.modifiers);
    ASSERT_TRUE(testing_support::PumpUntil([&] { return !r.presses.empty(); })) << std::hex << p.word << " " << press;
    EXPECT_EQ(r.presses[0].hotKey, p.word);
    EXPECT_EQ(r.presses[0].index, FindAtom(p.word));
  }
}

TEST_F(HotKeys, TheWindowProcedureRaisesTheEventOnlyForARegisteredWordInNormalForm) {
  Recorded r;
  const std::uint16_t id = r.manager.AddHotKey(0xC053);
  const std::uint16_t odd = r.manager.AddHotKey(0x4100 | 'Q');  // bit 8: never the normal form
  ASSERT_NE(id, 0);
  ASSERT_NE(odd, 0);
  struct Row {
    WPARAM id;
    WORD modifiers, key;
    bool raised;
    std::uint32_t hotKey;
  };
  const Row rows[] = {
      {id, MOD_CONTROL | MOD_ALT, 'S', true, 0xC053},
      {0x1234, MOD_ALT | MOD_CONTROL, 'S', true, 0xC053},  // Index is wParam as it comes
      {id, MOD_CONTROL, 'S', false, 0},
      {id, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'S', false, 0},
      {odd, MOD_CONTROL, 'Q', false, 0},
  };
  for (const Row& row : rows) {
    r.presses.clear();
    SendMessageA(r.manager.Handle(), WM_HOTKEY, row.id, MAKELPARAM(row.modifiers, row.key));
    ASSERT_EQ(r.presses.size(), row.raised ? 1u : 0u) << row.modifiers << " " << row.key;
    if (row.raised) {
      EXPECT_EQ(r.presses[0].hotKey, row.hotKey);
      EXPECT_EQ(r.presses[0].index, static_cast<std::uint16_t>(row.id));
    }
  }
  // With no callback set, the message goes to the default processing only.
  r.manager.OnHotKeyPressed = nullptr;
  EXPECT_EQ(SendMessageA(r.manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'S')), 0);
}

TEST_F(HotKeys, ASecondAddOfTheSameWordIsRefusedAndGivesBackItsAtomReference) {
  Recorded r;
  const std::uint16_t id = r.manager.AddHotKey(0xC053);
  ASSERT_NE(id, 0);
  EXPECT_EQ(r.manager.AddHotKey(0xC053), 0);
  EXPECT_EQ(r.manager.Count(), 1u);
  EXPECT_EQ(FindAtom(0xC053), id);
  r.manager.ClearHotKeys();
  EXPECT_EQ(FindAtom(0xC053), 0) << "one reference per registration, none left";
}

TEST_F(HotKeys, ACombinationTakenByAnotherProcessIsRefusedAndLeavesNoAtom) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string helper(path);
  helper = helper.substr(0, helper.find_last_of("\\/") + 1) + "hotkey_holder.exe";
  const ui::unique_handle ready(CreateEventA(nullptr, TRUE, FALSE, "DormixHotKeyHolderReady"));
  const ui::unique_handle release(CreateEventA(nullptr, TRUE, FALSE, "DormixHotKeyHolderRelease"));
  std::string command = "\"" + helper + "\" 3 0x4C DormixHotKeyHolderReady DormixHotKeyHolderRelease";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi))
      << helper;
  const ui::unique_handle process(pi.hProcess), thread(pi.hThread);
  const HANDLE waits[] = {ready.get(), process.get()};
  ASSERT_EQ(WaitForMultipleObjects(2, waits, FALSE, 30000), WAIT_OBJECT_0) << "holder did not register";

  Recorded r;
  EXPECT_EQ(r.manager.AddHotKey(0xC04C), 0);
  EXPECT_EQ(r.manager.Count(), 0u);
  EXPECT_EQ(FindAtom(0xC04C), 0);

  SetEvent(release.get());
  ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u);
  // Free again, it is ours for the asking.
  EXPECT_NE(r.manager.AddHotKey(0xC04C), 0);
}

TEST_F(HotKeys, ClearHotKeysUnregistersEveryHotKeyAndReleasesEveryAtom) {
  Recorded r;
  r.manager.ClearHotKeys();  // an empty list: nothing happens
  for (auto [text, word] : kDefaults) ASSERT_NE(r.manager.AddHotKey(word), 0) << text;
  r.manager.ClearHotKeys();
  EXPECT_EQ(r.manager.Count(), 0u);
  for (auto [text, word] : kDefaults) EXPECT_EQ(FindAtom(word), 0) << text;
  // Every combination is free again: another manager takes them all, and a
  // press reaches it and not the cleared one.
  Recorded probe;
  for (auto [text, word] : kDefaults) EXPECT_NE(probe.manager.AddHotKey(word), 0) << text;
  const testing_support::Sent press = testing_support::PressKey('S', {VK_CONTROL, VK_MENU});
  ASSERT_TRUE(testing_support::PumpUntil([&] { return !probe.presses.empty(); })) << press;
  EXPECT_TRUE(r.presses.empty());
}

// Freed by its owner, a manager unregisters its hotkeys and releases their atoms.
TEST_F(HotKeys, AManagerFreedByItsOwnerReleasesEveryHotKey) {
  ui::TComponent owner;
  THotKeyManager& manager = owner.Make<THotKeyManager>("HotKeyManager1");
  ASSERT_TRUE(manager.Handle());
  ASSERT_NE(manager.AddHotKey(0xC053), 0);
  ASSERT_NE(manager.AddHotKey(0x10045), 0);
  owner.Free(manager);
  EXPECT_EQ(FindAtom(0xC053), 0);
  EXPECT_EQ(FindAtom(0x10045), 0);
  THotKeyManager again;
  EXPECT_NE(again.AddHotKey(0xC053), 0);
  EXPECT_NE(again.AddHotKey(0x10045), 0);
}

}  // namespace
