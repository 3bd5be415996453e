// Dormix's command line: an action at once or as a one-off countdown
// ("/shutdown /in 45m", "/lock /at 23:30"), and the countdown's /cancel and
// /status. Switches start with "/", "-" or "--" and ignore case. The running
// copy receives a command as the canonical text that CommandText makes, and
// parses it again with ParseCommandLine.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace app {

struct Command {
  enum class Kind { Run, Cancel, Status, Usage };
  enum class When { Now, In, At };
  Kind kind = Kind::Usage;
  int action = -1;            // index in app::Actions, for Run
  std::optional<bool> force;  // /force or /noforce; none: the "Force Action" box
  When when = When::Now;
  std::int64_t seconds = 0;  // for In: more than 0, at most kLongestCountdown
  int minuteOfDay = 0;       // for At: 0 to 1439

  bool operator==(const Command&) const = default;
};

// Longer countdowns are refused, so that no sum of times can overflow.
constexpr std::int64_t kLongestCountdown = 30 * 24 * 60 * 60;
// Bytes of a command's canonical text with its terminator, at most: what
// the running copy accepts from another process.
constexpr unsigned kLongestCommand = 64;

// A command, or the text of what is wrong with the arguments (each one word
// of the command line, the program's name not among them).
std::variant<Command, std::string> ParseCommandLine(const std::vector<std::string>& arguments);
// The same command as switches separated by single spaces.
std::string CommandText(const Command& command);
// The words of a text separated by spaces.
std::vector<std::string> Words(const std::string& text);
// What `dormix /?` prints.
extern const char* const kUsage;

// The answer to a command: the process's exit code and what it prints.
struct Answer {
  int code = 0;  // 0 done, 1 refused, 2 bad usage
  std::string text;
};

}  // namespace app
