// The command line's parser, its canonical text and the countdown's due time.
#include "command/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

#include "schedule/Countdown.h"
#include "schedule/TimeOfDay.h"
#include "ui/Utf8.h"

namespace command {

// Laid out without columns, and every line that goes on an item indented
// by three blanks: a message box joins those, and wraps each item itself.
const char* const kUsage =
    "Usage: dormix ACTION [WHEN] [/force | /noforce]\n"
    "   or: dormix /run PROGRAM [/args \"...\"] [/then ACTION] [/console]\n"
    "   [/notice] WHEN\n"
    "   or: dormix /cancel | /postpone [DURATION] | /status | /?\n"
    "\n"
    "ACTION is one of /shutdown /logoff /hibernate /standby /restart\n"
    "   /monitoroff /screensaver /lock. Alone, it acts at once, as the tray\n"
    "   menu does.\n"
    "/run PROGRAM - in place of ACTION, a program or script started in its\n"
    "   folder, with /args; /then ACTION once it has ended; /console gives a\n"
    "   console program its window; /notice asks first\n"
    "WHEN sets a one-off countdown instead:\n"
    "/in DURATION - after 90s, 45m, 2h, 1h30m or 1d (a bare number is\n"
    "   minutes), 30 days at most\n"
    "/at HH:MM [/on DAY] - the next time the clock reads HH:MM, or on DAY:\n"
    "   a date like 2026-12-24 or a weekday like fri, within 30 days\n"
    "/idle DURATION - once the keyboard and mouse have rested that long\n"
    "/after PROGRAM - once PROGRAM (a name like x.exe, or a process ID) has\n"
    "   ended\n"
    "/quiet DURATION - once the processor and the network have been quiet\n"
    "   that long: each second below /cpu PERCENT (10) and /net RATE, in\n"
    "   bytes per second like 800, 50k or 2m (50k)\n"
    "/force, /noforce - act by force, or not, this time only\n"
    "/cancel - drop the pending countdown\n"
    "/postpone - the notice shown, or the pending countdown, 10 minutes or\n"
    "   DURATION later\n"
    "/status - the pending countdown and the daily clock\n"
    "\n"
    "Switches may also start with - or --. Without arguments Dormix starts\n"
    "   in the tray. Exit code: 0 done, 1 refused, 2 bad usage.\n";
const char* const kTryUsage = "Try 'dormix /?'";

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "45m", "1h30m", "90s", "1d" or a bare number of minutes; units in the
// order d, h, m, s, each at most once, and after a larger one less than it
// holds (no "1h99m"). A value past the longest countdown stops growing, so
// no number of digits can overflow.
std::variant<std::int64_t, std::string> Duration(const std::string& text) {
  const std::string bad = "Bad duration " + Quoted(text) + ": use 90s, 45m, 2h, 1h30m, 1d or a number of minutes.";
  static const char kUnits[] = "smhd";
  static const std::int64_t kSeconds[] = {1, 60, 3600, 86400, 0};
  static const std::int64_t kMost[] = {59, 59, 23};  // after a larger unit
  if (text.empty()) return bad;
  std::int64_t total = 0;
  std::size_t i = 0;
  int lastPlace = 4;  // the units' places in kUnits
  while (i < text.size()) {
    std::int64_t value = 0;
    const std::size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      if (value <= kLongestCountdown) value = value * 10 + (text[i] - '0');
    if (i == start) return bad;
    int place = 1;
    if (i < text.size()) {
      const char* unit = std::strchr(kUnits, std::tolower(static_cast<unsigned char>(text[i++])));
      place = unit && *unit ? static_cast<int>(unit - kUnits) : 4;
      if (place >= lastPlace || (lastPlace < 4 && value > kMost[place])) return bad;
    } else if (start != 0) {
      return bad;  // "1h30": a unit is needed after the first part
    }
    lastPlace = place;
    total = value > kLongestCountdown ? kLongestCountdown + 1 : std::min(total + value * kSeconds[place], kLongestCountdown + 1);
  }
  if (total > kLongestCountdown) return "Duration " + Quoted(text) + " is longer than 30 days.";
  if (total == 0) return "Duration " + Quoted(text) + " is zero.";
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

int ActionOfSwitch(const std::string& name, Verbs verbs) {
  for (std::size_t i = 0; i < verbs.size(); ++i)
    if (name == verbs[i].commandSwitch) return static_cast<int>(i);
  return -1;
}

// "/cpu 5": 1 to 100. "/net 50k": bytes per second, k and m counting 1024.
std::variant<int, std::string> Percent(const std::string& text) {
  if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos ||
      std::stoi(text) < 1 || std::stoi(text) > 100)
    return "Bad percentage " + Quoted(text) + ": use 1 to 100.";
  return std::stoi(text);
}

std::variant<std::uint64_t, std::string> Rate(const std::string& text) {
  const std::string bad = "Bad rate " + Quoted(text) + ": use bytes per second, like 800, 50k or 2m.";
  const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
  const std::string unit = Lower(text.substr(digits));
  if (digits == 0 || digits > 9 || (unit != "" && unit != "k" && unit != "m")) return bad;
  const std::uint64_t rate = std::stoull(text.substr(0, digits)) * (unit == "m" ? 1 << 20 : unit == "k" ? 1 << 10 : 1);
  if (rate == 0) return bad;
  return rate;
}

// The rate in its largest exact unit: never more digits than it was given
// with, so that the running copy's parser takes it back.
std::string RateArgument(std::uint64_t rate) {
  if (rate % (1 << 20) == 0) return std::to_string(rate >> 20) + "m";
  if (rate % (1 << 10) == 0) return std::to_string(rate >> 10) + "k";
  return std::to_string(rate);
}

}  // namespace

std::string Quoted(const std::string& argument) { return "'" + ui::Shortened(argument, 60) + "'"; }

std::variant<Command, std::string> ParseCommandLine(const std::vector<std::string>& arguments, Verbs verbs) {
  Command command;
  std::string actionWord, whenWord, forceWord, cpuWord, netWord;
  std::string onWord, argsWord, thenWord, consoleWord, noticeWord;  // and /run's in actionWord
  schedule::Run run;
  int then = -1;
  auto twice = [](const char* what, const std::string& first, const std::string& second) {
    return std::string("Two ") + what + ": " + Quoted(first) + " and " + Quoted(second) + ".";
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    const std::optional<std::string> switchName = SwitchName(word);
    if (!switchName) return "Unexpected argument " + Quoted(word) + ".";
    const std::string& name = *switchName;
    const bool last = i + 1 == arguments.size();
    if (const int action = ActionOfSwitch(name, verbs); action >= 0) {
      if (!actionWord.empty()) return twice("actions", actionWord, word);
      actionWord = word;
      command.action = action;
    } else if (name == "cpu" || name == "net") {
      std::string& seen = name == "cpu" ? cpuWord : netWord;
      if (!seen.empty()) return twice("limits", seen, word);
      seen = word;
      if (last) return Quoted(word) + (name == "cpu" ? " needs a percentage, like 10." : " needs a rate, like 50k.");
      const std::string& value = arguments[++i];
      if (name == "cpu") {
        const auto percent = Percent(value);
        if (const auto* error = std::get_if<std::string>(&percent)) return *error;
        command.limits.percent = std::get<int>(percent);
      } else {
        const auto rate = Rate(value);
        if (const auto* error = std::get_if<std::string>(&rate)) return *error;
        command.limits.bytesPerSecond = std::get<std::uint64_t>(rate);
      }
    } else if (name == "in" || name == "at" || name == "idle" || name == "after" || name == "quiet") {
      if (!whenWord.empty()) return twice("countdowns", whenWord, word);
      whenWord = word;
      if (last)
        return Quoted(word) + (name == "at"      ? " needs a time, like 23:30."
                             : name == "after" ? " needs a program, like x.exe, or a process ID."
                                               : " needs a duration, like 45m or 1h30m.");
      const std::string& value = arguments[++i];
      if (name == "at") {
        const std::optional<int> minute = schedule::MinuteOfDay(value);
        if (!minute) return "Bad time " + Quoted(value) + ": use HH:MM, 00:00 to 23:59.";
        command.when = Command::When::At;
        command.minuteOfDay = *minute;
      } else if (name == "after") {
        command.when = Command::When::After;
        command.program = value;
        if (value.empty() || ui::CharacterCount(value) > kLongestProgram) return "Bad program " + Quoted(value) + ".";
      } else {
        const auto duration = Duration(value);
        if (const auto* error = std::get_if<std::string>(&duration)) return *error;
        command.when = name == "in" ? Command::When::In : name == "idle" ? Command::When::Idle : Command::When::Quiet;
        command.seconds = std::get<std::int64_t>(duration);
      }
    } else if (name == "run" || name == "args" || name == "then" || name == "on") {
      std::string& seen = name == "run" ? actionWord : name == "args" ? argsWord : name == "then" ? thenWord : onWord;
      if (!seen.empty())
        return twice(name == "run" ? "actions" : name == "args" ? "arguments" : name == "then" ? "actions after the program" : "days",
                     seen, word);
      seen = word;
      if (last)
        return Quoted(word) + (name == "run"    ? " needs a program, like backup.cmd."
                               : name == "args" ? " needs the program's arguments, in quotes."
                               : name == "then" ? " needs an action, like shutdown."
                                                : " needs a day, like 2026-12-24 or fri.");
      const std::string& value = arguments[++i];
      if (name == "run") {
        // A quote cannot be part of a file's name, and would end its quoting.
        if (value.empty() || ui::CharacterCount(value) > kLongestProgram || value.find('"') != std::string::npos)
          return "Bad program " + Quoted(value) + ".";
        run.program = value;
      } else if (name == "args") {
        if (ui::CharacterCount(value) > kLongestArguments) return "The arguments are longer than 1024 characters.";
        run.arguments = value;
      } else if (name == "then") {
        then = ActionOfSwitch(SwitchName(value).value_or(Lower(value)), verbs);
        if (then < 0) return "Bad action " + Quoted(value) + " after /then: use one like shutdown.";
      } else {
        command.day = schedule::ParseDay(value);
        if (!command.day) return "Bad day " + Quoted(value) + ": use a date like 2026-12-24 or a weekday like fri.";
      }
    } else if (name == "console" || name == "notice") {
      std::string& seen = name == "console" ? consoleWord : noticeWord;
      if (!seen.empty()) return twice("switches", seen, word);
      seen = word;
      (name == "console" ? run.console : run.notice) = true;
    } else if (name == "force" || name == "noforce") {
      if (!forceWord.empty()) return twice("force switches", forceWord, word);
      forceWord = word;
      command.force = name == "force";
    } else if (name == "postpone") {
      if (arguments.size() > 2 || i != 0) return Quoted(word) + " stands alone, or with a duration.";
      command.kind = Command::Kind::Postpone;
      command.seconds = kDefaultPostpone;
      if (last) return command;
      const auto duration = Duration(arguments[1]);
      if (const auto* error = std::get_if<std::string>(&duration)) return *error;
      command.seconds = std::get<std::int64_t>(duration);
      return command;
    } else if (name == "cancel" || name == "status" || name == "?" || name == "h" || name == "help") {
      if (arguments.size() != 1) return Quoted(word) + " stands alone.";
      command.kind = name == "cancel"   ? Command::Kind::Cancel
                     : name == "status" ? Command::Kind::Status
                                        : Command::Kind::Usage;
      return command;
    } else {
      return "Unknown switch " + Quoted(word) + ".";
    }
  }
  if (run.program.empty())
    for (const std::string* with : {&argsWord, &thenWord, &consoleWord, &noticeWord})
      if (!with->empty()) return Quoted(*with) + " goes with /run.";
  if (actionWord.empty()) {
    if (arguments.empty()) return command;
    return Quoted(!whenWord.empty() ? whenWord : !forceWord.empty() ? forceWord : cpuWord + netWord) +
           " needs an action, like /shutdown.";
  }
  if (command.when != Command::When::Quiet && !(cpuWord + netWord).empty())
    return Quoted(cpuWord.empty() ? netWord : cpuWord) + " goes with /quiet.";
  if (command.when != Command::When::At && !onWord.empty()) return Quoted(onWord) + " goes with /at.";
  if (!run.program.empty()) {
    if (command.when == Command::When::Now) return Quoted(actionWord) + " needs a countdown, like /in 45m or /at 02:00.";
    command.run = std::move(run);
    command.action = then;
  }
  command.kind = Command::Kind::Run;
  return command;
}

std::vector<std::string> CommandArguments(const Command& command, Verbs verbs) {
  switch (command.kind) {
    case Command::Kind::Cancel: return {"/cancel"};
    case Command::Kind::Postpone: return {"/postpone", std::to_string(command.seconds) + "s"};
    case Command::Kind::Status: return {"/status"};
    case Command::Kind::Usage: return {"/?"};
    case Command::Kind::Run: break;
  }
  std::vector<std::string> arguments;
  auto add = [&](const char* when, std::string value) {
    arguments.push_back(when);
    arguments.push_back(std::move(value));
  };
  if (const std::optional<schedule::Run>& run = command.run) {
    add("/run", run->program);
    if (!run->arguments.empty()) add("/args", run->arguments);
    if (command.action >= 0) add("/then", verbs[command.action].commandSwitch);
    if (run->console) arguments.push_back("/console");
    if (run->notice) arguments.push_back("/notice");
  } else {
    arguments.push_back(std::string("/") + verbs[command.action].commandSwitch);
  }
  switch (command.when) {
    case Command::When::In: add("/in", std::to_string(command.seconds) + "s"); break;
    case Command::When::Idle: add("/idle", std::to_string(command.seconds) + "s"); break;
    case Command::When::At:
      add("/at", schedule::TimeText({command.minuteOfDay / 60, command.minuteOfDay % 60}));
      if (command.day) add("/on", schedule::DayText(*command.day));
      break;
    case Command::When::After: add("/after", command.program); break;
    case Command::When::Quiet:
      add("/quiet", std::to_string(command.seconds) + "s");
      add("/cpu", std::to_string(command.limits.percent));
      add("/net", RateArgument(command.limits.bytesPerSecond));
      break;
    case Command::When::Now: break;
  }
  if (command.force) arguments.push_back(*command.force ? "/force" : "/noforce");
  return arguments;
}

std::vector<std::string> ProgramNames(const std::string& program) {
  if (schedule::IsProcessId(program) || Lower(program).ends_with(".exe")) return {program};
  return {program, program + ".exe"};
}

std::string WindowsLines(const std::string& text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
    lines += text[i];
  }
  return lines;
}

std::string Packed(const std::vector<std::string>& arguments) {
  std::string packed;
  for (const std::string& argument : arguments) packed += argument + '\0';
  return packed;
}

std::vector<std::string> Unpacked(const std::string& packed) {
  std::vector<std::string> arguments;
  for (std::size_t start = 0, end; start < packed.size(); start = end + 1) {
    end = packed.find('\0', start);
    if (end == std::string::npos) end = packed.size();
    arguments.push_back(packed.substr(start, end - start));
  }
  return arguments;
}

}  // namespace command
