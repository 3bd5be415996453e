// Dormix end to end, as a user meets it: the first start's settings, tray
// icon, tip and menu, the options window's OK, the clock firing the lock
// panel once in its minute and running on after its pause, a start inside
// that minute, the notice's Cancel, shortcuts typed in the options window, a
// forced log-off, the exit and the next start. Every test starts from a
// registry without Dormix's settings and ends Dormix through its menu, so
// that its tray icon is gone for the next.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/DamagedSettings.h"
#include "support/Dormix.h"
#include "support/DormixTest.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

const std::string& kSettings = app::kSettingsKey;
const std::string& kRun = app::kRunKey;

// The eight default shortcuts, Ctrl+Alt with these keys.
constexpr std::string_view kShortcutKeys = "SLHBRMVP";

// 0 when this program can take Ctrl+Alt+`key` (and gives it back), else the error.
DWORD RegisterError(char key) {
  if (!RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, key)) return GetLastError();
  UnregisterHotKey(nullptr, 1);
  return 0;
}

// Dormix has registered its shortcuts again, the last (Protection Panel's)
// `last`; RegisterError meanwhile would take one from Dormix.
bool Registered(Process& dormix, UINT last) {
  return PumpUntil([&] { return GlobalFindAtomA(("HotKeyManagerHotKey" + std::to_string(last)).c_str()) != 0; }) &&
         SendMessageTimeoutA(WaitForWindow(dormix.Id(), "TForm1", 0), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
}

// The lock panel's empty field once typed keys reach it; null when they never do.
HWND PanelField(HWND panel) {
  const HWND field = FindControl(panel, "Edit", "");
  return PumpUntil([&] { return TakesKeys(field); }) ? field : nullptr;
}

class Program : public DormixTest {};

TEST_F(Program, TheFirstStartStoresEveryDefaultAndShowsOnlyTheTrayIconWithItsTipAndMenu) {
  const int buttons = TaskbarButtons();
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));

  for (const Setting& s : testing_support::kSettings)
    EXPECT_EQ(StoredText(kSettings + "\\" + s.section, s.value), s.defaultText) << s.section << "\\" << s.value;
  EXPECT_EQ(StoredText(kRun, "Dormix"), "\"" + DormixExe() + "\"");

  EXPECT_TRUE(PumpUntil(TrayIconShown));
  // Set by the clock's tick, which also puts the time into the menu's side bar.
  EXPECT_EQ(ShownTrayTip("Dormix is Disabled..."), "Dormix is Disabled...");
  Screenshot("first-start-tip");
  EXPECT_TRUE(WindowsOf(dormix.Id(), true).empty());
  EXPECT_EQ(TaskbarButtons(), buttons);
  const HWND menu = OpenTrayMenu();
  ASSERT_TRUE(menu);
  ShotOf(menu, "tray-menu");
  EXPECT_TRUE(CloseWithEsc(menu));
  EXPECT_TRUE(dormix.Running());
}

TEST_F(Program, OkInTheOptionsWindowStoresTheSettings) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  RECT shown{};
  WithOptions(dormix, [&shown](HWND options) {
    Click(options, "Autostart");
    ShotOf(options, "options-autostart-off");
    GetWindowRect(options, &shown);
  });
  // The stored default 800, 600 would put most of the window off this
  // 1024x768 screen: it is shown inside the work area instead.
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_TRUE(shown.left >= area.left && shown.right <= area.right && shown.bottom <= area.bottom);

  EXPECT_EQ(StoredText(kSettings + "\\Application", "AutoStart"), "0");
  EXPECT_EQ(StoredText(kRun, "Dormix"), "<missing>");
  // The close event's own values, typed, in the settings key itself.
  EXPECT_EQ(StoredDword(kSettings, "X"), static_cast<DWORD>(shown.left));
  EXPECT_EQ(StoredDword(kSettings, "Y"), static_cast<DWORD>(shown.top));
  EXPECT_EQ(StoredText(kSettings, "EndTime"), "00:00");
}

// The one clock case of the e2e tier that waits for the set minute to pass
// and for the clock's one-minute pause to end.
TEST_F(Program, TheArmedClockShowsThePanelAtTheSetMinuteOnceAndThePasswordClosesIt) {
  Store("Operation", "Code", "7");
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));

  WithOptions(dormix, [](HWND options) {
    for (const char* label : {"New Passsword:", "Re-enter Password:"}) {
      const HWND edit = ControlAfter(options, label);
      ASSERT_TRUE(edit) << label;
      SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("4711"));
    }
  });
  EXPECT_EQ(StoredPassword(), "4711");

  const std::string setTime = ArmClockForThisMinute(dormix);
  EXPECT_TRUE(PumpUntil([] { return StoredText(kSettings + "\\Operation", "Enabled") == "1"; }));

  const HWND panel = WaitForWindow(dormix.Id(), "TForm4");
  std::string shownAt;
  ASSERT_TRUE(PumpUntil([&] {
    shownAt = Now();
    return IsWindowVisible(panel) != FALSE;
  }, 20000)) << "set for " << setTime << ", now " << Now();
  EXPECT_EQ(shownAt, setTime);
  ShotOf(panel, "clock-panel");

  // The field reads every key once Enter after the wrong password has been
  // read: the panel stayed.
  const HWND field = PanelField(panel);
  ASSERT_TRUE(field) << "the panel has no keyboard";
  const Sent keys = TypeKeys("471\r1");
  EXPECT_TRUE(PumpUntil([&] { return ShownText(field) == "4711"; })) << ShownText(field) << " " << keys;
  EXPECT_TRUE(IsWindowVisible(panel)) << "closed without the password";
  const Sent enter = PressKey(VK_RETURN);
  EXPECT_TRUE(Hidden(panel)) << "the panel stayed " << enter;
  ShotOf(GetDesktopWindow(), "clock-panel-closed");

  // The negative: the panel stays closed for the rest of the set minute.
  PumpUntil([&] { return Now() != setTime || IsWindowVisible(panel); }, 65000);
  EXPECT_FALSE(IsWindowVisible(panel)) << "shown again at " << Now();
  // Disarmed during the pause, the clock shows it when it ticks again, a
  // minute after the firing.
  EXPECT_TRUE(ChooseFromTrayMenu(kClockSwitch));
  EXPECT_TRUE(TrayTipReads("Dormix is Disabled...", 80000)) << "the clock did not come back";
}

// Dormix started again within the minute in which its clock fired: its first
// tick, which sets the tip, is inside that minute and fires nothing.
TEST_F(Program, AStartInsideTheArmedSetMinuteDoesNotFireIt) {
  const std::string minute = MinuteWithRoom();
  Store("Operation", "Code", "7");
  Store("Operation", "Enabled", "1");
  Store("Operation", "EndTime", minute);
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_TRUE(TrayTipReads("Dormix is Active at " + minute));
  EXPECT_EQ(Now(), minute) << "the first tick came after the set minute";
  EXPECT_FALSE(IsWindowVisible(WaitForWindow(dormix.Id(), "TForm4", 0)));
}

// One real click on Cancel answers the notice, and the log-off does not
// happen: not forced, it would ask this program first, which refuses it.
TEST_F(Program, OneClickOnTheNoticesCancelClosesItAndTheLogOffDoesNotHappen) {
  Store("Operation", "ForceAction", "0");
  const SessionProbe probe(true);
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_TRUE(ChooseFromTrayMenu(kLogOff));
  const HWND notice = Shown(dormix, "TForm2");
  ASSERT_TRUE(notice);
  ShotOf(notice, "notice");
  const Sent click = ClickWithMouse(FindControl(notice, "Button", "Cancel"));
  EXPECT_TRUE(Hidden(notice)) << "the notice stayed " << click;
  // The answer is acted on at once.
  PumpUntil([] { return SessionProbe::queried_; }, 3000);
  EXPECT_FALSE(SessionProbe::queried_) << "the log-off was asked for";
}

// While the options window is open the hotkeys are free, so a field takes a
// combination in use; Ok puts the new set in effect at once.
TEST_F(Program, ShortcutsSwappedOrMovedInTheOptionsWindowWorkAtOnce) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  WithOptions(dormix, [](HWND options) {
    const std::vector<HWND> fields = ControlsOf(options, "msctls_hotkey32");  // Shut Down, Log Off, ...
    ASSERT_EQ(fields.size(), 8u);
    // From the first page to the fourth, Shortcuts.
    ASSERT_TRUE(PumpUntil([&] { return TakesKeys(options); })) << "the options window has no keyboard";
    const Sent tabs = PressKey(VK_TAB, {VK_CONTROL});  // what the hook saw of all three
    PressKey(VK_TAB, {VK_CONTROL});
    PressKey(VK_TAB, {VK_CONTROL});
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(fields[0]) != FALSE; })) << "not on the Shortcuts page " << tabs;
    const struct {
      HWND field;
      char key;
    } typed[] = {{fields[0], 'P'}, {fields[7], 'S'}, {fields[1], 'Q'}};
    for (const auto& t : typed) {
      const auto word = static_cast<LRESULT>(MAKEWORD(t.key, HOTKEYF_CONTROL | HOTKEYF_ALT));
      const Sent click = ClickWithMouse(t.field);
      ASSERT_TRUE(PumpUntil([&] { return TakesKeys(t.field); })) << "the field has no focus " << click;
      const Sent press = PressKey(t.key, {VK_CONTROL, VK_MENU});
      EXPECT_TRUE(PumpUntil([&] { return SendMessageA(t.field, HKM_GETHOTKEY, 0, 0) == word; }))
          << "the field holds " << SendMessageA(t.field, HKM_GETHOTKEY, 0, 0) << " " << press;
    }
    ShotOf(options, "shortcuts-typed");
  });
  ASSERT_TRUE(Registered(dormix, 0xC053)) << "Ctrl+Alt+S, now Protection Panel's";
  EXPECT_EQ(RegisterError('Q'), 1409u) << "registered when the window closed";
  EXPECT_EQ(RegisterError('L'), 0u) << "Log Off's old combination is free";

  const HWND panel = WaitForWindow(dormix.Id(), "TForm4");
  const Sent s = PressInX("ctrl+alt+s");
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(panel) != FALSE; })) << "no panel " << s;
  ShotOf(panel, "hotkey-panel");
  ASSERT_TRUE(PanelField(panel)) << "the panel has no keyboard";
  const Sent enter = PressKey(VK_RETURN);  // no password set: any key closes it
  EXPECT_TRUE(Hidden(panel)) << "the panel stayed " << enter;
  const HWND notice = WaitForWindow(dormix.Id(), "TForm2");
  const Sent p = PressInX("ctrl+alt+p");
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(notice) && ShownText(notice) == "Shut Down Operation..."; }))
      << "the notice reads " << ShownText(notice) << " " << p;
  Click(notice, "Cancel");
  EXPECT_TRUE(Hidden(notice));
}

// Run alone by tests/e2e/forced-session-end: the forced log-off ends this
// program too. The "Force Action" box is ticked by default.
TEST_F(Program, DISABLED_LogOffFromTheMenuWithForceActionEndsTheSession) {
  Store("Operation", "ShowMessage", "0");
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  ASSERT_EQ(StoredText(kSettings + "\\Operation", "ForceAction"), "1") << "stored from the box at start";
  // The locked panel refuses any end of the session that is not forced.
  // It takes the tray menu from the user: the log-off comes by its hotkey.
  EXPECT_TRUE(ChooseFromTrayMenu(kProtectionPanel));
  ASSERT_TRUE(Shown(dormix, "TForm4"));
  PressInX("ctrl+alt+l");
  AwaitForcedSessionEnd();
  ADD_FAILURE() << "still running 30 s after a forced log-off";
}

TEST_F(Program, ExitRemovesTheIconFreesTheHotkeysAndEndsWithCodeZero) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  ASSERT_TRUE(PumpUntil(TrayIconShown));
  for (const char key : kShortcutKeys)
    EXPECT_EQ(RegisterError(key), 1409u) << "Ctrl+Alt+" << key << " is Dormix's";
  EXPECT_TRUE(ChooseFromTrayMenu(kExit));
  EXPECT_EQ(dormix.WaitExit(), 0u);
  EXPECT_TRUE(PumpUntil([] { return !TrayIconShown(); }));
  ShotOf(GetDesktopWindow(), "exit");
  for (const char key : kShortcutKeys) EXPECT_EQ(RegisterError(key), 0u) << "Ctrl+Alt+" << key;
  EXPECT_TRUE(WaitSettled(Start())) << "the single-instance guards went with the first process";
}

}  // namespace
