// The pre-operation notice's decisions: the answer, and the exact order in
// which it drives the clock, the player and the notice window, errors and a
// second call during a running notice included.
#include "power/Notice.h"

#include <gtest/gtest.h>

#include "support/PowerFakes.h"
#include "support/UnitHelpers.h"

namespace {

using power_fakes::Journal;
using power_fakes::ShownNotice;

class NoticeTest : public testing::Test {
 protected:
  void SetUp() override {
    power::SetNoticeHost(&host);
    power::NoticeOperation.clear();
    power::NoticeCount = 0;
  }
  void TearDown() override { power::SetNoticeHost(nullptr); }
  Journal journal;
  power_fakes::FakeNoticeHost host{journal};
};

TEST_F(NoticeTest, AnswersTrueOnlyWhenTheNoticeIsNotShownOrEndsWithOk) {
  const struct {
    bool playSound, showMessage;
    int modalResult;
    bool answer;
    Journal calls;
  } cases[] = {
      {false, false, 2, true, {"clock off", "clock on"}},
      {true, false, 2, true, {"clock off", "open C:\\sounds\\bye.wav", "play", "clock on"}},
      {false, true, 1, true, ShownNotice("Restart")},
      {false, true, 2, false, ShownNotice("Restart")},
      {false, true, 0, false, ShownNotice("Restart")},
      {true, true, 1, true, ShownNotice("Restart", true)},
      {true, true, 2, false, ShownNotice("Restart", true)},
  };
  for (const auto& c : cases) {
    journal.clear();
    host.playSound = c.playSound;
    host.showMessage = c.showMessage;
    host.modalResult = c.modalResult;
    EXPECT_EQ(power::ShowOperationNotice("Restart"), c.answer)
        << c.playSound << c.showMessage << c.modalResult;
    EXPECT_EQ(journal, c.calls) << c.playSound << c.showMessage << c.modalResult;
  }
}

// The error passes on, so the action does not happen, but the clock runs
// again: left off, it would never fire another action.
TEST_F(NoticeTest, AnErrorPassesOnWithTheClockRunningAgain) {
  const struct {
    bool playSound;
    std::string openError;
    bool showMessage;
    std::string messageTime;
    std::string error;
    Journal calls;
  } cases[] = {
      {false, "", true, "abc", "'abc' is not a valid integer value", {"clock off", "clock on"}},
      {false, "", true, "", "'' is not a valid integer value", {"clock off", "clock on"}},
      {false, "", true, "15 ", "'15 ' is not a valid integer value", {"clock off", "clock on"}},
      // The sound already started goes on playing.
      {true, "", true, "abc", "'abc' is not a valid integer value",
       {"clock off", "open C:\\sounds\\bye.wav", "play", "clock on"}},
      {true, "Cannot find the specified file.", true, "15", "Cannot find the specified file.",
       {"clock off", "open C:\\sounds\\bye.wav", "clock on"}},
      {true, "Cannot find the specified file.", false, "15", "Cannot find the specified file.",
       {"clock off", "open C:\\sounds\\bye.wav", "clock on"}},
  };
  for (const auto& c : cases) {
    journal.clear();
    host.playSound = c.playSound;
    host.openError = c.openError;
    host.showMessage = c.showMessage;
    host.messageTime = c.messageTime;
    EXPECT_EQ(testing_support::ErrorOf([] { power::ShowOperationNotice("Shut Down"); }), c.error);
    EXPECT_EQ(journal, c.calls) << c.error;
  }
}

TEST_F(NoticeTest, ACallWhileTheNoticeIsShownIsRefusedAndChangesNothing) {
  host.playSound = true;
  host.messageTime = "15";
  bool second = true;
  host.duringNotice = [&] {
    host.messageTime = "3";
    second = power::ShowOperationNotice("Log Off");
  };
  EXPECT_TRUE(power::ShowOperationNotice("Shut Down"));
  EXPECT_FALSE(second);
  EXPECT_EQ(journal, ShownNotice("Shut Down", true));
}

}  // namespace
