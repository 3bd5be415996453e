// A test fixture holding the program's four windows, created as start-up
// creates them (the hotkey module started first) and wired together, for the
// suites that drive them, and the waits that let the application handle
// their messages.
#pragma once
#include <gtest/gtest.h>

#include "app/Down.h"
#include "app/Startup.h"
#include "app/about.h"
#include "power/mymess.h"
#include "protection/Protection.h"
#include "support/Input.h"
#include "support/Pump.h"
#include "ui/Application.h"

namespace testing_support {

class FormsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    hotKeyModule = new hotkeys::Module(hotkeys::Win32KeyboardLayout());
    app = new ui::TApplication;
    app->Initialize();
    // A Dormix that has said where it runs: no balloon over the suites' screens.
    app::LocalMachine().Open(app::kSettingsKey, true)->WriteString(app::kIntroducedValue, "1");
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

inline SIZE ClientSize(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

// Closes the lock panel, shown or not, and leaves its close gate locked.
inline void ClosePanel() {
  protection::CloseAllowed = true;
  Form4->Close();
  protection::CloseAllowed = false;
}

// Lets the application handle this thread's messages (dialog keys included)
// until `done` is true or `timeoutMs` has passed; returns `done()`.
inline bool ProcessUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  return PumpUntil(done, timeoutMs, [] { ui::Application().ProcessMessages(); });
}

// Waits until every message posted to this thread so far has been handled: a
// marker posted behind them has left the queue. What a posted request did
// not do can then be asserted.
inline bool ProcessPosted(DWORD timeoutMs = 10000) {
  static const UINT marker = RegisterWindowMessageA("DormixTestMarker");
  PostThreadMessageA(GetCurrentThreadId(), marker, 0, 0);
  return ProcessUntil([] {
    MSG msg;
    return !PeekMessageA(&msg, nullptr, marker, marker, PM_NOREMOVE);
  }, timeoutMs);
}

// Waits until typed keys reach the control.
inline bool TakesKeys(const ui::TControl& control) {
  return ProcessUntil([&] { return testing_support::TakesKeys(control.Handle()); });
}

// Presses a key once and waits until the application has handled the whole
// press: this thread's key state flips a key's toggle bit at each press it
// reads and clears its down bit at each release.
inline testing::AssertionResult Press(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  std::vector<std::pair<WORD, SHORT>> toggles{{vk, GetKeyState(vk) & 1}};
  for (WORD m : modifiers) toggles.emplace_back(m, GetKeyState(m) & 1);
  const Sent press = PressKey(vk, modifiers);
  if (ProcessUntil([&] {
        for (const auto& [code, toggle] : toggles)
          if ((GetKeyState(code) & 1) == toggle || (GetKeyState(code) & 0x8000)) return false;
        return true;
      }))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "not read " << press;
}

}  // namespace testing_support
