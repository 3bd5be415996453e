// Group Policy over the settings: an administrator's values in the machine's
// policy key, each named as the setting it overrides, as text (a REG_DWORD
// as its decimal digits); the settings hold to a policy only when it is of
// its setting's kind, and set any other aside. Windows keeps this key apart from the
// 32-bit view of the machine's software key, so a 32-bit program reads it as
// the policy editor writes it.
#pragma once
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace policy {

inline const std::string kPolicyKey = "Software\\Policies\\Velto Software\\Dormix";

// The settings a policy may set, by their value names in the settings key.
inline constexpr std::array<const char*, 8> kPolicyNames = {"Enabled",     "EndTime",     "Code",      "ShowMessage",
                                                             "MessageTime", "ForceAction", "AutoStart", "Days"};

// The policies in force, by name, as text; none without a policy key.
using Policies = std::map<std::string, std::string, std::less<>>;

// Reads each policy with `read`, which gives nothing for a value that is
// missing or is no text.
Policies ReadPolicies(const std::function<std::optional<std::string>(const char* name)>& read);

// The policy's text for the setting `name`, or null when no policy sets it.
const std::string* PolicyFor(const Policies& policies, const std::string& name);

}  // namespace policy
