// Time text and its parse.
#include "schedule/TimeOfDay.h"

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

}  // namespace schedule
