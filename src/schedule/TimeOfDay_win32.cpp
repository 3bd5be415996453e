// The local wall clock's time of day, with the time zone's offset asked
// once a minute: under Wine each ask (GetLocalTime included) reads the
// zone's rules anew through the Unix side, most of an idle second's work.
#include <windows.h>

#include "schedule/FileTime_win32.h"
#include "schedule/TimeOfDay.h"

namespace schedule {

namespace {
constexpr ULONGLONG kUnitsPerMinute = 60ULL * 10000000;
ULONGLONG offsetMinute = 0;  // the UTC minute the offset was asked in; 0 none
LONGLONG offset = 0;         // local minus UTC, in FILETIME units
}  // namespace

// Offsets are whole minutes and change on a minute's boundary, so the one
// asked in a UTC minute holds for all of it.
LocalMinute LocalTimeNow() {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  const ULONGLONG now = FileTimeUnits(utc);
  if (now / kUnitsPerMinute != offsetMinute && FileTimeToLocalFileTime(&utc, &local)) {
    offset = static_cast<LONGLONG>(FileTimeUnits(local) - now);
    offsetMinute = now / kUnitsPerMinute;
  }
  const ULONGLONG localNow = now + static_cast<ULONGLONG>(offset);
  const FILETIME shifted{static_cast<DWORD>(localNow), static_cast<DWORD>(localNow >> 32)};
  SYSTEMTIME time{};
  FileTimeToSystemTime(&shifted, &time);
  // FILETIME counts from 1601, 134,774 days before 1970.
  const auto day = static_cast<std::int64_t>(localNow / (kUnitsPerMinute * 60 * 24)) - 134774;
  return {day, {time.wHour, time.wMinute}};
}

void TimeChanged() { offsetMinute = 0; }

}  // namespace schedule
