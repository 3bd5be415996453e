// The "Countdown..." window over the real main window: each choice of "when"
// with a good and a bad entry, started with Enter; the line it shows, and
// what it handed to the countdown; a quiet wait held back by busy seconds.
#include <gtest/gtest.h>

#include <cstring>

#include "countdown/CountdownWindow.h"
#include "support/Dormix.h"
#include "support/FakeMachine.h"
#include "support/Forms.h"
#include "support/PowerFakes.h"

namespace {

using countdown::CountdownWindow;
using testing_support::ProcessUntil;

constexpr int kMonitor = 5;  // Shut Down Monitor: runs at once, through the platform

app::Answer Serve(app::Command::Kind kind) {
  app::Command command;
  command.kind = kind;
  return Form1->Serve(command);
}

std::string Pending() {
  const std::string status = Serve(app::Command::Kind::Status).text;
  return status.substr(0, status.find('\n'));
}

class CountdownWindowTest : public testing_support::FormsTest {
 protected:
  void TearDown() override {
    Serve(app::Command::Kind::Cancel);
    if (CountdownWindow) CountdownWindow->Close();
    Form1->LoadSource = schedule::SystemLoad;
  }
  // Opened from its menu item, the action chosen and the entry typed into
  // the row of `when`, then Enter in it.
  static void Start(countdown::When when, const std::string& entry) {
    Form1->Countdown1Click(*Form1->Countdown1);
    ASSERT_TRUE(CountdownWindow && CountdownWindow->Visible());
    SendMessageA(CountdownWindow->ActionBox->Handle(), CB_SETCURSEL, kMonitor, 0);
    CountdownWindow->WhenButtons[when]->SetChecked(true);
    CountdownWindow->WhenEdits[when]->SetText(entry);
    CountdownWindow->WhenEdits[when]->SetFocus();
    ASSERT_TRUE(testing_support::TakesKeys(*CountdownWindow->WhenEdits[when]));
    ASSERT_TRUE(testing_support::Press(VK_RETURN));
  }
};

TEST_F(CountdownWindowTest, EachChoiceStartsWhatTheCommandLineWouldOrSaysWhatIsWrong) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  const std::string program = strrchr(self, '\\') + 1;
  const struct {
    countdown::When when;
    std::string entry, shown, pending;  // shown: the window's line; pending: the countdown's start
  } cases[] = {
      {countdown::kIn, "45x", "Bad duration '45x': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes.", ""},
      {countdown::kIn, "1h30m", "", "Countdown: Shut Down Monitor "},
      {countdown::kAt, "25:00", "Bad time '25:00': use HH:MM, 00:00 to 23:59.", ""},
      {countdown::kAt, "23:30", "", "Countdown: Shut Down Monitor "},
      {countdown::kIdle, "", "Bad duration '': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes.", ""},
      {countdown::kIdle, "30m", "", "Countdown: Shut Down Monitor after 30 min idle"},
      {countdown::kAfter, "no such", "No program 'no such.exe' is running.", ""},
      {countdown::kAfter, program, "", "Countdown: Shut Down Monitor when " + program + " ends"},
      {countdown::kQuiet, "0m", "Duration '0m' is zero.", ""},
      {countdown::kQuiet, "10m", "", "Countdown: Shut Down Monitor when quiet for 10 min: processor "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    Start(c.when, c.entry);
    EXPECT_EQ(CountdownWindow->Message->Caption(), c.shown);
    EXPECT_EQ(CountdownWindow->StartButton->Visible(), !c.shown.empty()) << "the entries stay after a refusal";
    if (c.pending.empty()) {
      EXPECT_EQ(Pending(), "Countdown: none");
    } else {
      EXPECT_EQ(Pending().substr(0, c.pending.size()), c.pending);
      if (c.when == countdown::kAt) {
        EXPECT_EQ(Pending().substr(Pending().size() - 8), "at 23:30");
      }
      EXPECT_EQ(CountdownWindow->PendingLabel->Caption(), Pending().substr(11)) << "the window shows it";
      if (c.when == countdown::kQuiet) testing_support::Screenshot("countdown-window-pending");
      CountdownWindow->CancelButton->Click();
      EXPECT_EQ(Pending(), "Countdown: none");
      EXPECT_TRUE(CountdownWindow->StartButton->Visible());
    }
    if (c.when == countdown::kIn && !c.shown.empty()) testing_support::Screenshot("countdown-window-bad-entry");
    ASSERT_TRUE(testing_support::Press(VK_ESCAPE));
    EXPECT_FALSE(CountdownWindow->Visible()) << "Esc closes it";
  }
}

TEST_F(CountdownWindowTest, BusySecondsHoldAQuietWaitBackUntilItsSpanIsQuiet) {
  power_fakes::InstalledPlatform fake(&power::SystemPowerPlatform());
  const auto load = std::make_shared<testing_support::FakeLoad::Counters>();
  load->busy = load->ticking = true;
  Form1->LoadSource = [load] { return std::make_unique<testing_support::FakeLoad>(load); };
  Start(countdown::kQuiet, "2s");
  ASSERT_TRUE(ProcessUntil([&] { return load->reads >= 6; }, 30000));
  EXPECT_NE(Pending(), "Countdown: none") << "five busy seconds";
  EXPECT_TRUE(fake.journal.empty());
  load->busy = false;
  const int lastBusy = load->reads;
  EXPECT_TRUE(ProcessUntil([&] { return Pending() == "Countdown: none"; }, 30000));
  EXPECT_GE(load->reads, lastBusy + 2) << "two quiet seconds first";
  EXPECT_FALSE(fake.journal.empty()) << "the monitor was switched off";
}

}  // namespace
