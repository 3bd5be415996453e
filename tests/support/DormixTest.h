// The fixture of the end-to-end cases that start dormix.exe: every case
// starts from a registry without Dormix's settings and ends a Dormix still
// running through its menu, so that its tray icon is gone for the next.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "support/Dormix.h"
#include "support/Pump.h"

namespace testing_support {

class DormixTest : public testing::Test {
 protected:
  void SetUp() override { ForgetSettings(); }
  void TearDown() override { Exit(); }

  // No settings of Dormix and no autostart entry; its first start's balloon
  // shown before, as it is after the first case.
  static void ForgetSettings() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Velto Software");
    if (auto run = app::LocalMachine().Open(app::kRunKey, true)) run->DeleteValue(app::kRunValue);
    if (auto key = app::LocalMachine().Open(app::kSettingsKey, true)) key->WriteString(app::kIntroducedValue, "1");
  }

  // Ends a Dormix still running as the user would, and waits for its icon to go.
  void Exit() {
    if (dormix_ && dormix_->Running()) {
      EXPECT_TRUE(ExitThroughMenu(*dormix_)) << "Dormix did not end through its menu";
    }
  }

  Process& Start(Process::Start how = Process::Start::kNow) {
    dormix_ = std::make_unique<Process>(DormixExe(), "", how);
    return *dormix_;
  }

  // The Dormix that another process started, once its main window is there.
  Process& Started() {
    DWORD id = 0;
    PumpUntil([&] { return GetWindowThreadProcessId(FindWindowA("TForm1", nullptr), &id) != 0; }, 20000);
    dormix_ = std::make_unique<Process>(id);
    return *dormix_;
  }

 private:
  std::unique_ptr<Process> dormix_;
};

// Clicks the button of that caption in a window of Dormix.
inline void Click(HWND window, const char* caption) {
  const HWND button = FindControl(window, "Button", caption);
  ASSERT_TRUE(button) << caption;
  SendMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace testing_support
