// Who may have the running copy start a program ("/run"): only a process of
// the user it runs as, at the same integrity level or a higher one, since
// any process on the desktop can send a window a message; and a copy that
// runs elevated starts none, so that no program inherits its rights. The
// decision is here; the tokens are read in RunTrust_win32.cpp.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace command {

// What a process's token says of it.
struct TokenFacts {
  std::string user;             // the user's SID, as text
  std::uint32_t integrity = 0;  // the mandatory label's level: 0x2000 medium, 0x3000 high
  bool elevated = false;
};

// Why `sender` may not have a program started by `self`; nothing when it
// may. A sender whose token could not be read is refused.
std::optional<std::string> RunRefusal(const TokenFacts& self, const std::optional<TokenFacts>& sender);

// The same for a process by its id, read from its token (Win32 only); an
// unknown id refuses.
std::optional<std::string> RunRefusalFor(std::optional<std::uint32_t> senderId);

}  // namespace command
