// The settings' layout and the kinds of their values.
#include "app/SettingsLayout.h"

#include <algorithm>

#include "schedule/TimeOfDay.h"
#include "schedule/WeekPlan.h"

namespace app {

namespace {

constexpr ValueKind kFlag{ValueKind::kNumber, 0, 1};
// The clock's actions by the names an administrator writes, for codes 1 to 7.
constexpr const char* kCodeNames[] = {"ShutDown", "LogOff",          "Hibernate",      "ScreenSaver",
                                      "Restart",  "ShutDownMonitor", "ProtectionPanel"};

const Row kLayout[] = {
    {"Window", "RememberFormPosition", &Settings::RememberPosition, "1", Row::kPlain, kFlag},
    {"Window", "X", &Settings::Left, "800", Row::kPosition},
    {"Window", "Y", &Settings::Top, "600", Row::kPosition},
    {"Application", "AutoStart", &Settings::AutoStartChecked, "1", Row::kPlain, kFlag, "AUTOSTART"},
    {"Operation", "ForceAction", &Settings::ForceActionChecked, "1", Row::kPlain, kFlag, "FORCE"},
    {"Operation", "Enabled", &Settings::ClockEnabled, "0", Row::kPlain, kFlag},
    {"Operation", "Code", &Settings::OperationCode, "1", Row::kPlain, {ValueKind::kNumber, 1, 7, kCodeNames},
     "CLOCKACTION"},
    {"Operation", "EndTime", &Settings::EndTime, "00:00", Row::kPlain, {ValueKind::kTime}, "CLOCK"},
    {"Operation", "Password", &Settings::CurrentPassword, "", Row::kScrambled},
    {"Operation", "ShowMessage", &Settings::ShowMessageChecked, "1", Row::kPlain, kFlag, "SHOWMESSAGE"},
    {"Operation", "MessageTime", &Settings::MessageTime, "15", Row::kPlain,
     {ValueKind::kNumber, 0, kMaxMessageTime}, "MESSAGETIME"},
    {"Operation", "PlaySound", &Settings::PlaySoundChecked, "0", Row::kPlain, kFlag},
    {"Operation", "SoundFileName", &Settings::SoundFileName, ""},
    {"Operation", "Days", &Settings::ClockDays, "", Row::kPlain, {ValueKind::kWeek}, "CLOCKDAYS"},
};

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
  });
}

// Only digits, and no more of them than the largest number has: a text of a
// megabyte is refused without being read through.
std::optional<int> Number(const ValueKind& kind, std::string_view text) {
  if (text.empty() || text.size() > std::to_string(kind.max).size()) return std::nullopt;
  int number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number < kind.min || number > kind.max) return std::nullopt;
  return number;
}

}  // namespace

std::optional<std::string> Accept(const ValueKind& kind, std::string_view text) {
  switch (kind.form) {
    case ValueKind::kText: return std::string(text);
    case ValueKind::kNumber: {
      if (const std::optional<int> number = Number(kind, text)) return std::to_string(*number);
      for (std::size_t i = 0; i < kind.names.size(); ++i)
        if (SameName(kind.names[i], text)) return std::to_string(kind.min + static_cast<int>(i));
      return std::nullopt;
    }
    case ValueKind::kTime: {
      if (text.size() > 5) return std::nullopt;
      const std::optional<int> minute = schedule::MinuteOfDay(std::string(text));
      if (!minute) return std::nullopt;
      return schedule::TimeText({*minute / 60, *minute % 60});
    }
    case ValueKind::kWeek: return schedule::CheckedWeekText(std::string(text));
  }
  return std::nullopt;
}

std::string Describe(const ValueKind& kind) {
  switch (kind.form) {
    case ValueKind::kText: return "a text";
    case ValueKind::kTime: return "a time of day as H:MM or HH:MM, from 0:00 to 23:59";
    case ValueKind::kWeek:
      return "seven days from Monday separated by \";\", each a time as HH:MM, - for off, or empty for the clock's time";
    case ValueKind::kNumber: {
      if (kind.min == 0 && kind.max == 1) return "1 or 0";
      std::string text = "a whole number from " + std::to_string(kind.min) + " to " + std::to_string(kind.max);
      if (kind.names.empty()) return text;
      text = "one of ";
      for (const char* name : kind.names) text += std::string(name) + (name == kind.names.back() ? "" : ", ");
      return text;
    }
  }
  return {};
}

std::span<const Row> Layout() { return kLayout; }

const Row* RowOf(std::string_view value) {
  const auto at = std::find_if(std::begin(kLayout), std::end(kLayout), [&](const Row& row) { return row.value == value; });
  return at == std::end(kLayout) ? nullptr : at;
}

}  // namespace app
