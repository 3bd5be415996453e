// A test fixture holding the program's four windows, created as start-up
// creates them (the hotkey module started first) and wired together, for the
// suites that drive them.
#pragma once
#include <gtest/gtest.h>

#include "app/Down.h"
#include "app/Startup.h"
#include "app/about.h"
#include "power/mymess.h"
#include "protection/Protection.h"
#include "ui/Application.h"

namespace testing_support {

class FormsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    hotKeyModule = new hotkeys::Module(hotkeys::Win32KeyboardLayout());
    app = new ui::TApplication;
    app->Initialize();
    CreateWindows(*app);
  }
  static void TearDownTestSuite() {
    delete app;
    app = nullptr;
    delete hotKeyModule;
  }
  static inline hotkeys::Module* hotKeyModule = nullptr;
  static inline ui::TApplication* app = nullptr;
};

// Lets queued input and timers reach the windows through the application's
// own message handling (dialog keys included) for `ms` milliseconds.
inline void Settle(DWORD ms = 200) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    ui::Application().ProcessMessages();
  }
}

}  // namespace testing_support
