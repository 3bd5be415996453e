// Who may have a program started.
#include "command/RunTrust.h"

namespace command {

std::optional<std::string> RunRefusal(const TokenFacts& self, const std::optional<TokenFacts>& sender) {
  if (self.elevated)
    return "Dormix runs as an administrator: it starts no programs, so that none runs with those rights.";
  if (!sender) return "'/run' was refused: the process that sent it could not be checked.";
  if (sender->user != self.user) return "'/run' is taken only from the user Dormix runs as.";
  if (sender->integrity < self.integrity) return "'/run' is taken only from a process of the same or higher integrity.";
  return std::nullopt;
}

}  // namespace command
