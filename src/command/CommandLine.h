// Dormix's command line: an action at once or as a one-off countdown
// ("/shutdown /in 45m", "/lock /at 23:30", "/logoff /idle 30m", "/hibernate
// /after x.exe", "/shutdown /quiet 10m /cpu 5", "/hibernate /at 18:00 /on
// fri"), a program as the action ("/run backup.cmd /at 02:00 /then
// shutdown"), and the countdown's /cancel, /postpone and /status.
// Switches start with "/", "-" or "--" and ignore case. The running copy
// receives a command as its canonical arguments, packed, and parses them
// again with ParseCommandLine. The program's actions are given to it as
// its verbs: the command line knows no table of its own.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "schedule/Countdown.h"
#include "schedule/Load.h"

namespace command {

// What the command line knows of one of the program's actions.
struct Verb {
  const char* commandSwitch;  // without the "/"
  const char* caption;        // as answers name it: "Shut Down"
  // What running it shows first: the pre-operation notice (when the user has
  // it on), the protection panel, or nothing.
  enum class Shows { Nothing, Notice, Panel } shows;
};
using Verbs = std::span<const Verb>;

struct Command {
  enum class Kind { Run, Cancel, Postpone, Status, Usage };
  enum class When { Now, In, At, Idle, After, Quiet };
  Kind kind = Kind::Usage;
  int action = -1;            // index among the verbs, for Run; with `run`, the one after it or -1
  std::optional<bool> force;  // /force or /noforce; none: the "Force Action" box
  When when = When::Now;
  // For In, Idle, Quiet and Postpone: more than 0, at most kLongestCountdown.
  std::int64_t seconds = 0;
  int minuteOfDay = 0;  // for At: 0 to 1439
  std::optional<schedule::Day> day;  // for At: the day "/on" names; none for the next
  std::string program;  // for After: a process id, or a program's file name as given
  schedule::LoadLimits limits;  // for Quiet: /cpu and /net
  std::optional<schedule::Run> run;  // "/run": a program in place of an action

  bool operator==(const Command&) const = default;
};

// Longer countdowns are refused, so that no sum of times can overflow.
constexpr std::int64_t kLongestCountdown = 30 * 24 * 60 * 60;
constexpr std::int64_t kDefaultPostpone = 10 * 60;
// Characters of a program's name after /after, at most.
constexpr std::size_t kLongestProgram = 260;
// Characters of a program's arguments after /args, at most.
constexpr std::size_t kLongestArguments = 1024;
// Bytes of a command's packed arguments, at most: what the running copy
// accepts from another process. The longest command it takes is a /run
// with /after, the program, the one waited for and the arguments of the most
// characters, four bytes each in UTF-8, beside its other switches.
constexpr unsigned kLongestCommand = 4 * (2 * kLongestProgram + kLongestArguments) + 128;

// A command, or the text of what is wrong with the arguments (the program's
// name not among them).
std::variant<Command, std::string> ParseCommandLine(const std::vector<std::string>& arguments, Verbs verbs);
// The same command in the fewest, canonical arguments.
std::vector<std::string> CommandArguments(const Command& command, Verbs verbs);
// The file names an "/after" program's processes may have: the name as
// given, and with ".exe" added unless it ends so ("Microsoft.Photos" is
// "Microsoft.Photos.exe"). A process id is itself.
std::vector<std::string> ProgramNames(const std::string& program);
// Arguments as the running copy receives them, each ended by a NUL, and back.
std::string Packed(const std::vector<std::string>& arguments);
std::vector<std::string> Unpacked(const std::string& packed);
// An argument as an answer repeats it: quoted, a long one cut.
std::string Quoted(const std::string& argument);
// What `dormix /?` prints.
extern const char* const kUsage;
// What follows an error instead of the usage.
extern const char* const kTryUsage;
// Text as Windows writes it to a file or a pipe: every line ended by CR LF.
std::string WindowsLines(const std::string& text);

// The answer to a command: the process's exit code and what it prints.
struct Answer {
  int code = 0;  // 0 done, 1 refused, 2 bad usage
  std::string text;
};

}  // namespace command
