// The command line: each line gives a command, shown as the canonical
// arguments the running copy receives, or the exact text of what is wrong
// with it.
#include "app/Actions.h"
#include "command/CommandLine.h"

#include <gtest/gtest.h>

namespace {

// The words of a line separated by blanks, as a console splits them.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  for (std::size_t start = 0, end; (start = line.find_first_not_of(' ', start)) != std::string::npos; start = end)
    words.push_back(line.substr(start, (end = line.find(' ', start)) - start));
  return words;
}

std::string Times(const std::string& text, int n) { return n ? text + Times(text, n - 1) : ""; }

TEST(CommandLine, GivesTheCommandOrWhatIsWrong) {
  const std::string longName(70, 'x');
  const struct {
    std::vector<std::string> arguments;
    std::string expected;
  } cases[] = {
      {Words("-LogOff --IN 90s"), "/logoff /in 90s"},
      {Words("/hibernate /in 45"), "/hibernate /in 2700s"},
      {Words("/lock /in 1h30m /force"), "/lock /in 5400s /force"},
      {Words("/restart /at 7:05 /noforce"), "/restart /at 07:05 /noforce"},
      {Words("/screensaver /in 720h"), "/screensaver /in 2592000s"},
      {Words("/screensaver /in 30d"), "/screensaver /in 2592000s"},
      {Words("/shutdown /in 1d2h3m4s"), "/shutdown /in 93784s"},
      {Words("/shutdown /idle 30m"), "/shutdown /idle 1800s"},
      {{"/hibernate", "/after", "my render.exe"}, "/hibernate /after my render.exe"},
      {Words("/hibernate /after ffmpeg"), "/hibernate /after ffmpeg"},
      {Words("/logoff /after 1234 /force"), "/logoff /after 1234 /force"},
      {Words("/shutdown /quiet 10m"), "/shutdown /quiet 600s /cpu 10 /net 50k"},
      {Words("/cpu 5 /net 2M /hibernate /quiet 1h"), "/hibernate /quiet 3600s /cpu 5 /net 2m"},
      {Words("/lock /quiet 5m /net 954m"), "/lock /quiet 300s /cpu 10 /net 954m"},
      {Words("/lock /quiet 5m /net 1000000k /cpu 100"), "/lock /quiet 300s /cpu 100 /net 1000000k"},
      {Words("/lock /quiet 5m /net 999999999m /cpu 1"), "/lock /quiet 300s /cpu 1 /net 999999999m"},
      {Words("/lock /quiet 30d /net 1025"), "/lock /quiet 2592000s /cpu 10 /net 1025"},
      {Words("/lock /quiet 5m /cpu 101"), "Bad percentage '101': use 1 to 100."},
      {{"/screensaver", "/after", Times("😀", 260), "/force"}, "/screensaver /after " + Times("😀", 260) + " /force"},
      {{"/lock", "/after", Times("ü", 261)}, "Bad program '" + Times("ü", 57) + "...'."},
      {Words("/lock /quiet 5m /cpu 0"), "Bad percentage '0': use 1 to 100."},
      {Words("/lock /quiet 5m /net 5g"), "Bad rate '5g': use bytes per second, like 800, 50k or 2m."},
      {Words("/lock /quiet 5m /net 9999999999k"), "Bad rate '9999999999k': use bytes per second, like 800, 50k or 2m."},
      {Words("/lock /in 5m /cpu 5"), "'/cpu' goes with /quiet."},
      {Words("/postpone"), "/postpone 600s"},
      {Words("--postpone 15m"), "/postpone 900s"},
      {Words("--help"), "/?"},
      {Words("-h"), "/?"},
      {Words("/lock /in 720h1s"), "Duration '720h1s' is longer than 30 days."},
      {Words("/lock /in 99999999999999999999999999m"), "Duration '99999999999999999999999999m' is longer than 30 days."},
      {Words("/lock /in 0h0m"), "Duration '0h0m' is zero."},
      {Words("/lock /in 30m1h"), "Bad duration '30m1h': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes."},
      {Words("/lock /in 1h99m"), "Bad duration '1h99m': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes."},
      {Words("/lock /idle 1d24h"), "Bad duration '1d24h': use 90s, 45m, 2h, 1h30m, 1d or a number of minutes."},
      {Words("/lock /at 25:00"), "Bad time '25:00': use HH:MM, 00:00 to 23:59."},
      {Words("/lock /in"), "'/in' needs a duration, like 45m or 1h30m."},
      {Words("/lock /after"), "'/after' needs a program, like x.exe, or a process ID."},
      {{"/lock", "/after", std::string(261, 'p')}, "Bad program '" + std::string(57, 'p') + "...'."},
      {Words("/in 5m"), "'/in' needs an action, like /shutdown."},
      {Words("/lock /in 5m /idle 5m"), "Two countdowns: '/in' and '/idle'."},
      {Words("/logoff /LOCK"), "Two actions: '/logoff' and '/LOCK'."},
      {Words("/postpone 5m /lock"), "'/postpone' stands alone, or with a duration."},
      {Words("/hibernate /at 18:00 /on 2026-12-24"), "/hibernate /at 18:00 /on 2026-12-24"},
      {Words("/hibernate /on FRIDAY /at 6:00"), "/hibernate /at 06:00 /on fri"},
      {Words("/lock /at 18:00 /on 2027-02-29"), "Bad day '2027-02-29': use a date like 2026-12-24 or a weekday like fri."},
      {Words("/lock /in 5m /on fri"), "'/on' goes with /at."},
      {Words("/lock /at 18:00 /on"), "'/on' needs a day, like 2026-12-24 or fri."},
      {{"/run", "C:\\b\\backup.cmd", "--args", "-v \"x y\"", "/then", "/Shutdown", "/at", "2:00", "/force"},
       "/run C:\\b\\backup.cmd /args -v \"x y\" /then shutdown /at 02:00 /force"},
      {Words("/notice /run x.exe /console /idle 5m"), "/run x.exe /console /notice /idle 300s"},
      {Words("/run x.exe /then lock /after 1234"), "/run x.exe /then lock /after 1234"},
      {Words("/run x.exe"), "'/run' needs a countdown, like /in 45m or /at 02:00."},
      {Words("/run x.exe /shutdown /in 5m"), "Two actions: '/run' and '/shutdown'."},
      {Words("/run x.exe /then reboot /in 5m"), "Bad action 'reboot' after /then: use one like shutdown."},
      {{"/run", "a\"b", "/in", "5m"}, "Bad program 'a\"b'."},
      {{"/run", "x", "/args", std::string(1025, 'a'), "/in", "5m"}, "The arguments are longer than 1024 characters."},
      {Words("/shutdown /console /in 5m"), "'/console' goes with /run."},
      {Words("/reboot"), "Unknown switch '/reboot'."},
      {Words("/" + longName), "Unknown switch '/" + longName.substr(0, 56) + "...'."},
  };
  for (const auto& c : cases) {
    const auto parsed = command::ParseCommandLine(c.arguments, app::CommandVerbs());
    std::string shown;
    if (const auto* command = std::get_if<command::Command>(&parsed)) {
      const std::vector<std::string> canonical = command::CommandArguments(*command, app::CommandVerbs());
      EXPECT_EQ(command::Unpacked(command::Packed(canonical)), canonical);
      EXPECT_LE(command::Packed(canonical).size(), command::kLongestCommand);
      EXPECT_EQ(command::ParseCommandLine(canonical, app::CommandVerbs()), parsed) << "parsed back";
      for (const std::string& argument : canonical) shown += (shown.empty() ? "" : " ") + argument;
    } else {
      shown = std::get<std::string>(parsed);
    }
    EXPECT_EQ(shown, c.expected) << c.arguments.front();
  }
}

// "/after Foo.Bar" waits for Foo.Bar.exe too; answers go to files in CR LF.
TEST(CommandLine, MatchesAProgramAsGivenOrWithExeAndEndsLinesInCrLf) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(command::ProgramNames("Microsoft.Photos"), (Names{"Microsoft.Photos", "Microsoft.Photos.exe"}));
  EXPECT_EQ(command::ProgramNames("x.EXE"), Names{"x.EXE"});
  EXPECT_EQ(command::ProgramNames("1234"), Names{"1234"});
  EXPECT_EQ(command::WindowsLines("a\nb\r\n"), "a\r\nb\r\n");
}

}  // namespace
