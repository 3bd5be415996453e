// A FILETIME as one number of its 100 ns units, for the schedule's Win32
// halves (the wall clock, the time of day, the processors' times).
#pragma once
#include <windows.h>

#include <cstdint>

namespace schedule {

inline std::uint64_t FileTimeUnits(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace schedule
