// The command line's parser, its canonical text and the countdown's due time.
#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "app/Actions.h"
#include "schedule/TimeOfDay.h"

namespace app {

const char* const kUsage =
    "Usage: dormix ACTION [/in DURATION | /at HH:MM] [/force | /noforce]\n"
    "       dormix /cancel | /status | /?\n"
    "ACTION is one of /shutdown /logoff /hibernate /standby /restart /monitoroff\n"
    "/screensaver /lock, carried out at once, as from the tray menu.\n"
    "  /in DURATION   a one-off countdown instead: 90s, 45m, 2h, 1h30m (a bare\n"
    "                 number is minutes), at most 30 days\n"
    "  /at HH:MM      a one-off countdown to the next such clock time\n"
    "  /force         act by force for this command, /noforce not by force\n"
    "  /cancel        drop the pending countdown\n"
    "  /status        show the pending countdown and the daily clock\n"
    "Switches may also start with - or --. Without arguments Dormix starts in\n"
    "the tray. Exit code: 0 done, 1 refused, 2 bad usage.\n";

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "45m", "1h30m", "90s" or a bare number of minutes; units in the order h,
// m, s, each at most once. A value past the longest countdown stops growing,
// so no number of digits can overflow.
std::variant<std::int64_t, std::string> Duration(const std::string& text) {
  const std::string bad = "Bad duration '" + text + "': use 90s, 45m, 2h, 1h30m or a number of minutes.";
  if (text.empty()) return bad;
  std::int64_t total = 0;
  std::size_t i = 0;
  int lastUnit = 4;  // the units' places: h 3, m 2, s 1
  while (i < text.size()) {
    std::int64_t value = 0;
    const std::size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      if (value <= kLongestCountdown) value = value * 10 + (text[i] - '0');
    if (i == start) return bad;
    std::int64_t unit = 60;
    int place = 2;
    if (i < text.size()) {
      const char u = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
      place = u == 'h' ? 3 : u == 'm' ? 2 : u == 's' ? 1 : 0;
      unit = u == 'h' ? 3600 : u == 'm' ? 60 : 1;
      if (place == 0 || place >= lastUnit) return bad;
    } else if (start != 0) {
      return bad;  // "1h30": a unit is needed after the first part
    }
    lastUnit = place;
    total = value > kLongestCountdown ? kLongestCountdown + 1 : std::min(total + value * unit, kLongestCountdown + 1);
  }
  if (total > kLongestCountdown) return "Duration '" + text + "' is longer than 30 days.";
  if (total == 0) return "Duration '" + text + "' is zero.";
  return total;
}

// The switch's name in lower case, without its "/", "-" or "--"; nothing
// for an argument that is no switch.
std::optional<std::string> SwitchName(std::string_view argument) {
  if (argument.starts_with("--"))
    argument.remove_prefix(2);
  else if (argument.starts_with('/') || argument.starts_with('-'))
    argument.remove_prefix(1);
  else
    return std::nullopt;
  return Lower(argument);
}

int ActionOfSwitch(const std::string& name) {
  for (int i = 0; i < kActionCount; ++i)
    if (name == Actions[i].commandSwitch) return i;
  return -1;
}

}  // namespace

std::variant<Command, std::string> ParseCommandLine(const std::vector<std::string>& arguments) {
  Command command;
  std::string actionWord, whenWord, forceWord, aloneWord;
  auto twice = [](const char* what, const std::string& first, const std::string& second) {
    return std::string("Two ") + what + ": '" + first + "' and '" + second + "'.";
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    const std::optional<std::string> switchName = SwitchName(word);
    if (!switchName) return "Unexpected argument '" + word + "'.";
    const std::string& name = *switchName;
    if (const int action = ActionOfSwitch(name); action >= 0) {
      if (!actionWord.empty()) return twice("actions", actionWord, word);
      actionWord = word;
      command.action = action;
    } else if (name == "in" || name == "at") {
      if (!whenWord.empty()) return twice("countdown times", whenWord, word);
      whenWord = word;
      if (i + 1 == arguments.size())
        return "'" + word + (name == "in" ? "' needs a duration, like 45m or 1h30m." : "' needs a time, like 23:30.");
      const std::string& value = arguments[++i];
      if (name == "in") {
        const auto duration = Duration(value);
        if (const auto* error = std::get_if<std::string>(&duration)) return *error;
        command.when = Command::When::In;
        command.seconds = std::get<std::int64_t>(duration);
      } else {
        const std::optional<int> minute = schedule::MinuteOfDay(value);
        if (!minute) return "Bad time '" + value + "': use HH:MM, 00:00 to 23:59.";
        command.when = Command::When::At;
        command.minuteOfDay = *minute;
      }
    } else if (name == "force" || name == "noforce") {
      if (!forceWord.empty()) return twice("force switches", forceWord, word);
      forceWord = word;
      command.force = name == "force";
    } else if (name == "cancel" || name == "status" || name == "?") {
      if (arguments.size() != 1) return "'" + word + "' stands alone.";
      command.kind = name == "cancel" ? Command::Kind::Cancel
                     : name == "status" ? Command::Kind::Status
                                        : Command::Kind::Usage;
      return command;
    } else {
      return "Unknown switch '" + word + "'.";
    }
  }
  if (actionWord.empty()) {
    if (arguments.empty()) return command;
    return "'" + (whenWord.empty() ? forceWord : whenWord) + "' needs an action, like /shutdown.";
  }
  command.kind = Command::Kind::Run;
  return command;
}

std::string CommandText(const Command& command) {
  switch (command.kind) {
    case Command::Kind::Cancel: return "/cancel";
    case Command::Kind::Status: return "/status";
    case Command::Kind::Usage: return "/?";
    case Command::Kind::Run: break;
  }
  std::string text = std::string("/") + Actions[command.action].commandSwitch;
  if (command.when == Command::When::In) text += " /in " + std::to_string(command.seconds) + "s";
  if (command.when == Command::When::At) text += " /at " + schedule::TimeText({command.minuteOfDay / 60, command.minuteOfDay % 60});
  if (command.force) text += *command.force ? " /force" : " /noforce";
  return text;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while ((start = text.find_first_not_of(' ', start)) != std::string::npos) {
    const std::size_t end = text.find(' ', start);
    words.push_back(text.substr(start, end - start));
    start = end;
  }
  return words;
}

}  // namespace app
