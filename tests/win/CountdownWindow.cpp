// The "Countdown..." window: each "when" with a good and a bad entry, what it
// shows and starts; a quiet wait held back by busy seconds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "countdown/CountdownWindow.h"
#include "support/Dormix.h"
#include "support/FakeMachine.h"
#include "support/Forms.h"
#include "support/PowerFakes.h"

namespace {
using countdown::CountdownWindow;

// The pending countdown's caption, as the tray menu's cancel item names it.
std::string Pending() {
  return Form1->CancelCountdown1->visible ? Form1->CancelCountdown1->caption.substr(7) : "none";
}

// The window's time left in seconds, -1 while it waits for a program; the
// name of its control that has the focus.
int LeftSeconds() {
  int h, m, s;
  const char* left = CountdownWindow->LeftLabel->Caption().c_str();
  return std::sscanf(left, "Time left: %d:%d:%d", &h, &m, &s) == 3 ? h * 3600 + m * 60 + s : -1;
}
std::string Focused() {
  const ui::TControl* focused = ui::TControl::FromHandle(GetFocus());
  return focused ? focused->Name() : "<none>";
}

// Opened from its item: Shut Down Monitor, the entry in `when`'s row, Enter.
void Start(countdown::When when, const std::string& entry) {
  Form1->Countdown1Click(*Form1->Countdown1);
  ASSERT_TRUE(CountdownWindow && CountdownWindow->Visible());
  SendMessageA(CountdownWindow->ActionBox->Handle(), CB_SETCURSEL, 5, 0);
  CountdownWindow->WhenButtons[when]->SetChecked(true);
  CountdownWindow->WhenEdits[when]->SetText(entry);
  CountdownWindow->WhenEdits[when]->SetFocus();
  ASSERT_TRUE(testing_support::TakesKeys(*CountdownWindow->WhenEdits[when]));
  ASSERT_TRUE(testing_support::Press(VK_RETURN));
}

using CountdownWindowTest = testing_support::FormsTest;

// The last choices, a value of the settings key, come back at the window's
// first opening; a Start keeps the new ones there. (First in the suite: the
// window is made at its first opening.)
TEST_F(CountdownWindowTest, TheFirstOpeningTakesTheLastChoicesAndAStartKeepsTheNew) {
  app::LocalMachine().Open(app::kSettingsKey, true)->WriteString("Countdown", "2\n2\n\n\n45m\n\n");
  Form1->Countdown1Click(*Form1->Countdown1);
  ASSERT_TRUE(CountdownWindow && CountdownWindow->Visible());
  char action[32] = {};
  GetWindowTextA(CountdownWindow->ActionBox->Handle(), action, sizeof action);
  EXPECT_STREQ(action, "Hibernate");
  EXPECT_TRUE(CountdownWindow->WhenButtons[countdown::kIdle]->Checked());
  EXPECT_EQ(CountdownWindow->WhenEdits[countdown::kIdle]->Text(), "45m");
  Start(countdown::kIdle, "50m");
  EXPECT_EQ(Pending(), "Shut Down Monitor after 50 min idle");
  EXPECT_EQ(testing_support::StoredText(app::kSettingsKey, "Countdown"), "5\n2\n\n\n50m\n\n\n\n\n\n0");
  CountdownWindow->CancelButton->Click();
  ASSERT_TRUE(testing_support::Press(VK_ESCAPE));
}

TEST_F(CountdownWindowTest, EachChoiceStartsWhatTheCommandLineWouldOrSaysWhatIsWrong) {
  char self[MAX_PATH];
  const std::string program = strrchr((GetModuleFileNameA(nullptr, self, sizeof self), self), '\\') + 1;
  const std::string wide = "render üüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüü";
  const struct {
    countdown::When when;
    std::string entry, shown, pending;  // the window's line; the start of the countdown's caption
    int left = -1, postponed = -1;  // time left as started (-1: any), after Postpone (0: 10 min more; a wait: its longer span)
  } cases[] = {
      {countdown::kIn, "45x", "Bad duration '45x': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes.", "none"},
      {countdown::kIn, "1h30m", "", "Shut Down Monitor ", 5400, 0},
      {countdown::kAt, "25:00", "Bad time '25:00': use HH:MM, 00:00 to 23:59.", "none"},
      {countdown::kAt, "23:30", "", "Shut Down Monitor ", -1, 0},
      {countdown::kIdle, "", "Bad duration '': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes.", "none"},
      {countdown::kIdle, "30m", "", "Shut Down Monitor after 30 min idle", 1800, 1800},
      {countdown::kAfter, "no such", "No program 'no such' is running.", "none"},
      {countdown::kAfter, program, "Dormix cannot wait for itself to end.", "none"},
      {countdown::kAfter, std::to_string(GetCurrentProcessId()), "Dormix cannot wait for itself to end.", "none"},
      {countdown::kAfter, wide, "No program '" + wide.substr(0, wide.size() - 2 * 10) + "...' is running.", "none"},
      {countdown::kAfter, "explorer", "", "Shut Down Monitor when explorer ends"},
      {countdown::kQuiet, "0m", "Duration '0m' is zero.", "none"},
      {countdown::kQuiet, "10m", "", "Shut Down Monitor when quiet for 10 min", 600, 600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    Start(c.when, c.entry);
    EXPECT_EQ(CountdownWindow->Message->Caption(), c.shown);
    if (c.when == countdown::kIn) testing_support::Screenshot("countdown-window-" + c.entry);
    const std::string pending = Pending();
    EXPECT_TRUE(pending.starts_with(c.pending) && CountdownWindow->StartButton->Visible() == !c.shown.empty()) << pending;
    EXPECT_EQ(Focused(), c.shown.empty() ? "CloseButton" : "WhenEdit" + std::to_string(c.when + 1));
    if (!c.shown.empty()) {
      // Wrapped above the buttons, which the window holds: the long one in lines.
      RECT client;
      GetClientRect(CountdownWindow->Handle(), &client);
      const RECT label = CountdownWindow->Message->Bounds(), start = CountdownWindow->StartButton->Bounds();
      EXPECT_TRUE(label.bottom <= start.top && start.bottom <= client.bottom && (c.entry != wide || label.bottom - label.top > 30));
      if (c.entry == wide) testing_support::Screenshot("countdown-window-long-error");
      // A change to what it is about clears it.
      CountdownWindow->WhenEdits[c.when]->SetText(c.entry + "x");
      EXPECT_EQ(CountdownWindow->Message->Caption(), "");
    } else {
      // The time left, and Postpone's 10 minutes more.
      const int left = LeftSeconds();
      EXPECT_TRUE(c.when == countdown::kAfter ? left == -1 : left >= 0 && (c.left < 0 || std::abs(left - c.left) <= 3)) << left;
      SendMessageA(CountdownWindow->PostponeButton->Handle(), BM_CLICK, 0, 0);
      EXPECT_NEAR(LeftSeconds(), left < 0 ? -1 : c.postponed ? c.postponed : left + 600, 3);
      // The window shows it, and a quiet wait's readings.
      const std::string shown = CountdownWindow->PendingLabel->Caption();
      EXPECT_TRUE(shown.starts_with(Pending()) && (c.when != countdown::kQuiet || shown.find(": processor ") != shown.npos))
          << shown;
      SendMessageA(CountdownWindow->CancelButton->Handle(), BM_CLICK, 0, 0);
      EXPECT_EQ(Focused(), "ActionBox") << "after Cancel";
    }
    ASSERT_TRUE(testing_support::Press(VK_ESCAPE));
    EXPECT_FALSE(CountdownWindow->Visible() || Pending() != "none") << "cancelled, and Esc closes it";
  }
}

// Tab walks the window as it reads, the choices one stop; the arrow keys
// move through the choices and check them; Enter on one starts.
TEST_F(CountdownWindowTest, TheKeysWalkTheWindowAsItLooks) {
  using testing_support::Press;
  Form1->Countdown1Click(*Form1->Countdown1);
  CountdownWindow->WhenButtons[countdown::kIn]->SetChecked(true);
  CountdownWindow->ActionBox->SetFocus();
  ASSERT_TRUE(testing_support::TakesKeys(*CountdownWindow->ActionBox));
  std::vector<std::string> seen;
  for (int i = 0; i < 11; ++i) seen.push_back(Press(VK_TAB) ? Focused() : "<lost>");
  EXPECT_EQ(seen, (std::vector<std::string>{"WhenButton1", "WhenEdit1", "WhenEdit2", "DayBox", "WhenEdit3", "WhenEdit4", "ProgramBox",
                                            "WhenEdit5", "StartButton", "CloseButton", "ActionBox"}));
  CountdownWindow->WhenButtons[countdown::kIn]->SetFocus();
  seen.clear();
  for (const WORD key : {VK_DOWN, VK_DOWN, VK_UP, VK_UP, VK_UP}) {
    const bool pressed = Press(key);
    const auto* choice = dynamic_cast<const ui::TRadioButton*>(ui::TControl::FromHandle(GetFocus()));
    seen.push_back(pressed && choice && choice->Checked() ? Focused() : "<unchecked>");
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"WhenButton2", "WhenButton3", "WhenButton2", "WhenButton1", "WhenButton5"}));
  CountdownWindow->WhenEdits[countdown::kQuiet]->SetText("45x");
  ASSERT_TRUE(Press(VK_RETURN));
  EXPECT_EQ(CountdownWindow->Message->Caption(), "Bad duration '45x': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes.");
  ASSERT_TRUE(Press(VK_ESCAPE));
}

// "At" on a date from the day's box; a program as the action, refused by a
// Dormix that runs elevated (as Wine runs it) with the command line's words.
TEST_F(CountdownWindowTest, TheDaysBoxNamesTheDayAndTheRunActionIsServedAsTheCommandLines) {
  Form1->Countdown1Click(*Form1->Countdown1);
  ASSERT_TRUE(CountdownWindow && CountdownWindow->Visible());
  const HWND days = CountdownWindow->DayBox->Handle();
  char third[32] = {};
  // The next time, the seven weekdays, then the dates from today.
  ASSERT_EQ(SendMessageA(days, CB_GETCOUNT, 0, 0), 1 + 7 + 31);
  SendMessageA(days, CB_GETLBTEXT, 1 + 7 + 3, reinterpret_cast<LPARAM>(third));
  SendMessageA(days, CB_SETCURSEL, 1 + 7 + 3, 0);
  Start(countdown::kAt, "12:00");
  EXPECT_EQ(Pending(), "Shut Down Monitor on " + std::string(third) + " at 12:00");
  CountdownWindow->CancelButton->Click();
  SendMessageA(days, CB_SETCURSEL, 0, 0);

  SendMessageA(CountdownWindow->ActionBox->Handle(), CB_SETCURSEL, app::kActionCount, 0);
  CountdownWindow->ProgramEdit->SetText("C:\\windows\\notepad.exe");
  CountdownWindow->WhenButtons[countdown::kIn]->SetChecked(true);
  CountdownWindow->WhenEdits[countdown::kIn]->SetText("1h");
  CountdownWindow->StartClick(*CountdownWindow);
  EXPECT_EQ(CountdownWindow->Message->Caption(),
            "Dormix runs as an administrator: it starts no programs, so that none runs with those rights.");
  RedrawWindow(CountdownWindow->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  testing_support::Screenshot("countdown-window-run");
  EXPECT_EQ(Pending(), "none");
  ASSERT_TRUE(testing_support::Press(VK_ESCAPE));
}

TEST_F(CountdownWindowTest, BusySecondsHoldAQuietWaitBackUntilItsSpanIsQuiet) {
  power_fakes::InstalledPlatform fake(&power::SystemPowerPlatform());
  const auto load = std::make_shared<testing_support::FakeLoad::Counters>();
  load->busy = load->ticking = true;
  const auto system = std::exchange(Form1->LoadSource, [load] { return std::make_unique<testing_support::FakeLoad>(load); });
  Start(countdown::kQuiet, "2s");
  ASSERT_TRUE(testing_support::ProcessUntil([&] { return load->reads >= 6; }, 30000));
  EXPECT_TRUE(fake.journal.empty() && Pending() != "none") << "five busy seconds";
  load->busy = false;
  const int lastBusy = load->reads;
  EXPECT_TRUE(testing_support::ProcessUntil([&] { return Pending() == "none"; }, 30000));
  EXPECT_GE(load->reads, lastBusy + 2) << "two quiet seconds first";
  Form1->LoadSource = system;
  EXPECT_FALSE(fake.journal.empty()) << "the monitor was switched off";
}

}  // namespace
