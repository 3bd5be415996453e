// dormix.exe started, refused and ended as a user meets it.
#include <gtest/gtest.h>

#include "support/Dormix.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

int CountWindowsOfClass(const char* className) {
  int count = 0;
  for (HWND w = FindWindowA(className, nullptr); w; w = FindWindowExA(nullptr, w, className, nullptr))
    ++count;
  return count;
}

// A window of this test that the taskbar gives a button: visible, ownerless.
// It lies off the screen, so that screenshots never show it.
ui::unique_hwnd ProbeWindow() {
  return ui::unique_hwnd(CreateWindowExA(0, "STATIC", "Probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, -300, -300,
                                         100, 100, nullptr, nullptr, nullptr, nullptr));
}

TEST(Startup, TheTaskbarCountsAVisibleOwnerlessWindow) {
  const int before = TaskbarButtons();
  ui::unique_hwnd window = ProbeWindow();
  EXPECT_TRUE(PumpUntil([&] { return TaskbarButtons() == before + 1; }));
  window.reset();
  EXPECT_TRUE(PumpUntil([&] { return TaskbarButtons() == before; }));
}

TEST(Startup, FirstStartKeepsRunningWithNoVisibleWindowAndNoTaskbarButton) {
  const int buttonsBefore = TaskbarButtons();
  Process dormix(DormixExe());
  ASSERT_TRUE(dormix.Running());
  ASSERT_TRUE(WaitSettled(dormix));
  for (const char* form : {"TApplication", "TForm1", "TForm3", "TForm4"})
    EXPECT_TRUE(WaitForWindow(dormix.Id(), form, 0)) << form;
  Screenshot("startup-hidden");
  // The taskbar takes window changes in their order: once a window shown
  // after Dormix settled has its button, a button for Dormix would be there.
  ui::unique_hwnd probe = ProbeWindow();
  EXPECT_TRUE(PumpUntil([&] { return TaskbarButtons() > buttonsBefore; }));
  EXPECT_EQ(TaskbarButtons(), buttonsBefore + 1) << "the probe's button alone";
  probe.reset();
  EXPECT_TRUE(PumpUntil([&] { return TaskbarButtons() == buttonsBefore; }));
  EXPECT_TRUE(dormix.Running());
  EXPECT_TRUE(WindowsOf(dormix.Id(), true).empty());
  EXPECT_EQ(TaskbarButtons(), buttonsBefore);
}

TEST(Startup, SecondStartEndsAtOnceWithCodeZeroAndCreatesNothing) {
  Process first(DormixExe());
  ASSERT_TRUE(WaitSettled(first));
  const HWND mainWindow = WaitForWindow(first.Id(), "TForm1", 0);
  Process second(DormixExe());
  EXPECT_EQ(second.WaitExit(), 0u);
  EXPECT_EQ(CountWindowsOfClass("TApplication"), 1);
  EXPECT_EQ(CountWindowsOfClass("TForm1"), 1);
  EXPECT_EQ(WindowText(mainWindow), "Dormix") << "the mutex guard never ran";
  EXPECT_TRUE(first.Running());
}

TEST(Startup, ACopyUnderAnotherFileNameIsRefusedTheSameWay) {
  Process first(DormixExe());
  ASSERT_TRUE(WaitSettled(first));
  const std::string copy = SuiteDir() + "\\Sleeper.exe";
  ASSERT_TRUE(CopyFileA(DormixExe().c_str(), copy.c_str(), FALSE));
  Process second(copy);
  EXPECT_EQ(second.WaitExit(), 0u);
  EXPECT_EQ(CountWindowsOfClass("TApplication"), 1);
  EXPECT_TRUE(first.Running());
}

TEST(Startup, ARunningCopyUnderAnotherFileNameHasItsOwnTitle) {
  const std::string copy = SuiteDir() + "\\Sleeper.exe";
  ASSERT_TRUE(CopyFileA(DormixExe().c_str(), copy.c_str(), FALSE));
  Process dormix(copy);
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_EQ(WindowText(WaitForWindow(dormix.Id(), "TApplication", 0)), "Sleeper");
}

}  // namespace
