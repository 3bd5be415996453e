// The load from two readings, and how a rate is written.
#include "schedule/Load.h"

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
  static const char* const kUnits[] = {" B/s", " KB/s", " MB/s", " GB/s"};
  int unit = 0;
  std::uint64_t size = 1;
  for (; unit < 3 && bytesPerSecond / size >= 1024; ++unit) size *= 1024;
  // Rounded to tenths, in two steps so that nothing overflows; the tenths
  // are shown only where they tell something, below ten of a unit.
  const std::uint64_t tenths = bytesPerSecond / size * 10 + (bytesPerSecond % size * 10 + size / 2) / size;
  if (unit && tenths < 100 && tenths % 10)
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + kUnits[unit];
  return std::to_string(unit ? (tenths + 5) / 10 : bytesPerSecond) + kUnits[unit];
}

}  // namespace schedule
