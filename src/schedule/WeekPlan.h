// A week for the daily clock: for each day from Monday to Sunday its own
// time, off, or the clock's set time (Op. Time). Stored as one text of seven
// fields separated by ";", Monday first, each "HH:MM" (the day's own time),
// "-" (off) or empty (Op. Time). A week with no day set apart is no week:
// the clock then compares the set time alone, every day. The clock fires
// when the wall clock reads a day's minute on that day, so a minute that
// daylight saving skips does not come that night and one it repeats comes
// with each reading; NextFiring finds that minute through the zone's rules.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "schedule/Countdown.h"
#include "schedule/TimeOfDay.h"

namespace schedule {

constexpr int kWeekDays = 7;
// Monday first, as the stored fields are.
inline constexpr std::array<const char*, kWeekDays> kDayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                                 "Friday", "Saturday", "Sunday"};
inline constexpr std::array<const char*, kWeekDays> kDayShortNames = {"Mon", "Tue", "Wed", "Thu",
                                                                      "Fri", "Sat", "Sun"};

struct WeekDay {
  enum Kind { kSetTime, kOff, kOwn } kind = kSetTime;
  int minute = 0;  // kOwn: its minute of the day, 0 to 1439
  bool operator==(const WeekDay&) const = default;
};
using Week = std::array<WeekDay, kWeekDays>;

// The minute of the day of a set time the clock's display can equal: "hh:nn"
// with all four digits, 00:00 to 23:59; nothing for any other text.
std::optional<int> SetTimeMinute(const std::string& text);

// The stored value: empty (no week), or seven fields as above, a time also
// as "H:MM". Nothing for anything else, which then counts as no week.
std::optional<Week> ParseWeek(const std::string& text);
// The stored form, times as "HH:MM"; empty for a week with no day set apart.
std::string WeekText(const Week& week);
// A stored value's check at every door: its stored form, or nothing when it
// is no week.
std::optional<std::string> CheckedWeekText(const std::string& text);
// Some day is off or has its own time.
bool SetApart(const Week& week);

// Monday 0 to Sunday 6 of a wall-clock day counted from 1970-01-01: its
// place in a week.
int WeekIndexOf(std::int64_t day);

// The minute at which the clock fires on `weekday`: the day's own, or the
// set time's (`setTime`, nothing when it is no time); nothing on a day off.
std::optional<int> MinuteOn(const Week& week, int weekday, std::optional<int> setTime);

// The start of the first minute at or after `from` (UTC) in which the wall
// clock of `zone` reads the minute of its day; nothing when no day fires.
std::optional<Seconds> NextFiring(TimeBase& zone, const Week& week, std::optional<int> setTime, Seconds from);

}  // namespace schedule
