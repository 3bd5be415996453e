// The week's stored form and the next minute in which it fires.
#include "schedule/WeekPlan.h"

#include <algorithm>

namespace schedule {

namespace {
constexpr Seconds kDay = 24 * 60 * 60;
}  // namespace

std::optional<int> SetTimeMinute(const std::string& text) {
  return text.size() == 5 ? MinuteOfDay(text) : std::nullopt;
}

std::optional<Week> ParseWeek(const std::string& text) {
  Week week{};
  if (text.empty()) return week;
  std::size_t start = 0;
  for (int day = 0; day < kWeekDays; ++day) {
    const std::size_t end = text.find(';', start);
    // Seven fields exactly: six separators, none after the last.
    if ((end == std::string::npos) != (day == kWeekDays - 1)) return std::nullopt;
    const std::string field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (field == "-") {
      week[day].kind = WeekDay::kOff;
    } else if (!field.empty()) {
      const std::optional<int> minute = MinuteOfDay(field);
      if (!minute) return std::nullopt;
      week[day] = {WeekDay::kOwn, *minute};
    }
    start = end + 1;
  }
  return week;
}

std::string WeekText(const Week& week) {
  if (!SetApart(week)) return "";
  std::string text;
  for (int day = 0; day < kWeekDays; ++day) {
    if (day) text += ';';
    if (week[day].kind == WeekDay::kOff) text += '-';
    if (week[day].kind == WeekDay::kOwn) text += TimeText({week[day].minute / 60, week[day].minute % 60});
  }
  return text;
}

std::optional<std::string> CheckedWeekText(const std::string& text) {
  const std::optional<Week> week = ParseWeek(text);
  if (!week) return std::nullopt;
  return WeekText(*week);
}

bool SetApart(const Week& week) {
  return std::any_of(week.begin(), week.end(), [](const WeekDay& day) { return day.kind != WeekDay::kSetTime; });
}

int WeekIndexOf(std::int64_t day) { return (WeekdayOf(day) + 6) % 7; }

std::optional<int> MinuteOn(const Week& week, int weekday, std::optional<int> setTime) {
  const WeekDay& day = week[weekday];
  if (day.kind == WeekDay::kOff) return std::nullopt;
  return day.kind == WeekDay::kOwn ? day.minute : setTime;
}

// Each day's minute is looked for on the wall clock under the offsets in
// force a day either side of it (no zone changes twice in a day): a reading
// under one of them is the minute's start. A day's minute may be read
// before the previous day's second reading of an hour set back at midnight,
// so the earliest of all is taken, from the day before `from`'s on; two
// weeks reach past a gap that swallows the one day that fires.
std::optional<Seconds> NextFiring(TimeBase& zone, const Week& week, std::optional<int> setTime, Seconds from) {
  const std::int64_t first = DayOfLocal(zone.LocalOf(from)) - 1;
  std::optional<Seconds> best;
  for (std::int64_t day = first; day <= first + 2 * kWeekDays + 2; ++day) {
    // No reading of a later day can come before the best one: offsets stay
    // within a day.
    if (best && day * kDay - kDay > *best) break;
    const std::optional<int> minute = MinuteOn(week, WeekIndexOf(day), setTime);
    if (!minute) continue;
    const Seconds local = day * kDay + *minute * 60;
    for (const Seconds near : {local - kDay, local + kDay}) {
      const Seconds start = local - (zone.LocalOf(near) - near);
      if (start >= from && zone.LocalOf(start) == local && (!best || start < *best)) best = start;
    }
  }
  return best;
}

}  // namespace schedule
