// The load's counters on Win32: the processors' times from GetSystemTimes
// (whose kernel time includes the idle time) and each interface's bytes
// from GetIfTable2. The IP helper library comes in on the first reading, so
// that a start, and a run with no quiet countdown, pay nothing for it.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include "schedule/FileTime_win32.h"
#include "schedule/Load.h"
#include "ui/Library.h"

namespace schedule {

namespace {

class SystemCounters final : public LoadSampler {
 public:
  LoadReading Read() override {
    LoadReading reading;
    FILETIME idle, kernel, user;
    if (GetSystemTimes(&idle, &kernel, &user)) {
      reading.idle = FileTimeUnits(idle);
      reading.total = FileTimeUnits(kernel) + FileTimeUnits(user);
    }
    static const auto getTable = ui::LibraryFunction<decltype(&GetIfTable2)>("iphlpapi.dll", "GetIfTable2");
    static const auto freeTable = ui::LibraryFunction<decltype(&FreeMibTable)>("iphlpapi.dll", "FreeMibTable");
    MIB_IF_TABLE2* table = nullptr;
    if (!getTable || !freeTable || getTable(&table) != NO_ERROR) return reading;
    const std::unique_ptr<MIB_IF_TABLE2, decltype(freeTable)> owned(table, freeTable);
    for (ULONG i = 0; i < table->NumEntries; ++i) {
      const MIB_IF_ROW2& row = table->Table[i];
      if (row.Type != IF_TYPE_SOFTWARE_LOOPBACK) reading.octets[row.InterfaceLuid.Value] = row.InOctets + row.OutOctets;
    }
    return reading;
  }
};

}  // namespace

std::unique_ptr<LoadSampler> SystemLoad() { return std::make_unique<SystemCounters>(); }

}  // namespace schedule
