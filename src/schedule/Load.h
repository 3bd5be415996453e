// The machine's load as a "/quiet" countdown judges it: the processor's use
// and the network's traffic over the last second, from two readings of the
// platform's running counters. Counters are read only while such a
// countdown is pending, through a sampler it holds.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace schedule {

// The platform's counters at one moment.
struct LoadReading {
  // Processor time of all processors, in any one unit: idle, and in all.
  std::uint64_t idle = 0, total = 0;
  // Bytes in and out together of each interface but loopback, by its id.
  std::map<std::uint64_t, std::uint64_t> octets;
};

class LoadSampler {
 public:
  virtual ~LoadSampler() = default;
  virtual LoadReading Read() = 0;
};
// The platform's counters. Win32 only.
std::unique_ptr<LoadSampler> SystemLoad();

struct Load {
  int percent = 0;                 // the processor's use, 0 to 100
  std::uint64_t bytesPerSecond = 0;
};

// The load between two readings `ms` apart. An interface present in only
// one of them, or whose counter went back (an adapter reset), adds nothing.
Load LoadBetween(const LoadReading& earlier, const LoadReading& later, std::int64_t ms);

// The limits below which a second is quiet.
struct LoadLimits {
  int percent = 10;
  std::uint64_t bytesPerSecond = 50 * 1024;
  bool operator==(const LoadLimits&) const = default;
};
inline bool Quiet(const Load& load, const LoadLimits& limits) {
  return load.percent < limits.percent && load.bytesPerSecond < limits.bytesPerSecond;
}

// "800 B/s", "50 KB/s", "2.1 MB/s".
std::string RateText(std::uint64_t bytesPerSecond);

}  // namespace schedule
