// The policies read by name, the way the settings read their own values.
#include "policy/Policy.h"

#include <string_view>

#include "schedule/WeekPlan.h"

namespace policy {

namespace {

// The setting's own check of a policy's text, where it has one.
bool Accepted(std::string_view name, const std::string& text) {
  return name != "Days" || schedule::CheckedWeekText(text);
}

}  // namespace

Policies ReadPolicies(const std::function<std::optional<std::string>(const char* name)>& read) {
  Policies policies;
  for (const char* name : kPolicyNames)
    if (std::optional<std::string> text = read(name); text && Accepted(name, *text))
      policies.emplace(name, std::move(*text));
  return policies;
}

const std::string* PolicyFor(const Policies& policies, const std::string& name) {
  const auto at = policies.find(name);
  return at == policies.end() ? nullptr : &at->second;
}

}  // namespace policy
