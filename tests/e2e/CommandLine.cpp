// dormix.exe given a command: handed to the running copy, which acts as its
// tray menu would and answers with the exit code and a text; or starting
// Dormix hidden with a one-off countdown, whose tip and cancel item show.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/Dormix.h"
#include "support/DormixTest.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

// What dormix.exe printed to its standard output, redirected to a file.
std::string Said() {
  std::ifstream file(SuiteDir() + "\\out.txt", std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// dormix.exe with these arguments to its end: its exit code, a space and its output.
std::string Ran(const std::string& arguments) {
  Process second(DormixExe(), arguments, Process::Start::kNow, SuiteDir() + "\\out.txt");
  const std::optional<DWORD> code = second.WaitExit();
  return (code ? std::to_string(*code) : "still running") + " " + Said();
}

const std::string kIdle = "Countdown: none\nDaily clock: Shut Down at 00:00, disabled\n";

class CommandLine : public DormixTest {};

// The first item of the tray menu is the countdown's cancel item: Down and
// Enter choose it.
TEST_F(CommandLine, TheRunningCopyAnswersASecondProcessAndActsAsItsMenu) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  // Set by the clock's tick, which also puts the time into the menu's bar.
  EXPECT_TRUE(TrayTipReads("Dormix is Disabled..."));
  EXPECT_EQ(Ran("/cancel"), "1 No countdown is pending.\n");
  const std::string said = Ran("/shutdown /in 10m");  // "0 Shut Down at hh:nn.\n"
  ASSERT_TRUE(said.starts_with("0 Shut Down at ")) << said;
  const std::string countdown = said.substr(2, said.size() - 4);
  EXPECT_TRUE(TrayTipReads("Dormix: " + countdown));

  const HWND menu = OpenTrayMenu();
  ASSERT_TRUE(menu);
  ShotOf(menu, "tray-menu-cancel-item");
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil([] { return Ran("/status") == "0 " + kIdle; }));

  EXPECT_EQ(Ran("/lock"), "0 ");
  EXPECT_TRUE(Shown(dormix, "TForm4"));
}

// The log-off is not forced: it would ask this program first, which refuses it.
TEST_F(CommandLine, ACountdownInFiveSecondsBringsTheNoticeWhoseCancelStopsIt) {
  Store("Operation", "ForceAction", "0");
  const SessionProbe probe(true);
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  const std::string said = Ran("/logoff /in 5s");
  ASSERT_TRUE(said.starts_with("0 Log Off at ")) << said;
  const HWND notice = WaitForWindow(dormix.Id(), "TForm2");
  EXPECT_TRUE(StaysHidden(notice)) << "shown before its time";
  ASSERT_TRUE(Shown(dormix, "TForm2"));
  Click(notice, "Cancel");
  EXPECT_TRUE(Hidden(notice));
  // The answer is acted on at once.
  PumpUntil([] { return SessionProbe::queried_; }, 3000);
  EXPECT_FALSE(SessionProbe::queried_) << "the log-off was asked for";
}

TEST_F(CommandLine, WithNoCopyRunningDormixStartsHiddenWithTheCountdownPending) {
  Process dormix(DormixExe(), "/shutdown /in 10m", Process::Start::kNow, SuiteDir() + "\\out.txt");
  ASSERT_TRUE(WaitSettled(dormix));
  const std::string said = Said(), countdown = said.substr(0, said.size() - 2);  // "Shut Down at hh:nn"
  EXPECT_TRUE(WindowsOf(dormix.Id(), true).empty());
  EXPECT_TRUE(TrayTipReads("Dormix: " + countdown));
  EXPECT_EQ(Ran("/status"), "0 Countdown: " + countdown + kIdle.substr(15));
  EXPECT_TRUE(ExitThroughMenu(dormix));
}

}  // namespace
