// The mutex guard of start-up: with the mutex already held, the running
// copy's window is restored or raised and this copy asks to end.
#include <gtest/gtest.h>

#include "power/QuorinFunction.h"
#include "support/Dormix.h"
#include "ui/Application.h"
#include "ui/Win32Handle.h"

namespace {

ui::unique_hwnd TitledWindow(const std::string& title) {
  return ui::unique_hwnd(CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                         100, nullptr, nullptr, nullptr, nullptr));
}

TEST(SingleInstance, AFreeMutexIsTakenAndNothingElseHappens) {
  ui::TApplication app;
  app.Initialize();
  const ui::unique_hwnd other = TitledWindow(app.Title());
  power::CheckSingleInstance();
  EXPECT_TRUE(power::MutexCreated);
  EXPECT_FALSE(app.Terminated());
  EXPECT_EQ(testing_support::WindowText(other.get()), app.Title());
  power::ReleaseSingleInstance();
}

TEST(SingleInstance, AHeldMutexRestoresTheOtherCopysWindowAndEndsThisOne) {
  ui::TApplication app;
  app.Initialize();
  const ui::unique_handle held(CreateMutexA(nullptr, FALSE, app.Title().c_str()));
  // The window found first (the newest) loses its text; the next one of
  // that text is the running copy's, minimised here.
  const ui::unique_hwnd running = TitledWindow(app.Title());
  ShowWindow(running.get(), SW_MINIMIZE);
  const ui::unique_hwnd newest = TitledWindow(app.Title());
  power::CheckSingleInstance();
  EXPECT_TRUE(power::MutexCreated);
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(testing_support::WindowText(newest.get()), "");
  EXPECT_FALSE(IsIconic(running.get()));
  EXPECT_TRUE(IsWindowVisible(running.get()));
  power::ReleaseSingleInstance();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
