// Dormix end to end, as a user meets it: the first start's settings and tray
// icon, the tray menu, the options window's OK, the clock firing the lock
// panel, the panel's hotkey, a damaged stored password, a forced log-off and
// the exit. Every test starts from a registry without Dormix's settings and
// ends Dormix through its menu, so that its tray icon is gone for the next.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "support/Dormix.h"
#include "support/Keys.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

// Where Wine's taskbar shows the first tray icon.
constexpr POINT kTrayIcon{1014, 758};

const std::string kSettings = "Software\\Velto Software\\Dormix";
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A value under HKEY_LOCAL_MACHINE; nothing when it is missing.
std::optional<app::RegistryValue> Stored(const std::string& key, const char* name) {
  const std::unique_ptr<app::RegistryKey> open = app::LocalMachine().Open(key, false);
  return open ? open->Read(name) : std::nullopt;
}

// A REG_SZ value's text; a value of another type reads as "<type N>".
std::string StoredText(const std::string& key, const char* name) {
  const std::optional<app::RegistryValue> value = Stored(key, name);
  if (!value) return "<missing>";
  if (value->type != REG_SZ) return "<type " + std::to_string(value->type) + ">";
  return value->data.substr(0, value->data.find('\0'));
}

std::optional<DWORD> StoredDword(const std::string& key, const char* name) {
  const std::optional<app::RegistryValue> value = Stored(key, name);
  if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) return std::nullopt;
  DWORD data;
  value->data.copy(reinterpret_cast<char*>(&data), sizeof data);
  return data;
}

void Store(const std::string& section, const char* name, const std::string& text) {
  app::LocalMachine().Open(kSettings + "\\" + section, true)->WriteString(name, text);
}

// The pointer is over the first tray icon, moved there from elsewhere so that
// the icon sees it arrive.
void PointAtTheTrayIcon() {
  SetCursorPos(0, 0);
  XDoTool("mousemove " + std::to_string(kTrayIcon.x) + " " + std::to_string(kTrayIcon.y));
  ASSERT_TRUE(PumpUntil([] {
    POINT now;
    return GetCursorPos(&now) && now.x == kTrayIcon.x && now.y == kTrayIcon.y;
  }));
}

// An empty place on the taskbar is one colour; an icon is not.
bool TrayIconShown() {
  const ui::WindowDC screen(nullptr);
  const COLORREF first = GetPixel(screen.get(), kTrayIcon.x - 6, kTrayIcon.y - 6);
  for (int y = kTrayIcon.y - 6; y <= kTrayIcon.y + 6; ++y)
    for (int x = kTrayIcon.x - 6; x <= kTrayIcon.x + 6; ++x)
      if (GetPixel(screen.get(), x, y) != first) return true;
  return false;
}

// The text of the tooltip shown over the tray icon, once it reads `expected`
// (the clock sets the tip on its first tick); what it read otherwise.
std::string TrayTip(const std::string& expected) {
  PointAtTheTrayIcon();
  std::string text = "<no tip shown>";
  PumpUntil([&] {
    for (HWND tip = FindWindowA("tooltips_class32", nullptr); tip;
         tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr))
      if (IsWindowVisible(tip)) text = WindowText(tip);
    return text == expected;
  });
  return text;
}

HWND Shown(Process& dormix, const char* className) {
  const HWND window = WaitForWindow(dormix.Id(), className);
  return PumpUntil([&] { return IsWindowVisible(window) != FALSE; }) ? window : nullptr;
}

bool Hidden(HWND window) {
  return PumpUntil([&] { return !IsWindowVisible(window); });
}

// A negative: nothing happens for a second and a half.
bool StaysHidden(HWND window) {
  PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 1500);
  return !IsWindowVisible(window);
}

// The control that follows a label of the options window, as designed.
HWND ControlAfter(HWND form, const char* label) {
  const HWND found = FindControl(form, "Static", label);
  return found ? GetWindow(found, GW_HWNDNEXT) : nullptr;
}

void Click(HWND form, const char* caption) {
  const HWND button = FindControl(form, "Button", caption);
  ASSERT_TRUE(button) << caption;
  SendMessageA(button, BM_CLICK, 0, 0);
}

std::string TimeText(int minuteOfDay) {
  char text[6];
  std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / 60 % 24, minuteOfDay % 60);
  return text;
}

std::string Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TimeText(now.wHour * 60 + now.wMinute);
}

// The eight default shortcuts, Ctrl+Alt with these keys.
constexpr std::string_view kShortcutKeys = "SLHBRMVP";

// 0 when this program can take Ctrl+Alt+`key` (and gives it back), else the error.
DWORD RegisterError(char key) {
  if (!RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, key)) return GetLastError();
  UnregisterHotKey(nullptr, 1);
  return 0;
}

class Program : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Velto Software");
    if (auto run = app::LocalMachine().Open(kRun, true)) run->DeleteValue("Dormix");
  }

  // Ends a Dormix still running as the user would, and waits for its icon to go.
  void TearDown() override {
    if (!dormix_ || !dormix_->Running()) return;
    ChooseMenuCommand(*dormix_, kExit);
    dormix_->WaitExit();
    PumpUntil([] { return !TrayIconShown(); });
  }

  Process& Start() {
    dormix_ = std::make_unique<Process>(DormixExe());
    return *dormix_;
  }

 private:
  std::unique_ptr<Process> dormix_;
};

TEST_F(Program, TheFirstStartStoresEveryDefaultAndShowsOnlyTheTrayIcon) {
  const int buttons = TaskbarButtons();
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));

  const struct {
    const char* section;
    const char* value;
    const char* text;
  } defaults[] = {
      {"Window", "RememberFormPosition", "1"},
      {"Window", "X", "800"},
      {"Window", "Y", "600"},
      {"Application", "AutoStart", "1"},
      {"Operation", "ForceAction", "1"},
      {"Operation", "Enabled", "0"},
      {"Operation", "Code", "1"},
      {"Operation", "EndTime", "00:00"},
      {"Operation", "Password", ""},
      {"Operation", "ShowMessage", "1"},
      {"Operation", "MessageTime", "15"},
      {"Operation", "PlaySound", "0"},
      {"Operation", "SoundFileName", ""},
      {"Shortcuts", "ShutDown", "Ctrl+Alt+S"},
      {"Shortcuts", "LogOff", "Ctrl+Alt+L"},
      {"Shortcuts", "Hibernate", "Ctrl+Alt+H"},
      {"Shortcuts", "StandBy", "Ctrl+Alt+B"},
      {"Shortcuts", "Restart", "Ctrl+Alt+R"},
      {"Shortcuts", "ShutDownMon", "Ctrl+Alt+M"},
      {"Shortcuts", "ScreenSaver", "Ctrl+Alt+V"},
      {"Shortcuts", "ProtectionPanel", "Ctrl+Alt+P"},
  };
  for (const auto& d : defaults)
    EXPECT_EQ(StoredText(kSettings + "\\" + d.section, d.value), d.text) << d.section << "\\" << d.value;
  EXPECT_EQ(StoredText(kRun, "Dormix"), DormixExe());

  EXPECT_TRUE(PumpUntil(TrayIconShown));
  EXPECT_EQ(TrayTip("Dormix is Disabled..."), "Dormix is Disabled...");
  Screenshot("first-start-tip");
  EXPECT_TRUE(WindowsOf(dormix.Id(), true).empty());
  EXPECT_EQ(TaskbarButtons(), buttons);
}

TEST_F(Program, ARightClickOnTheTrayIconOpensTheMenuAndEscClosesIt) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  ASSERT_TRUE(PumpUntil(TrayIconShown));
  PointAtTheTrayIcon();
  XDoTool("click 3");
  HWND menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
  Screenshot("tray-menu");
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Hidden(menu));
  EXPECT_TRUE(dormix.Running());
}

TEST_F(Program, OkInTheOptionsWindowStoresTheSettings) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  ChooseMenuCommand(dormix, kMain);
  const HWND form = Shown(dormix, "TForm1");
  ASSERT_TRUE(form);
  Click(form, "Autostart");
  Screenshot("options-autostart-off");
  Click(form, "Ok");
  EXPECT_TRUE(Hidden(form));

  EXPECT_EQ(StoredText(kSettings + "\\Application", "AutoStart"), "0");
  EXPECT_EQ(StoredText(kRun, "Dormix"), "<missing>");
  // The close event's own values, typed, in the settings key itself.
  EXPECT_EQ(StoredDword(kSettings, "X"), 800u);
  EXPECT_EQ(StoredDword(kSettings, "Y"), 600u);
  EXPECT_EQ(StoredText(kSettings, "EndTime"), "00:00");
}

// Waits for the set minute to come, then for it to pass.
TEST_F(Program, TheArmedClockShowsThePanelAtTheSetMinuteOnceAndThePasswordClosesIt) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  // Far enough ahead to start Dormix and arm its clock before the minute comes.
  const std::string setTime = TimeText(now.wHour * 60 + now.wMinute + (now.wSecond < 45 ? 1 : 2));
  Store("Operation", "Code", "7");
  Store("Operation", "EndTime", setTime);
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));

  ChooseMenuCommand(dormix, kMain);
  const HWND form = Shown(dormix, "TForm1");
  ASSERT_TRUE(form);
  for (const char* label : {"New Passsword:", "Re-enter Password:"}) {
    const HWND edit = ControlAfter(form, label);
    ASSERT_TRUE(edit) << label;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("4711"));
  }
  Click(form, "Ok");
  ASSERT_TRUE(Hidden(form));
  const std::string scrambled = StoredText(kSettings + "\\Operation", "Password");
  EXPECT_TRUE(scrambled != "" && scrambled != "4711") << scrambled;

  ChooseMenuCommand(dormix, kClockSwitch);
  EXPECT_TRUE(PumpUntil([] { return StoredText(kSettings + "\\Operation", "Enabled") == "1"; }));

  const HWND panel = WaitForWindow(dormix.Id(), "TForm4");
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(panel) != FALSE; }, 150000))
      << "set for " << setTime << ", now " << Now();
  EXPECT_EQ(Now(), setTime);
  Screenshot("clock-panel");

  TypeText("471\r");
  EXPECT_FALSE(StaysHidden(panel)) << "closed without the password";
  TypeText("1\r");
  EXPECT_TRUE(Hidden(panel));
  Screenshot("clock-panel-closed");

  // The negative: the panel stays closed for the rest of the set minute.
  PumpUntil([&] { return Now() != setTime || IsWindowVisible(panel); }, 65000);
  EXPECT_FALSE(IsWindowVisible(panel)) << "shown again at " << Now();
}

TEST_F(Program, CtrlAltPShowsThePanelExceptWhileTheOptionsWindowIsOpen) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  const HWND panel = WaitForWindow(dormix.Id(), "TForm4");
  ChooseMenuCommand(dormix, kMain);
  const HWND form = Shown(dormix, "TForm1");
  ASSERT_TRUE(form);
  PressKey('P', {VK_CONTROL, VK_MENU});
  EXPECT_TRUE(StaysHidden(panel)) << "the options window is open";
  Screenshot("hotkey-options-open");
  Click(form, "Cancel");
  ASSERT_TRUE(Hidden(form));

  PressKey('P', {VK_CONTROL, VK_MENU});
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(panel) != FALSE; }));
  Screenshot("hotkey-panel");
  PressKey(VK_RETURN);  // no password set: any key opens it
  EXPECT_TRUE(Hidden(panel));
}

TEST_F(Program, ADamagedStoredPasswordIsReportedAndTheOptionsWindowShown) {
  Store("Operation", "Password", "zz");
  Process& dormix = Start();
  const HWND box = WaitForWindow(dormix.Id(), "#32770");
  ASSERT_TRUE(box);
  EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), "'$zz' is not a valid integer value");
  Screenshot("damaged-password");
  Click(box, "OK");

  const HWND form = Shown(dormix, "TForm1");
  EXPECT_TRUE(form);
  Screenshot("damaged-password-options");
  EXPECT_EQ(StoredText(kSettings + "\\Operation", "Password"), "zz") << "the settings were written back";
}

// Run alone by tests/e2e/forced-session-end: the forced log-off ends this
// program too.
TEST_F(Program, DISABLED_LogOffFromTheMenuWithForceActionEndsTheSession) {
  Store("Operation", "ShowMessage", "0");
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  const HWND force = FindControl(WaitForWindow(dormix.Id(), "TForm1"), "Button", "Force Action");
  ASSERT_EQ(SendMessageA(force, BM_GETCHECK, 0, 0), BST_CHECKED);
  ChooseMenuCommand(dormix, kLogOff);
  AwaitForcedSessionEnd();
  ADD_FAILURE() << "still running 30 s after a forced log-off";
}

TEST_F(Program, ExitRemovesTheIconFreesTheHotkeysAndEndsWithCodeZero) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  ASSERT_TRUE(PumpUntil(TrayIconShown));
  for (const char key : kShortcutKeys)
    EXPECT_EQ(RegisterError(key), 1409u) << "Ctrl+Alt+" << key << " is Dormix's";
  ChooseMenuCommand(dormix, kExit);
  EXPECT_EQ(dormix.WaitExit(), 0u);
  EXPECT_TRUE(PumpUntil([] { return !TrayIconShown(); }));
  Screenshot("exit");
  for (const char key : kShortcutKeys) EXPECT_EQ(RegisterError(key), 0u) << "Ctrl+Alt+" << key;
}

}  // namespace
