// dormix.exe given a command: handed to the running copy, which acts as its
// tray menu would and answers with the exit code and a text; or starting
// Dormix hidden with a one-off countdown, whose tip and cancel item show.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/Dormix.h"
#include "support/DormixTest.h"
#include "support/Keys.h"
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
  EXPECT_EQ(TrayTip("Dormix is Disabled..."), "Dormix is Disabled...");
  EXPECT_EQ(Ran("/cancel"), "1 No countdown is pending.\n");
  // NUL is a character device, no console: written to, no message box kept open.
  EXPECT_EQ(Process(DormixExe(), "/cancel", Process::Start::kNow, "NUL").WaitExit(), 1u);
  const std::string said = Ran("/shutdown /in 10m");  // "0 Shut Down at hh:nn.\n"
  ASSERT_TRUE(said.starts_with("0 Shut Down at ")) << said;
  const std::string countdown = said.substr(2, said.size() - 4);
  EXPECT_EQ(TrayTip("Dormix: " + countdown), "Dormix: " + countdown);

  const HWND menu = OpenTrayMenu();
  ASSERT_TRUE(menu);
  ShotOf(menu, "tray-menu-cancel-item");
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil([] { return Ran("/status") == "0 " + kIdle; }));

  EXPECT_EQ(Ran("/lock"), "0 ");
  EXPECT_TRUE(Shown(dormix, "TForm4"));
}

// The log-off is forced, as by default: had it happened, this program would
// have ended with it.
TEST_F(CommandLine, ACountdownInFiveSecondsBringsTheNoticeWhoseCancelStopsIt) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  const std::string said = Ran("/logoff /in 5s");
  ASSERT_TRUE(said.starts_with("0 Log Off at ")) << said;
  const HWND notice = WaitForWindow(dormix.Id(), "TForm2");
  EXPECT_TRUE(StaysHidden(notice)) << "shown before its time";
  ASSERT_TRUE(Shown(dormix, "TForm2"));
  Click(notice, "Cancel");
  EXPECT_TRUE(Hidden(notice));
  // Past the 15 s the notice would have counted.
  PumpUntil([&] { return !dormix.Running(); }, 16000);
  EXPECT_TRUE(dormix.Running());
}

TEST_F(CommandLine, WithNoCopyRunningDormixStartsHiddenWithTheCountdownPending) {
  Process dormix(DormixExe(), "/shutdown /in 10m", Process::Start::kNow, SuiteDir() + "\\out.txt");
  ASSERT_TRUE(WaitSettled(dormix));
  const std::string said = Said(), countdown = said.substr(0, said.size() - 2);  // "Shut Down at hh:nn"
  EXPECT_TRUE(WindowsOf(dormix.Id(), true).empty());
  EXPECT_EQ(TrayTip("Dormix: " + countdown), "Dormix: " + countdown);
  EXPECT_EQ(Ran("/status"), "0 Countdown: " + countdown + kIdle.substr(15));
  EXPECT_TRUE(ExitThroughMenu(dormix));
}

}  // namespace
