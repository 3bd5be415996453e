// The policies read by name, the way the settings read their own values.
#include "policy/Policy.h"

namespace policy {

Policies ReadPolicies(const std::function<std::optional<std::string>(const char* name)>& read) {
  Policies policies;
  for (const char* name : kPolicyNames)
    if (std::optional<std::string> text = read(name)) policies.emplace(name, std::move(*text));
  return policies;
}

const std::string* PolicyFor(const Policies& policies, const std::string& name) {
  const auto at = policies.find(name);
  return at == policies.end() ? nullptr : &at->second;
}

}  // namespace policy
