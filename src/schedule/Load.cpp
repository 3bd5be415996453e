// The load second by second from the platform's counters, and how a rate
// is written.
#include "schedule/Load.h"

#include <algorithm>

namespace schedule {

LoadMeter::LoadMeter(std::unique_ptr<LoadSampler> sampler)
    : sampler_(std::move(sampler)), processor_(sampler_->Processor()) {
  NetworkBytes();
}

Load LoadMeter::Next(std::int64_t ms, const LoadLimits& limits) {
  Load load;
  const std::optional<ProcessorTimes> now = sampler_->Processor();
  if (now && processor_ && now->total > processor_->total && now->idle >= processor_->idle) {
    const std::uint64_t total = now->total - processor_->total, idle = now->idle - processor_->idle;
    load.percent = idle >= total ? 0 : static_cast<int>((total - idle) * 100 / total);
  }
  if (now) processor_ = now;
  sinceListMs_ += ms;
  if (load.percent < limits.percent) {
    // In two steps, so that no counter's jump can overflow.
    const std::uint64_t bytes = NetworkBytes(), span = static_cast<std::uint64_t>(std::max<std::int64_t>(ms, 1));
    rate_ = bytes / span * 1000 + bytes % span * 1000 / span;
  }
  load.bytesPerSecond = rate_;
  return load;
}

// The bytes since the last reading of each interface. A reading that fails
// lists the interfaces again at once and reads them again: those read
// already add what little came since, a new one its first reading.
std::uint64_t LoadMeter::NetworkBytes() {
  if (sinceListMs_ >= kListEveryMs) stale_ = true;
  std::uint64_t bytes = 0;
  for (int round = 0; round < 2; ++round) {
    if (stale_) List();
    bool failed = false;
    for (Interface& i : interfaces_) {
      const std::optional<std::uint64_t> octets = sampler_->Octets(i.id);
      if (!octets) {
        failed = true;
        continue;
      }
      if (i.read && *octets >= i.octets) bytes += *octets - i.octets;
      i.octets = *octets;
      i.read = true;
    }
    if (!failed) break;
    stale_ = true;
  }
  return bytes;
}

// Lists the interfaces anew, keeping the last reading of each one still
// listed; when they cannot be listed, the old list stays, to be read and
// listed again.
void LoadMeter::List() {
  if (!sampler_->Interfaces(ids_)) return;
  listed_.clear();
  for (const std::uint64_t id : ids_) {
    const auto kept = std::find_if(interfaces_.begin(), interfaces_.end(), [&](const Interface& i) { return i.id == id; });
    listed_.push_back(kept != interfaces_.end() ? *kept : Interface{.id = id});
  }
  interfaces_.swap(listed_);
  stale_ = false;
  sinceListMs_ = 0;
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
