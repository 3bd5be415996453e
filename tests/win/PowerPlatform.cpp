// The power actions' Win32 platform under Wine, where it can be watched: the
// shutdown privilege in the process token and the system commands reaching
// the application window. Nothing here may call ExitWindowsEx: it would end
// this test's own session.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "power/QuorinFunction.h"
#include "support/Pump.h"
#include "ui/Application.h"
#include "ui/Win32Handle.h"

namespace {

// The shutdown privilege's attributes in this process's token.
DWORD ShutdownPrivilegeAttributes() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return ~0u;
  const ui::unique_handle token(raw);
  LUID shutdown;
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size)) return ~0u;
  const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
  for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
    const LUID& luid = privileges->Privileges[i].Luid;
    if (luid.LowPart == shutdown.LowPart && luid.HighPart == shutdown.HighPart)
      return privileges->Privileges[i].Attributes;
  }
  return ~0u;
}

std::vector<std::pair<WPARAM, LPARAM>> systemCommands;
WNDPROC applicationProc = nullptr;

// Records the two system commands of the actions and keeps them from the
// default handling; everything else goes on to the application window.
LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const WPARAM command = wParam & 0xFFF0;
  if (msg == WM_SYSCOMMAND && (command == SC_MONITORPOWER || command == SC_SCREENSAVE)) {
    systemCommands.emplace_back(wParam, lParam);
    return 0;
  }
  return CallWindowProcA(applicationProc, hwnd, msg, wParam, lParam);
}

class PowerPlatformTest : public testing::Test {
 protected:
  void SetUp() override {
    app.Initialize();
    power::SetPowerPlatform(&power::SystemPowerPlatform());
    systemCommands.clear();
    applicationProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(app.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder)));
  }
  void TearDown() override {
    SetWindowLongPtrA(app.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(applicationProc));
    power::SetPowerPlatform(nullptr);
  }
  ui::TApplication app;
};

TEST_F(PowerPlatformTest, ThePrivilegeIsEnabledAndDisabledInTheProcessToken) {
  for (const bool enable : {true, false, true, false}) {
    EXPECT_TRUE(power::EnableShutdownPrivilege(enable));
    EXPECT_EQ(ShutdownPrivilegeAttributes() & SE_PRIVILEGE_ENABLED,
              enable ? SE_PRIVILEGE_ENABLED : 0u)
        << "after " << enable;
  }
}

TEST_F(PowerPlatformTest, MonitorOffIsPostedAndTheScreenSaverSentToTheApplicationWindow) {
  power::MonitorOff();
  power::StartScreenSaver();
  EXPECT_EQ(systemCommands, (std::vector<std::pair<WPARAM, LPARAM>>{{SC_SCREENSAVE, 0}})) << "only one sent";
  ASSERT_TRUE(testing_support::PumpUntil([] { return systemCommands.size() == 2; }));
  EXPECT_EQ(systemCommands, (std::vector<std::pair<WPARAM, LPARAM>>{{SC_SCREENSAVE, 0}, {SC_MONITORPOWER, 1}}));
}

}  // namespace
