// dormix.exe started, refused and ended as a user meets it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

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
  EXPECT_TRUE(ExitThroughMenu(dormix));
}

// Ten copies made suspended and let go together race for the guards: one
// stays, with one icon in the tray; the others end with code 0.
TEST(Startup, TenCopiesStartedAtOnceLeaveOneRunningWithItsTrayIcon) {
  ASSERT_GE(TaskbarButtons(), 0) << "the tray is up before the copies start";
  ASSERT_TRUE(PumpUntil([] { return !TrayIconShown(); })) << "an icon is left from before";
  std::vector<std::unique_ptr<Process>> copies;
  for (int i = 0; i < 10; ++i) copies.push_back(std::make_unique<Process>(DormixExe(), "", Process::Start::kSuspended));
  for (const auto& copy : copies) copy->Resume();

  const auto running = [&] {
    int count = 0;
    for (const auto& copy : copies) count += copy->Running();
    return count;
  };
  EXPECT_TRUE(PumpUntil([&] { return running() <= 1; }, 30000)) << running() << " running";
  ASSERT_EQ(running(), 1);
  Process* survivor = nullptr;
  for (const auto& copy : copies)
    if (copy->Running())
      survivor = copy.get();
    else
      EXPECT_EQ(copy->WaitExit(0), 0u);
  ASSERT_TRUE(WaitSettled(*survivor));
  EXPECT_EQ(CountWindowsOfClass("TApplication"), 1);
  EXPECT_TRUE(PumpUntil(TrayIconShown));
  EXPECT_FALSE(TrayIconAt(kSecondTrayIcon)) << "a second icon";
  Screenshot("ten-copies");
  EXPECT_TRUE(ExitThroughMenu(*survivor)) << "the icon stays after the exit";
}

// A copy under another file name has that name for its title, also the name
// of the file mapping that keeps a second copy out ("Dormix": then the mutex
// of that name cannot be made); a second start of it or of dormix.exe ends
// with code 0 before it creates anything or its mutex guard runs.
TEST(Startup, ACopyUnderAnotherFileNameRunsUnderItsOwnTitleAndASecondStartEndsAtOnce) {
  for (const std::string name : {"Sleeper", "Dormix"}) {
    SCOPED_TRACE(name);
    const std::string copy = SuiteDir() + "\\" + name + ".exe";
    ASSERT_TRUE(CopyFileA(DormixExe().c_str(), copy.c_str(), FALSE));
    Process first(copy);
    ASSERT_TRUE(WaitSettled(first));
    EXPECT_EQ(WindowText(WaitForWindow(first.Id(), "TApplication", 0)), name);
    EXPECT_TRUE(PumpUntil(TrayIconShown));
    for (const std::string& exe : {copy, DormixExe()}) {
      Process second(exe);
      EXPECT_EQ(second.WaitExit(), 0u) << exe;
    }
    EXPECT_EQ(CountWindowsOfClass("TApplication"), 1);
    EXPECT_EQ(CountWindowsOfClass("TForm1"), 1);
    EXPECT_EQ(WindowText(WaitForWindow(first.Id(), "TForm1", 0)), "Dormix") << "a second mutex guard ran";
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(ExitThroughMenu(first));
  }
}

// The first start, and a start while Dormix runs, say in a balloon over the
// tray icon where Dormix runs; the first start's is recorded once shown.
TEST(Startup, TheFirstStartAndAStartWhileItRunsSayWhereDormixRuns) {
  const auto balloon = [](bool shown) {
    return PumpUntil([&] {
      for (HWND t = FindWindowA("tooltips_class32", nullptr); t; t = FindWindowExA(nullptr, t, "tooltips_class32", nullptr))
        if (IsWindowVisible(t) && ShownText(t).find("Right-click it for the menu") != std::string::npos) return shown;
      return !shown;
    }, 40000);
  };
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Velto Software");
  Process first(DormixExe());
  EXPECT_TRUE(WaitSettled(first) && balloon(true)) << "at the first start";
  EXPECT_EQ(StoredText(app::kSettingsKey, app::kIntroducedValue.c_str()), "1");
  EXPECT_TRUE(balloon(false));
  EXPECT_EQ(Process(DormixExe()).WaitExit(), 0u);
  EXPECT_TRUE(balloon(true)) << "at a start while it runs";
  EXPECT_TRUE(ExitThroughMenu(first));
}

}  // namespace
