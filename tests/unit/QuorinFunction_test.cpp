// The power actions: the notice each one asks, the exact platform requests
// it makes, and what it does when the notice says no or fails.
#include "power/QuorinFunction.h"

#include <gtest/gtest.h>

#include "support/PowerFakes.h"

namespace {

using power_fakes::Journal;
using power_fakes::ShownNotice;

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

// Each routine with the request it makes after an OK, without and with force.
const struct SessionRoutine {
  const char* name;
  void (*routine)(bool);
  const char* request[2];
} kSessionRoutines[] = {
    {"Shut Down", power::ShutDownSystem, {"ExitWindowsEx 9", "ExitWindowsEx 13"}},
    {"Log Off", power::LogOffUser, {"ExitWindowsEx 0", "ExitWindowsEx 4"}},
    {"Restart", power::RestartSystem, {"ExitWindowsEx 2", "ExitWindowsEx 6"}},
    {"Hibernate", power::HibernateSystem, {"SetSystemPowerState -1 0", "SetSystemPowerState -1 -1"}},
    {"Stand By", power::StandBySystem, {"SetSystemPowerState -1 0", "SetSystemPowerState -1 -1"}},
};

TEST_F(QuorinFunctionTest, AfterAnOkTheSessionRoutinesMakeTheirRequestWithThePrivilegeAroundIt) {
  for (const auto& r : kSessionRoutines) {
    for (const bool force : {false, true}) {
      journal.clear();
      r.routine(force);
      EXPECT_EQ(journal, Concat({ShownNotice(r.name), kEnable, {r.request[force]}, kDisable}))
          << r.name << ", force " << force;
    }
  }
}

TEST_F(QuorinFunctionTest, ACancelledOrRefusedNoticeLeavesThePlatformAlone) {
  for (const auto& r : kSessionRoutines) {
    for (const bool force : {false, true}) {
      journal.clear();
      host.modalResult = 2;
      r.routine(force);
      EXPECT_EQ(journal, ShownNotice(r.name)) << r.name;

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
