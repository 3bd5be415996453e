// The power actions: the notice each one asks, the exact platform requests
// it makes, and what it does when the notice says no or fails.
#include "power/QuorinFunction.h"

#include <gtest/gtest.h>

#include "support/PowerFakes.h"

namespace {

using power_fakes::Journal;

const Journal kNoticeOk = {"clock off", "countdown on", "show NAME 15", "closed NAME 15",
                           "clock on"};
const Journal kEnable = {"OpenProcessToken 0x20", "LookupPrivilegeValueA SeShutdownPrivilege",
                         "AdjustTokenPrivileges token luid 0x13:0x2 attributes 2",
                         "CloseHandle token"};
const Journal kDisable = {"OpenProcessToken 0x20", "LookupPrivilegeValueA SeShutdownPrivilege",
                          "AdjustTokenPrivileges token luid 0x13:0x2 attributes 0",
                          "CloseHandle token"};

Journal Concat(std::initializer_list<Journal> parts) {
  Journal all;
  for (const Journal& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Journal Notice(const std::string& name) {
  Journal calls = kNoticeOk;
  for (std::string& line : calls)
    if (const auto at = line.find("NAME"); at != std::string::npos) line.replace(at, 4, name);
  return calls;
}

class QuorinFunctionTest : public testing::Test {
 protected:
  void SetUp() override {
    power::SetPowerPlatform(&platform);
    power::SetNoticeHost(&host);
  }
  void TearDown() override {
    power::SetPowerPlatform(nullptr);
    power::SetNoticeHost(nullptr);
  }
  Journal journal;
  power_fakes::FakePlatform platform{journal};
  power_fakes::FakeNoticeHost host{journal};
};

struct SessionRoutine {
  const char* name;
  void (*routine)(bool);
};
const SessionRoutine kSessionRoutines[] = {
    {"Shut Down", power::ShutDownSystem}, {"Log Off", power::LogOffUser},
    {"Restart", power::RestartSystem},    {"Hibernate", power::HibernateSystem},
    {"Stand By", power::StandBySystem},
};

TEST_F(QuorinFunctionTest, AfterAnOkTheSessionRoutinesMakeTheirRequestWithThePrivilegeAroundIt) {
  const struct {
    void (*routine)(bool);
    bool force;
    Journal calls;
  } cases[] = {
      {power::ShutDownSystem, false,
       Concat({Notice("Shut Down"), kEnable, {"ExitWindowsEx 9"}, kDisable})},
      {power::ShutDownSystem, true,
       Concat({Notice("Shut Down"), kEnable, {"ExitWindowsEx 13"}, kDisable})},
      {power::LogOffUser, false,
       Concat({Notice("Log Off"), kEnable, {"ExitWindowsEx 0"}, kDisable})},
      {power::LogOffUser, true,
       Concat({Notice("Log Off"), kEnable, {"ExitWindowsEx 4"}, kDisable})},
      {power::RestartSystem, false,
       Concat({Notice("Restart"), kEnable, {"ExitWindowsEx 2"}, kDisable})},
      {power::RestartSystem, true,
       Concat({Notice("Restart"), kEnable, {"ExitWindowsEx 6"}, kDisable})},
      {power::HibernateSystem, false,
       Concat({Notice("Hibernate"), kEnable, {"SetSystemPowerState -1 0"}, kDisable})},
      {power::HibernateSystem, true,
       Concat({Notice("Hibernate"), kEnable, {"SetSystemPowerState -1 -1"}, kDisable})},
      {power::StandBySystem, false,
       Concat({Notice("Stand By"), kEnable, {"SetSystemPowerState -1 0"}, kDisable})},
      {power::StandBySystem, true,
       Concat({Notice("Stand By"), kEnable, {"SetSystemPowerState -1 -1"}, kDisable})},
  };
  for (const auto& c : cases) {
    journal.clear();
    c.routine(c.force);
    EXPECT_EQ(journal, c.calls) << c.calls[2] << ", force " << c.force;
  }
}

TEST_F(QuorinFunctionTest, ACancelledOrRefusedNoticeLeavesThePlatformAlone) {
  for (const auto& r : kSessionRoutines) {
    for (const bool force : {false, true}) {
      journal.clear();
      host.modalResult = 2;
      r.routine(force);
      EXPECT_EQ(journal, Notice(r.name)) << r.name;

      journal.clear();
      host.shown = true;
      r.routine(force);
      EXPECT_EQ(journal, Journal{}) << r.name << " during a notice";
      host.shown = false;
    }
  }
}

TEST_F(QuorinFunctionTest, AFailingNoticePassesItsErrorOnBeforeAnyRequest) {
  host.messageTime = "ten";
  for (const auto& r : kSessionRoutines) {
    journal.clear();
    EXPECT_THROW(r.routine(true), ui::Error) << r.name;
    EXPECT_EQ(journal, (Journal{"clock off", "clock on"})) << r.name;
  }
}

TEST_F(QuorinFunctionTest, MonitorOffAndScreenSaverAskNoNoticeAndTouchNoPrivilege) {
  host.showMessage = true;
  power::MonitorOff();
  power::StartScreenSaver();
  EXPECT_EQ(journal, (Journal{"PostMessageA 0x112 0xF170 1", "SendMessageA 0x112 0xF140 0"}));
}

TEST_F(QuorinFunctionTest, ThePrivilegeRoutineAnswersTrueAndNeverUsesWhatItDidNotGet) {
  const struct {
    bool tokenOpens, privilegeKnown, enable;
    Journal calls;
  } cases[] = {
      {true, true, true, kEnable},
      {true, true, false, kDisable},
      {false, true, true, {"OpenProcessToken 0x20"}},
      {false, true, false, {"OpenProcessToken 0x20"}},
      {true, false, true,
       {"OpenProcessToken 0x20", "LookupPrivilegeValueA SeShutdownPrivilege", "CloseHandle token"}},
  };
  for (const auto& c : cases) {
    journal.clear();
    platform.tokenOpens = c.tokenOpens;
    platform.privilegeKnown = c.privilegeKnown;
    EXPECT_TRUE(power::EnableShutdownPrivilege(c.enable));
    EXPECT_EQ(journal, c.calls) << c.tokenOpens << c.privilegeKnown << c.enable;
  }
}

TEST_F(QuorinFunctionTest, ExitSessionAnswersThePlatformAndDisablesThePrivilegeEitherWay) {
  for (const bool accepted : {true, false}) {
    journal.clear();
    platform.exitAccepted = accepted;
    EXPECT_EQ(power::ExitSession(0x15), accepted);
    EXPECT_EQ(journal, Concat({kEnable, {"ExitWindowsEx 21"}, kDisable}));
  }
}

}  // namespace
