// The countdown's platform on Win32: the tick count that goes on through
// sleep, the unbiased interrupt time that leaves it out, the wall clock with
// the time zone's rules for each date, the last input, and the processes an
// "/after" countdown holds.
#include <windows.h>
#include <tlhelp32.h>

#include <set>
#include <vector>

#include "schedule/Countdown.h"
#include "schedule/FileTime_win32.h"
#include "ui/Win32Handle.h"

namespace schedule {

namespace {

// FILETIME's 100 ns units since 1601, as seconds since 1970.
constexpr std::int64_t kUnitsPerSecond = 10000000, kUnixEpoch = 11644473600LL;

Seconds ToSeconds(const FILETIME& time) {
  return static_cast<std::int64_t>(FileTimeUnits(time)) / kUnitsPerSecond - kUnixEpoch;
}

// Calls `each` with every process running now.
template <typename Each>
void EachProcess(Each each) {
  const ui::unique_handle snapshot = ui::Owned(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = snapshot && Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
    each(entry);
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

std::unique_ptr<Programs> WatchPrograms(const std::vector<std::string>& names) {
  auto watch = std::make_unique<HeldProcesses>();
  const auto hold = [&](DWORD id) {
    if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id)) watch->held.emplace_back(process);
  };
  if (names.size() == 1 && IsProcessId(names[0])) {
    if (names[0].size() <= 9) hold(std::stoul(names[0]));
  } else {
    EachProcess([&](const PROCESSENTRY32& entry) {
      for (const std::string& name : names)
        if (lstrcmpiA(entry.szExeFile, name.c_str()) == 0) return hold(entry.th32ProcessID);
    });
  }
  if (!watch->Running()) return nullptr;
  return watch;
}

std::vector<std::string> RunningPrograms() {
  std::set<std::string> names;
  EachProcess([&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID) names.insert(entry.szExeFile);
  });
  return {names.begin(), names.end()};
}

TimeBase& SystemTimeBase() {
  static SystemClocks clocks;
  return clocks;
}

}  // namespace schedule
