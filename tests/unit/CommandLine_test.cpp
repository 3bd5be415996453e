// The command line: each line gives a command, shown as the canonical text
// the running copy receives, or the exact text of what is wrong with it.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, GivesTheCommandOrWhatIsWrong) {
  const struct {
    const char* line;
    std::string expected;
  } cases[] = {
      {"-LogOff --IN 90s", "/logoff /in 90s"},
      {"/hibernate /in 45", "/hibernate /in 2700s"},
      {"/lock /in 1h30m /force", "/lock /in 5400s /force"},
      {"/restart /at 7:05 /noforce", "/restart /at 07:05 /noforce"},
      {"/screensaver /in 720h", "/screensaver /in 2592000s"},
      {"/lock /in 720h1s", "Duration '720h1s' is longer than 30 days."},
      {"/lock /in 99999999999999999999999999m", "Duration '99999999999999999999999999m' is longer than 30 days."},
      {"/lock /in 0h0m", "Duration '0h0m' is zero."},
      {"/lock /in 30m1h", "Bad duration '30m1h': use 90s, 45m, 2h, 1h30m or a number of minutes."},
      {"/lock /at 25:00", "Bad time '25:00': use HH:MM, 00:00 to 23:59."},
      {"/lock /in", "'/in' needs a duration, like 45m or 1h30m."},
      {"/in 5m", "'/in' needs an action, like /shutdown."},
      {"/logoff /LOCK", "Two actions: '/logoff' and '/LOCK'."},
      {"/reboot", "Unknown switch '/reboot'."},
  };
  for (const auto& c : cases) {
    const auto parsed = app::ParseCommandLine(app::Words(c.line));
    const auto* command = std::get_if<app::Command>(&parsed);
    EXPECT_EQ(command ? app::CommandText(*command) : std::get<std::string>(parsed), c.expected) << c.line;
  }
}

}  // namespace
