// The command line: each line gives a command, shown as the canonical text
// the running copy receives (and parses back to the same command), or the
// exact text of what is wrong with it.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, GivesTheCommandOrWhatIsWrong) {
  const std::string bad = "': use 90s, 45m, 2h, 1h30m or a number of minutes.";
  const struct {
    const char* line;
    std::string expected;
  } cases[] = {
      {"/shutdown", "/shutdown"},
      {"-LogOff --IN 90s", "/logoff /in 90s"},
      {"/hibernate /in 45", "/hibernate /in 2700s"},
      {"/lock /in 1h30m /force", "/lock /in 5400s /force"},
      {"/restart /at 7:05 /noforce", "/restart /at 07:05 /noforce"},
      {"/standby /in 2H5S", "/standby /in 7205s"},
      {"/monitoroff /at 00:00", "/monitoroff /at 00:00"},
      {"/screensaver /in 720h", "/screensaver /in 2592000s"},
      {"/cancel", "/cancel"},
      {"--Status", "/status"},
      {"-?", "/?"},
      {"/lock /in 720h1s", "Duration '720h1s' is longer than 30 days."},
      {"/lock /in 99999999999999999999999999m", "Duration '99999999999999999999999999m' is longer than 30 days."},
      {"/lock /in 4294967296s", "Duration '4294967296s' is longer than 30 days."},
      {"/lock /in 0h0m", "Duration '0h0m' is zero."},
      {"/lock /in 30m1h", "Bad duration '30m1h" + bad},
      {"/lock /in 1m1m", "Bad duration '1m1m" + bad},
      {"/lock /in 1h30", "Bad duration '1h30" + bad},
      {"/lock /in 5d", "Bad duration '5d" + bad},
      {"/lock /in -5m", "Bad duration '-5m" + bad},
      {"/lock /in h", "Bad duration 'h" + bad},
      {"/lock /at 25:00", "Bad time '25:00': use HH:MM, 00:00 to 23:59."},
      {"/lock /at 23:60", "Bad time '23:60': use HH:MM, 00:00 to 23:59."},
      {"/lock /at 123:00", "Bad time '123:00': use HH:MM, 00:00 to 23:59."},
      {"/lock /at 7", "Bad time '7': use HH:MM, 00:00 to 23:59."},
      {"/lock /in", "'/in' needs a duration, like 45m or 1h30m."},
      {"/lock -at", "'-at' needs a time, like 23:30."},
      {"/in 5m", "'/in' needs an action, like /shutdown."},
      {"/noforce", "'/noforce' needs an action, like /shutdown."},
      {"/logoff /LOCK", "Two actions: '/logoff' and '/LOCK'."},
      {"/lock /in 5m /at 10:00", "Two countdown times: '/in' and '/at'."},
      {"/lock /force /noforce", "Two force switches: '/force' and '/noforce'."},
      {"/status /lock", "'/status' stands alone."},
      {"/lock /cancel", "'/cancel' stands alone."},
      {"/reboot", "Unknown switch '/reboot'."},
      {"--", "Unknown switch '--'."},
      {"shutdown", "Unexpected argument 'shutdown'."},
  };
  for (const auto& c : cases) {
    const auto parsed = app::ParseCommandLine(app::Words(c.line));
    if (const auto* error = std::get_if<std::string>(&parsed)) {
      EXPECT_EQ(*error, c.expected) << c.line;
      continue;
    }
    const app::Command& command = std::get<app::Command>(parsed);
    EXPECT_EQ(app::CommandText(command), c.expected) << c.line;
    EXPECT_EQ(app::ParseCommandLine(app::Words(app::CommandText(command))), decltype(parsed)(command)) << c.line;
  }
}

}  // namespace
