// The load from two readings, and how a rate is written.
#include "schedule/Load.h"

#include <cstdio>

namespace schedule {

Load LoadBetween(const LoadReading& earlier, const LoadReading& later, std::int64_t ms) {
  Load load;
  if (later.total > earlier.total && later.idle >= earlier.idle) {
    const std::uint64_t total = later.total - earlier.total, idle = later.idle - earlier.idle;
    load.percent = idle >= total ? 0 : static_cast<int>((total - idle) * 100 / total);
  }
  if (ms <= 0) return load;
  std::uint64_t bytes = 0;
  for (const auto& [id, octets] : later.octets)
    if (const auto before = earlier.octets.find(id); before != earlier.octets.end() && octets >= before->second)
      bytes += octets - before->second;
  // In two steps, so that no counter's jump can overflow.
  const auto span = static_cast<std::uint64_t>(ms);
  load.bytesPerSecond = bytes / span * 1000 + bytes % span * 1000 / span;
  return load;
}

std::string RateText(std::uint64_t bytesPerSecond) {
  static const char* const kUnits[] = {"B/s", "KB/s", "MB/s", "GB/s"};
  double value = static_cast<double>(bytesPerSecond);
  int unit = 0;
  for (; unit < 3 && value >= 1024; ++unit) value /= 1024;
  // Tenths only where they tell something: below ten of a unit.
  char text[32];
  std::snprintf(text, sizeof text, unit && value < 9.95 ? "%.1f %s" : "%.0f %s", value, kUnits[unit]);
  std::string rate = text;
  if (const std::size_t zero = rate.find(".0 "); zero != std::string::npos) rate.erase(zero, 2);
  return rate;
}

}  // namespace schedule
