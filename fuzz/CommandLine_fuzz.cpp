// The command line's parser over any arguments (the input's NUL bytes
// separate them): a command is in range, its canonical text fits what the
// running copy accepts and parses back to the same command, and its
// countdown's span or minute is in range.
#include <cstdint>
#include <string>
#include <vector>

#include "Check.h"
#include "app/Actions.h"
#include "app/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i)
    data[i] ? void(arguments.back() += static_cast<char>(data[i])) : void(arguments.emplace_back());
  const auto parsed = app::ParseCommandLine(arguments);
  const auto* command = std::get_if<app::Command>(&parsed);
  if (!command) return 0;
  const std::string text = app::CommandText(*command);
  FUZZ_CHECK(text.size() < app::kLongestCommand);
  FUZZ_CHECK(app::ParseCommandLine(app::Words(text)) == decltype(parsed)(*command));
  if (command->kind != app::Command::Kind::Run) return 0;
  FUZZ_CHECK(command->action >= 0 && command->action < app::kActionCount);
  if (command->when == app::Command::When::In)
    FUZZ_CHECK(command->seconds > 0 && command->seconds <= app::kLongestCountdown);
  if (command->when == app::Command::When::At) FUZZ_CHECK(command->minuteOfDay >= 0 && command->minuteOfDay < 24 * 60);
  return 0;
}
