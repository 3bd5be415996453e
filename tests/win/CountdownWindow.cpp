// The "Countdown..." window over the real main window: each choice of "when"
// with a good and a bad entry, started with Enter; the line it shows, and
// what it handed to the countdown; a quiet wait held back by busy seconds.
#include <gtest/gtest.h>

#include "countdown/CountdownWindow.h"
#include "support/Dormix.h"
#include "support/FakeMachine.h"
#include "support/Forms.h"
#include "support/PowerFakes.h"

namespace {

using countdown::CountdownWindow;
using testing_support::ProcessUntil;

// The first line of /status, from "Countdown: ".
std::string Pending() {
  app::Command status;
  status.kind = app::Command::Kind::Status;
  const std::string text = Form1->Serve(status).text;
  return text.substr(0, text.find('\n'));
}

class CountdownWindowTest : public testing_support::FormsTest {
 protected:
  void TearDown() override {
    if (CountdownWindow) CountdownWindow->Close();
    Form1->LoadSource = schedule::SystemLoad;
  }
  // Opened from its item, Shut Down Monitor chosen, the entry typed into the
  // row of `when`, then Enter in it.
  static void Start(countdown::When when, const std::string& entry) {
    Form1->Countdown1Click(*Form1->Countdown1);
    ASSERT_TRUE(CountdownWindow && CountdownWindow->Visible());
    SendMessageA(CountdownWindow->ActionBox->Handle(), CB_SETCURSEL, 5, 0);
    CountdownWindow->WhenButtons[when]->SetChecked(true);
    CountdownWindow->WhenEdits[when]->SetText(entry);
    CountdownWindow->WhenEdits[when]->SetFocus();
    ASSERT_TRUE(testing_support::TakesKeys(*CountdownWindow->WhenEdits[when]));
    ASSERT_TRUE(testing_support::Press(VK_RETURN));
  }
};

TEST_F(CountdownWindowTest, EachChoiceStartsWhatTheCommandLineWouldOrSaysWhatIsWrong) {
  char self[MAX_PATH];
  const std::string program = strrchr((GetModuleFileNameA(nullptr, self, sizeof self), self), '\\') + 1;
  const std::string badDuration = "': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes.";
  const struct {
    countdown::When when;
    std::string entry, shown, pending;  // the window's line; how the countdown's begins and ends
  } cases[] = {
      {countdown::kIn, "45x", "Bad duration '45x" + badDuration, ""},
      {countdown::kIn, "1h30m", "", "Shut Down Monitor |"},
      {countdown::kAt, "25:00", "Bad time '25:00': use HH:MM, 00:00 to 23:59.", ""},
      {countdown::kAt, "23:30", "", "Shut Down Monitor |at 23:30"},
      {countdown::kIdle, "", "Bad duration '" + badDuration, ""},
      {countdown::kIdle, "30m", "", "Shut Down Monitor after 30 min idle|"},
      {countdown::kAfter, "no such", "No program 'no such.exe' is running.", ""},
      {countdown::kAfter, program, "", "Shut Down Monitor when " + program + " ends|"},
      {countdown::kQuiet, "0m", "Duration '0m' is zero.", ""},
      {countdown::kQuiet, "10m", "", "Shut Down Monitor when quiet for 10 min: processor |min."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    Start(c.when, c.entry);
    EXPECT_EQ(CountdownWindow->Message->Caption(), c.shown);
    if (c.when == countdown::kIn) testing_support::Screenshot("countdown-window-" + c.entry);
    EXPECT_EQ(CountdownWindow->StartButton->Visible(), !c.shown.empty()) << "a refusal keeps the entries";
    const std::size_t bar = c.pending.find('|');
    const std::string pending = Pending().substr(11), begins = c.pending.substr(0, bar);
    const std::string ends = bar == std::string::npos ? "" : c.pending.substr(bar + 1);
    EXPECT_EQ(pending == "none", c.pending.empty()) << pending;
    EXPECT_TRUE(pending.starts_with(begins) && pending.ends_with(ends)) << pending;
    if (!c.pending.empty()) {
      EXPECT_EQ(CountdownWindow->PendingLabel->Caption(), pending) << "the window shows it";
      CountdownWindow->CancelButton->Click();
      EXPECT_EQ(Pending(), "Countdown: none");
    }
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
  EXPECT_TRUE(fake.journal.empty() && Pending() != "Countdown: none") << "five busy seconds";
  load->busy = false;
  const int lastBusy = load->reads;
  EXPECT_TRUE(ProcessUntil([&] { return Pending() == "Countdown: none"; }, 30000));
  EXPECT_GE(load->reads, lastBusy + 2) << "two quiet seconds first";
  EXPECT_FALSE(fake.journal.empty()) << "the monitor was switched off";
}

}  // namespace
