// The "Exit" menu command ends Dormix with exit code 0, and the next start
// runs again.
#include <gtest/gtest.h>

#include "support/Dormix.h"

namespace {

using namespace testing_support;

TEST(Exit, TheExitCommandEndsTheProcessWithCodeZero) {
  Process dormix(DormixExe());
  ASSERT_TRUE(WaitSettled(dormix));
  ChooseMenuCommand(dormix, 1003);  // Exit
  EXPECT_EQ(dormix.WaitExit(), 0u);

  Process again(DormixExe());
  ASSERT_TRUE(WaitForWindow(again.Id(), "TForm2")) << "the guards went with the first process";
  EXPECT_TRUE(again.Running());
}

}  // namespace
