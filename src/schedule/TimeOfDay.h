// Times of day as the clock, the countdown and the command line write them:
// "hh:nn", two digits each with a colon, whatever the regional settings;
// and the day a clock time is for ("/on 2026-12-24", "/on fri").
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace schedule {

struct TimeOfDay {
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
};

// A reading of the local wall clock to the minute: its day, counted from
// 1970-01-01, and its time of day.
struct LocalMinute {
  std::int64_t day = 0;
  TimeOfDay time;
};

std::string TimeText(TimeOfDay time);
// The local wall clock now (Win32); TimeChanged, on WM_TIMECHANGE, makes the
// next reading ask for the time zone's offset anew.
LocalMinute LocalTimeNow();
void TimeChanged();
// The minute of the day that "hh:nn" or "h:nn" names, 00:00 to 23:59;
// nothing for any other text.
std::optional<int> MinuteOfDay(const std::string& text);

// A day on the local calendar: a date, or the next day of a weekday.
struct Day {
  int year = 0, month = 0, day = 0;  // a date: 2026, 12, 24
  int weekday = -1;                  // else 0 Sunday to 6 Saturday
  bool operator==(const Day&) const = default;
};
// "2026-12-24" (a date that exists, years 1970 to 9999), or a weekday's name
// or its first three letters in any case ("fri", "Friday"); nothing else.
std::optional<Day> ParseDay(const std::string& text);
// Its canonical text: "2026-12-24", "fri".
std::string DayText(const Day& day);
// A date's days since 1970-01-01.
std::int64_t DayNumber(const Day& date);
// The weekday (0 Sunday) of a day counted from 1970-01-01, a Thursday.
int WeekdayOf(std::int64_t dayNumber);
// The day number of local seconds since 1970-01-01, days before it negative.
std::int64_t DayOfLocal(std::int64_t local);

}  // namespace schedule
