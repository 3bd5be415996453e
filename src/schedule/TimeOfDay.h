// Times of day as the clock, the countdown and the command line write them:
// "hh:nn", two digits each with a colon, whatever the regional settings.
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

}  // namespace schedule
