// Ok's rules for the fields a policy may hold: refused while the user can
// change them, never while a policy holds them.
#include "app/OptionChecks.h"

#include <gtest/gtest.h>

namespace {

TEST(OptionChecks, RefusesOnlyAFieldTheUserCanChange) {
  const struct {
    const char *endTime, *messageTime;
    bool held;
    std::optional<app::Refusal::Field> refused;
  } rows[] = {
      {"09:45", "0", false, std::nullopt},
      {"7_:0_", "15", false, app::Refusal::kEndTime},
      {"24:00", "15", false, app::Refusal::kEndTime},
      {"07:30", "10000", false, app::Refusal::kMessageTime},
      {"07:30", "abc", false, app::Refusal::kMessageTime},
      {"7_:0_", "abc", true, std::nullopt},
  };
  for (const auto& row : rows) {
    app::OptionsEntry entry;
    entry.EndTime = row.endTime;
    entry.MessageTime = row.messageTime;
    entry.EndTimeHeld = entry.MessageTimeHeld = row.held;
    const auto refusal = app::CheckOptions(entry, [](const std::string&) { return true; });
    EXPECT_EQ(refusal ? std::optional(refusal->field) : std::nullopt, row.refused) << row.endTime << " " << row.messageTime;
  }
}

}  // namespace
