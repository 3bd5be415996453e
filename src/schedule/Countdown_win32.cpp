// The countdown's platform on Win32: the tick count that goes on through
// sleep, the unbiased interrupt time that leaves it out, the wall clock with
// the time zone's rules for each date, the last input, and the processes an
// "/after" countdown holds.
#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "schedule/Countdown.h"
#include "ui/Win32Handle.h"

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
  // A 32-bit tick on both sides: the difference is right across its wrap.
  std::int64_t IdleMs() override {
    LASTINPUTINFO last{sizeof last, 0};
    return GetLastInputInfo(&last) ? static_cast<DWORD>(GetTickCount() - last.dwTime) : 0;
  }
};

class HeldProcesses final : public Programs {
 public:
  std::vector<ui::unique_handle> held;
  bool Running() override {
    for (const ui::unique_handle& process : held)
      if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) return true;
    return false;
  }
};

}  // namespace

std::unique_ptr<Programs> WatchPrograms(const std::string& program) {
  auto watch = std::make_unique<HeldProcesses>();
  if (IsProcessId(program)) {
    if (program.size() <= 9)
      if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(program))) watch->held.emplace_back(process);
  } else {
    const ui::unique_handle snapshot = ui::Owned(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
      if (lstrcmpiA(entry.szExeFile, program.c_str()) == 0)
        if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) watch->held.emplace_back(process);
  }
  if (!watch->Running()) return nullptr;
  return watch;
}

TimeBase& SystemTimeBase() {
  static SystemClocks clocks;
  return clocks;
}

}  // namespace schedule
