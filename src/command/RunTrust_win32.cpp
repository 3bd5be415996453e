// The tokens of the running copy and of a command's sender, read through
// the sender's process id.
#include <windows.h>
#include <sddl.h>

#include <vector>

#include "command/RunTrust.h"
#include "ui/Handle.h"
#include "ui/Win32Handle.h"

namespace command {

namespace {

using unique_localmem = ui::UniqueHandle<HLOCAL, &::LocalFree>;

// GetTokenInformation's record of `what`, in a buffer of the size it asks for.
std::vector<char> TokenRecord(HANDLE token, TOKEN_INFORMATION_CLASS what) {
  DWORD size = 0;
  GetTokenInformation(token, what, nullptr, 0, &size);
  std::vector<char> record(size);
  if (!size || !GetTokenInformation(token, what, record.data(), size, &size)) record.clear();
  return record;
}

std::optional<TokenFacts> FactsOf(DWORD processId) {
  const ui::unique_handle process(processId == GetCurrentProcessId()
                                      ? nullptr
                                      : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (processId != GetCurrentProcessId() && !process) return std::nullopt;
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process ? process.get() : GetCurrentProcess(), TOKEN_QUERY, &raw)) return std::nullopt;
  const ui::unique_handle token(raw);
  const std::vector<char> user = TokenRecord(token.get(), TokenUser),
                          label = TokenRecord(token.get(), TokenIntegrityLevel),
                          elevation = TokenRecord(token.get(), TokenElevation);
  if (user.empty()) return std::nullopt;
  TokenFacts facts;
  char* text = nullptr;
  if (!ConvertSidToStringSidA(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, &text)) return std::nullopt;
  const unique_localmem held(text);
  facts.user = text;
  // A system without integrity levels puts every process at medium.
  facts.integrity = SECURITY_MANDATORY_MEDIUM_RID;
  if (!label.empty()) {
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(label.data())->Label.Sid;
    facts.integrity = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1);
  }
  facts.elevated = !elevation.empty() && reinterpret_cast<const TOKEN_ELEVATION*>(elevation.data())->TokenIsElevated;
  return facts;
}

}  // namespace

std::optional<std::string> RunRefusalFor(std::optional<std::uint32_t> senderId) {
  const std::optional<TokenFacts> self = FactsOf(GetCurrentProcessId());
  if (!self) return "'/run' was refused: Dormix could not read its own rights.";
  return RunRefusal(*self, senderId ? FactsOf(*senderId) : std::nullopt);
}

}  // namespace command
