// The "Exit" menu command ends Dormix with exit code 0, and the next start
// runs again.
#include <gtest/gtest.h>

#include "support/Dormix.h"

namespace {

using namespace testing_support;

// Menu commands are numbered from 1 in the order of the main window's menu:
// Main, the clock switch, Exit, ...
constexpr UINT kExit1 = 3;

TEST(Exit, TheExitCommandEndsTheProcessWithCodeZero) {
  Process dormix(DormixExe());
  ASSERT_TRUE(WaitForWindow(dormix.Id(), "TForm2"));
  WaitForInputIdle(dormix.Handle(), 10000);
  const HWND popupList = WaitForWindow(dormix.Id(), "TPopupList", 0);
  ASSERT_TRUE(popupList);
  PostMessageA(popupList, WM_COMMAND, kExit1, 0);
  EXPECT_EQ(dormix.WaitExit(), 0u);

  Process again(DormixExe());
  ASSERT_TRUE(WaitForWindow(again.Id(), "TForm2")) << "the guards went with the first process";
  EXPECT_TRUE(again.Running());
}

}  // namespace
