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
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i != colon && (text[i] < '0' || text[i] > '9')) return std::nullopt;
  const int hour = std::stoi(text.substr(0, colon)), minute = std::stoi(text.substr(colon + 1));
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * 60 + minute;
}

}  // namespace schedule
