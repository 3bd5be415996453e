// The machine's load as a "/quiet" countdown judges it: the processor's use
// and the network's traffic over the last second, from the platform's
// running counters. Counters are read only while such a countdown is
// pending, through a meter it holds, and as little as a second allows: a
// wait can stay pending for hours on a laptop running on battery.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace schedule {

// Processor time of all processors, in any one unit: idle, and in all.
struct ProcessorTimes {
  std::uint64_t idle = 0, total = 0;
};

// The platform's counters, as a LoadMeter asks for them.
class LoadSampler {
 public:
  virtual ~LoadSampler() = default;
  virtual std::optional<ProcessorTimes> Processor() = 0;
  // The interfaces whose traffic counts (up, all but loopback) by their
  // ids, into `ids`; false when they cannot be listed.
  virtual bool Interfaces(std::vector<std::uint64_t>& ids) = 0;
  // Bytes in and out together of one of them; nothing when it cannot be
  // read or is no longer up.
  virtual std::optional<std::uint64_t> Octets(std::uint64_t id) = 0;
};
// The platform's counters. Win32 only.
std::unique_ptr<LoadSampler> SystemLoad();

struct Load {
  int percent = 0;                 // the processor's use, 0 to 100
  std::uint64_t bytesPerSecond = 0;
};

// The limits below which a second is quiet.
struct LoadLimits {
  int percent = 10;
  std::uint64_t bytesPerSecond = 50 * 1024;
  bool operator==(const LoadLimits&) const = default;
};
inline bool Quiet(const Load& load, const LoadLimits& limits) {
  return load.percent < limits.percent && load.bytesPerSecond < limits.bytesPerSecond;
}

// The load second by second from a sampler's counters, at the least cost:
// the interfaces are listed once and read one by one, listed again when a
// reading fails and once a minute (one may have come up), and the network
// is not read at all in a second the processor has already made busy.
// Nothing is allocated from one second to the next.
class LoadMeter {
 public:
  explicit LoadMeter(std::unique_ptr<LoadSampler> sampler);  // takes the first readings
  // The load over the `ms` since the last call (or the start). The network's
  // rate of a busy second is the last one read; the bytes of such seconds
  // count in the next one that reads them, so a second after a busy one is
  // never judged quiet on a guess. An interface that came, went, or whose
  // counter went back (an adapter reset) adds nothing that second.
  Load Next(std::int64_t ms, const LoadLimits& limits);

  static constexpr std::int64_t kListEveryMs = 60'000;

 private:
  struct Interface {
    std::uint64_t id = 0, octets = 0;
    bool read = false;  // octets holds a reading
  };
  std::uint64_t NetworkBytes();
  void List();

  std::unique_ptr<LoadSampler> sampler_;
  std::optional<ProcessorTimes> processor_;
  std::vector<Interface> interfaces_, listed_;
  std::vector<std::uint64_t> ids_;
  bool stale_ = true;  // the interfaces are to be listed before the next reading
  std::int64_t sinceListMs_ = 0;
  std::uint64_t rate_ = 0;
};

// "800 B/s", "50 KB/s", "2.1 MB/s".
std::string RateText(std::uint64_t bytesPerSecond);

}  // namespace schedule
