// The countdown's clocks on Win32: the tick count that goes on through
// sleep, the unbiased interrupt time that leaves it out, and the wall clock
// with the time zone's rules for each date.
#include <windows.h>

#include "schedule/Countdown.h"

namespace schedule {

namespace {

// FILETIME's 100 ns units since 1601, as seconds since 1970.
constexpr std::int64_t kUnitsPerSecond = 10000000, kUnixEpoch = 11644473600LL;

Seconds ToSeconds(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
             kUnitsPerSecond - kUnixEpoch;
}

class SystemClocks final : public TimeBase {
 public:
  std::int64_t Ticks() override { return static_cast<std::int64_t>(GetTickCount64()); }
  std::int64_t AwakeTicks() override {
    ULONGLONG units = 0;
    QueryUnbiasedInterruptTime(&units);
    return static_cast<std::int64_t>(units / 10000);
  }
  Seconds UtcNow() override {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ToSeconds(now);
  }
  Seconds LocalOf(Seconds utc) override {
    const std::uint64_t units = static_cast<std::uint64_t>(utc + kUnixEpoch) * kUnitsPerSecond;
    const FILETIME time{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
    SYSTEMTIME universal, local;
    FILETIME localTime;
    if (!FileTimeToSystemTime(&time, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) ||
        !SystemTimeToFileTime(&local, &localTime))
      return utc;
    return ToSeconds(localTime);
  }
};

}  // namespace

TimeBase& SystemTimeBase() {
  static SystemClocks clocks;
  return clocks;
}

}  // namespace schedule
