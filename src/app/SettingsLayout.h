// The settings' layout as data: each value's section, name, field, default,
// and the kind of value it takes. Every door a value comes in by checks it
// against its kind here: the stored settings, a policy, the options window,
// and the MSI's properties (its custom action links this file alone).
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "app/Settings.h"

namespace app {

// The longest countdown the notice takes, in seconds; its whole line fits
// the notice window.
constexpr int kMaxMessageTime = 9999;

// What a value may be. A text of its kind is taken in one form and stored in
// one form, which Accept gives.
struct ValueKind {
  enum Form {
    kText,    // any text
    kNumber,  // decimal digits, min to max, no longer than max's digits
    kTime,    // a time of day as H:MM or HH:MM, stored as HH:MM
    kWeek,    // the clock's week, seven fields from Monday (schedule/WeekPlan.h)
  } form = kText;
  int min = 0, max = 0;
  // kNumber: the names that stand for min, min + 1, and so on, in any case.
  std::span<const char* const> names = {};
};

// The value in the form it is stored in, or nothing when it is not of `kind`.
std::optional<std::string> Accept(const ValueKind& kind, std::string_view text);
// What a value of `kind` must be, for a message: "a whole number from 0 to 9999".
std::string Describe(const ValueKind& kind);

struct Row {
  using Field = std::variant<bool Settings::*, std::int32_t Settings::*, std::string Settings::*>;
  const char* section;
  const char* value;
  Field field;
  const char* defaultText;  // as it would be stored
  enum Kind { kPlain, kPosition, kScrambled } kind = kPlain;
  ValueKind accepts = {};
  const char* msiProperty = nullptr;  // the MSI's public property that sets it
};

// In the order LoadSettings reads them; the Shortcuts section follows, from
// the action table.
std::span<const Row> Layout();
// The row of the value `name`; null for none.
const Row* RowOf(std::string_view value);

}  // namespace app
