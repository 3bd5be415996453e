// Time text and its parse; days of the calendar.
#include "schedule/TimeOfDay.h"

#include <cctype>

namespace schedule {

std::string TimeText(TimeOfDay time) {
  return {static_cast<char>('0' + time.hour / 10), static_cast<char>('0' + time.hour % 10), ':',
          static_cast<char>('0' + time.minute / 10), static_cast<char>('0' + time.minute % 10)};
}

std::optional<int> MinuteOfDay(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon < 1 || colon > 2 || text.size() != colon + 3) return std::nullopt;
  int hour = 0, minute = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == colon) continue;
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    int& part = i < colon ? hour : minute;
    part = part * 10 + (text[i] - '0');
  }
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * 60 + minute;
}

namespace {
const char* const kWeekdayNames[] = {"sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}
}  // namespace

std::optional<Day> ParseDay(const std::string& text) {
  std::string lower;
  for (const char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int i = 0; i < 7; ++i)
    if (lower == kWeekdayNames[i] || lower == std::string(kWeekdayNames[i], 3)) return Day{.weekday = i};
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  const Day date{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))};
  if (date.year < 1970 || date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > DaysInMonth(date.year, date.month))
    return std::nullopt;
  return date;
}

std::string DayText(const Day& day) {
  if (day.weekday >= 0) return std::string(kWeekdayNames[day.weekday], 3);
  auto digits = [](int n, int width) {
    std::string text = std::to_string(n);
    return std::string(width - text.size(), '0') + text;
  };
  return digits(day.year, 4) + "-" + digits(day.month, 2) + "-" + digits(day.day, 2);
}

// Counted in years that begin on 1 March, so that a leap day ends its year.
std::int64_t DayNumber(const Day& date) {
  const std::int64_t year = date.year - (date.month <= 2), era = year / 400, yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

std::int64_t DayOfLocal(std::int64_t local) {
  constexpr std::int64_t kDay = 24 * 60 * 60;
  return local >= 0 ? local / kDay : (local - kDay + 1) / kDay;
}

int WeekdayOf(std::int64_t dayNumber) { return static_cast<int>(((dayNumber + 4) % 7 + 7) % 7); }

}  // namespace schedule
