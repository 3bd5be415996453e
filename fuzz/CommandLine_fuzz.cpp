// The command line's parser over any arguments (the input's NUL bytes
// separate them): a command is in range, and its canonical arguments, packed,
// fit what the running copy accepts and parse back to the same command.
#include <cstdint>
#include <string>
#include <vector>

#include "Check.h"
#include "app/Actions.h"
#include "command/CommandLine.h"
#include "ui/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i)
    data[i] ? void(arguments.back() += static_cast<char>(data[i])) : void(arguments.emplace_back());
  const auto parsed = command::ParseCommandLine(arguments, app::CommandVerbs());
  const auto* command = std::get_if<command::Command>(&parsed);
  if (!command) return 0;
  const std::string packed = command::Packed(command::CommandArguments(*command, app::CommandVerbs()));
  FUZZ_CHECK(packed.size() <= command::kLongestCommand);
  FUZZ_CHECK(command::ParseCommandLine(command::Unpacked(packed), app::CommandVerbs()) == decltype(parsed)(*command));
  if (command->kind == command::Command::Kind::Postpone)
    FUZZ_CHECK(command->seconds > 0 && command->seconds <= command::kLongestCountdown);
  if (command->kind != command::Command::Kind::Run) return 0;
  // A program as the action has an action after it, or none (-1), and a trigger.
  FUZZ_CHECK(command->action >= (command->run ? -1 : 0) && command->action < app::kActionCount);
  FUZZ_CHECK(!command->run || command->when != command::Command::When::Now);
  if (command->when == command::Command::When::In || command->when == command::Command::When::Idle)
    FUZZ_CHECK(command->seconds > 0 && command->seconds <= command::kLongestCountdown);
  if (command->when == command::Command::When::At) FUZZ_CHECK(command->minuteOfDay >= 0 && command->minuteOfDay < 24 * 60);
  if (command->when == command::Command::When::After)
    FUZZ_CHECK(!command->program.empty() && ui::CharacterCount(command->program) <= command::kLongestProgram);
  return 0;
}
