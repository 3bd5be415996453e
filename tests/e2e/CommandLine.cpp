// dormix.exe given a command: handed to the running copy, which acts as its
// tray menu would and answers with the exit code and a text; with none
// running, to a copy it starts. The countdown's tip, cancel item and notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <regex>
#include <thread>

#include "support/Dormix.h"
#include "support/DormixTest.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

// What dormix.exe printed to its standard output, redirected to a file.
std::string Said() {
  std::ifstream file(SuiteDir() + "\\out.txt", std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// dormix.exe with these arguments to its end: its exit code, a space and its
// output, whose lines end in CR LF as Windows text does (shown as LF).
std::string Ran(const std::string& arguments) {
  Process second(DormixExe(), arguments, Process::Start::kNow, SuiteDir() + "\\out.txt");
  const std::optional<DWORD> code = second.WaitExit();
  std::string said = Said();
  for (std::size_t at = 0; (at = said.find('\n', at)) != std::string::npos; said.erase(at - 1, 1))
    if (at == 0 || said[at - 1] != '\r') return "a line without CR: " + said;
  return (code ? std::to_string(*code) : "still running") + " " + said;
}

const std::string kIdle = "Countdown: none\nDaily clock: Shut Down at 00:00, disabled\n";

class CommandLine : public DormixTest {};

// The first item of the tray menu is the countdown's cancel item.
TEST_F(CommandLine, TheRunningCopyAnswersASecondProcessAndActsAsItsMenu) {
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  // Set by the clock's tick, which also puts the time into the menu's bar.
  EXPECT_TRUE(TrayTipReads("Dormix is Disabled..."));
  EXPECT_EQ(Ran("/cancel"), "1 No countdown is pending.\n");
  // Wine runs it elevated: it starts no program.
  EXPECT_EQ(Ran("/run x /in 5m"), "1 Dormix runs as an administrator: it starts no programs, so that none runs with "
                                  "those rights.\n");
  // NUL is a character device, no console: written to, no message box kept open.
  EXPECT_EQ(Process(DormixExe(), "/cancel", Process::Start::kNow, "NUL").WaitExit(), 1u);
  const std::string said = Ran("/shutdown /in 10m");  // "0 Shut Down [tomorrow ]at hh:nn.\n"
  ASSERT_TRUE(said.starts_with("0 Shut Down ")) << said;
  const std::string countdown = said.substr(2, said.size() - 4);
  EXPECT_TRUE(TrayTipReads("Dormix: " + countdown));

  ASSERT_TRUE(ChooseFromTrayMenu(kCancelCountdown, true));
  EXPECT_TRUE(PumpUntil([] { return Ran("/status") == "0 " + kIdle; }));

  EXPECT_EQ(Ran("/lock"), "0 Protection Panel: the panel is shown.\n");
  const HWND panel = Shown(dormix, "TForm4"), field = FindControl(panel, "Edit", "");
  // No password is set: any key closes the panel.
  ASSERT_TRUE(PumpUntil([&] { return TakesKeys(field); })) << "the panel has no keyboard";
  const Sent key = PressKey('Z');
  EXPECT_TRUE(Hidden(panel)) << key;
}

// One real click on the notice's Postpone: no action now, and the action
// pending ten minutes on. While the countdown's own notice counts, the
// countdown is pending: reported, cancelled with the notice, and no other
// action slips past it. A polite log-off would be refused here, and a late
// one asks.
TEST_F(CommandLine, TheNoticesPostponeAndTheCancelCommandDuringTheCountdownsNoticeLeaveNothingDone) {
  Store("Operation", "ForceAction", "0");
  Store("Operation", "MessageTime", "60");  // room for the steps of a loaded machine
  const SessionProbe probe(true);
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_EQ(Ran("/logoff"), "0 Log Off: the notice is shown.\n");
  const HWND notice = Shown(dormix, "TForm2");
  const HWND postpone = FindControl(notice, "Button", "Postpone");
  ASSERT_TRUE(postpone);
  EXPECT_TRUE(IsWindowEnabled(postpone));
  ASSERT_TRUE(PumpUntil([&] { return Painted(notice); }));
  ShotOf(notice, "notice-postpone");
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int minute = now.wHour * 60 + now.wMinute;
  const Sent click = ClickWithMouse(postpone);
  ASSERT_TRUE(Hidden(notice)) << click;
  const std::string status = Ran("/status");
  auto at = [&](int later) {
    return "0 Countdown: Log Off " + std::string(minute + later >= 1440 ? "tomorrow " : "") + "at " +
           TimeText((minute + later) % 1440) + kIdle.substr(15);
  };
  EXPECT_TRUE(status == at(10) || status == at(11)) << status;
  EXPECT_TRUE(Ran("/cancel").starts_with("0 Cancelled Log Off "));

  const std::string said = Ran("/logoff /in 2s");
  ASSERT_TRUE(said.starts_with("0 Log Off ")) << said;
  const std::string countdown = said.substr(2, said.size() - 4);
  ASSERT_TRUE(Shown(dormix, "TForm2"));
  EXPECT_EQ(Ran("/status"), "0 Countdown: " + countdown + kIdle.substr(15));
  EXPECT_EQ(Ran("/restart"), "1 Restart was not started: the Log Off notice is shown.\n");
  EXPECT_EQ(Ran("/cancel"), "0 Cancelled " + countdown + ".\n");
  EXPECT_TRUE(Hidden(notice));
  EXPECT_EQ(Ran("/status"), "0 " + kIdle);
  EXPECT_FALSE(PumpUntil([] { return SessionProbe::queried_; }, 2000));
}

// The tray's "Postpone 10 min" during the countdown's own notice answers
// that notice: it closes, its zero passes with nothing done, and the
// countdown is ten minutes on.
TEST_F(CommandLine, TheTraysPostponeDuringTheCountdownsNoticeClosesItAndMovesTheCountdown) {
  Store("Operation", "ForceAction", "0");
  Store("Operation", "MessageTime", "15");
  const SessionProbe probe(true);
  Process& dormix = Start();
  ASSERT_TRUE(WaitSettled(dormix));
  ASSERT_TRUE(Ran("/logoff /in 1s").starts_with("0 Log Off "));
  const HWND notice = Shown(dormix, "TForm2");
  ASSERT_TRUE(notice);
  const DWORD shown = GetTickCount();
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int minute = now.wHour * 60 + now.wMinute;
  ASSERT_TRUE(ChooseFromTrayMenu(kPostponeCountdown, true));
  EXPECT_TRUE(Hidden(notice));
  const std::string status = Ran("/status");
  auto at = [&](int later) {
    return "0 Countdown: Log Off " + std::string(minute + later >= 1440 ? "tomorrow " : "") + "at " +
           TimeText((minute + later) % 1440) + kIdle.substr(15);
  };
  EXPECT_TRUE(status == at(10) || status == at(11)) << status;
  // Past the notice's zero, with a second to spare: no log-off was asked.
  PumpUntil([] { return SessionProbe::queried_; }, 17000 - std::min<DWORD>(GetTickCount() - shown, 17000));
  EXPECT_FALSE(SessionProbe::queried_);
  EXPECT_FALSE(IsWindowVisible(notice));
  EXPECT_TRUE(Ran("/cancel").starts_with("0 Cancelled Log Off "));
}

// The suites share the machine: this one keeps a processor busy until a reading shows it.
TEST_F(CommandLine, AQuietWaitReportsItsReadingsAndACancelEndsIt) {
  ASSERT_TRUE(WaitSettled(Start()));
  EXPECT_EQ(Ran("/hibernate /quiet 1d /cpu 5 /net 2m"), "0 Hibernate when quiet for 24 h.\n");
  const std::regex reading("0 Countdown: Hibernate when quiet for 24 h: processor (\\d+) % \\(limit 5 %\\), network "
                           "\\d+(\\.\\d)? [KMG]?B/s \\(limit 2 MB/s\\), quiet for 0 min\\.\n" + kIdle.substr(16));
  std::atomic<bool> spin = true;
  std::thread busy([&] { while (spin) {} });
  std::string status;
  std::smatch read;
  EXPECT_TRUE(PumpUntil([&] { return std::regex_match(status = Ran("/status"), read, reading) && std::stoi(read[1]) >= 40; },
                        30000)) << status;
  spin = false;
  busy.join();
  EXPECT_EQ(Ran("/cancel"), "0 Cancelled Hibernate when quiet for 24 h.\n");
  EXPECT_EQ(Ran("/status"), "0 " + kIdle);
}

// A program as the action: started in its own folder with its arguments,
// and the action after it pending, as one countdown, until it ends. A start
// that fails is told in /status; a day out of reach is bad usage.
TEST_F(CommandLine, ARunActionStartsItsProgramInItsFolderAndItsActionFollowsTheEnd) {
  char self[MAX_PATH];
  const std::string probe(self, GetModuleFileNameA(nullptr, self, sizeof self));
  const std::string folder = SuiteDir() + "\\run here", bad = SuiteFile("bad.exe", "no program");
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((probe.substr(0, probe.find_last_of('\\') + 1) + "run_probe.exe").c_str(),
                        (folder + "\\probe.exe").c_str(), FALSE));
  auto read = [&](const char* name) {
    std::ifstream file(folder + "\\" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  Process& dormix = Start(Process::Start::kLimited);
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_EQ(Ran("/lock /at 18:00 /on 2020-01-01"), "2 2020-01-01 at 18:00 has passed.\n");
  EXPECT_EQ(Ran("/run nosuch /in 1s"), "1 No program 'nosuch' was found.\n");
  const std::string said = Ran("/run \"" + folder + "\\probe.exe\" /args \"/wait \\\"a b\\\" c\" /then lock /in 1s");
  EXPECT_TRUE(said.starts_with("0 Run probe.exe at ") && said.ends_with(", then Protection Panel.\n")) << said;
  EXPECT_TRUE(PumpUntil([&] { return read("ran.txt") == "/wait\na b\nc\n"; }, 20000)) << read("ran.txt");
  EXPECT_EQ(Ran("/status"), "0 Countdown: Protection Panel when probe.exe ends" + kIdle.substr(15));
  std::ofstream(folder + "\\go.txt") << "go";
  const HWND panel = Shown(dormix, "TForm4"), field = FindControl(panel, "Edit", "");
  ASSERT_TRUE(PumpUntil([&] { return TakesKeys(field); })) << "the panel has no keyboard";
  const Sent key = PressKey('Z');
  EXPECT_TRUE(Hidden(panel)) << key;

  const std::string failing = Ran("/run \"" + bad + "\" /in 1s");
  ASSERT_TRUE(failing.starts_with("0 Run bad.exe at ")) << failing;
  const std::string failed = kIdle + "Last run: " + failing.substr(2, failing.size() - 4) + " was not carried out: ";
  std::string status;
  EXPECT_TRUE(PumpUntil([&] { return (status = Ran("/status")).starts_with("0 " + failed); }, 20000)) << status;
}

// The first call starts a copy of its own and ends with its answer, as a
// script that waits for it expects; the countdown waits in that copy.
TEST_F(CommandLine, TheFirstCallStartsACopyOfItsOwnAndEndsWithTheAnswer) {
  const std::string said = Ran("/shutdown /in 10m");  // "0 Shut Down [tomorrow ]at hh:nn.\n"
  ASSERT_TRUE(said.starts_with("0 Shut Down ")) << said;
  const std::string countdown = said.substr(2, said.size() - 4);
  Process& dormix = Started();
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_TRUE(WindowsOf(dormix.Id(), true).empty());
  EXPECT_TRUE(TrayTipReads("Dormix: " + countdown));
  EXPECT_EQ(Ran("/status"), "0 Countdown: " + countdown + kIdle.substr(15));
  EXPECT_EQ(Ran("/cancel"), "0 Cancelled " + countdown + ".\n");  // the menu's Exit back in its place
}

}  // namespace
