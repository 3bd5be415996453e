// Use over and over: the clock armed and ticking, the tray menu opened by a
// real right click and closed with Esc, and the notice shown, with its
// sound, and cancelled. What Dormix holds stays flat, read from outside: its
// GDI objects (its GDI handle table, through its PEB), its windows, its
// kernel handles (the system's handle list) and its working set. Wine cannot
// tell another process's other USER objects (menus, icons, cursors):
// GetGuiResources is a stub there. An icon's bitmaps are GDI objects,
// though. `make test` runs 150 rounds; the ten-minute run is `make soak`'s
// (CTest label soak), with the same per-round limits.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "support/Dormix.h"
#include "support/DormixTest.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

// A round leaks nothing: the counts stay as they were, and the working set
// grows by less than Wine's own buffers move it (two pages on a quiet
// machine, four seen under load) plus 32 bytes a round. An empty menu leaked
// at every popup adds some 240 bytes a round, 28 KB over the rounds compared.
constexpr SIZE_T kWorkingSetSlack = 20 * 1024, kWorkingSetPerRound = 32;

// The live entries of the process's GDI handle table: PEB+0x94 points to
// 65,536 entries of 24 bytes, a live one with a non-zero type byte at 14.
int GdiObjects(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
  DWORD table = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + 0x94, &table, sizeof table,
                         nullptr) ||
      !table)
    return -1;
  std::vector<BYTE> entries(65536 * 24);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<UINT_PTR>(table)), entries.data(),
                         entries.size(), nullptr))
    return -1;
  int live = 0;
  for (std::size_t i = 0; i < 65536; ++i) live += entries[i * 24 + 14] != 0;
  return live;
}

// The kernel handles of the process, from the system's list of all handles
// (GetProcessHandleCount gives 0 under Wine).
int KernelHandles(DWORD pid) {
  struct Entry {
    ULONG pid;
    BYTE type, flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
  };
  constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
  std::vector<BYTE> buffer(1 << 16);
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                            static_cast<ULONG>(buffer.size()), nullptr)) ==
         static_cast<NTSTATUS>(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
  return static_cast<int>(std::count_if(entries, entries + count, [&](const Entry& e) { return e.pid == pid; }));
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// Every window of the process: top-level, message-only, and their children.
int Windows(DWORD pid) {
  std::vector<HWND> tops = WindowsOf(pid, false);
  for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid) tops.push_back(w);
  }
  int count = static_cast<int>(tops.size());
  for (HWND top : tops) EnumChildWindows(top, &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

struct Sample {
  int gdi, windows, handles;
  SIZE_T workingSet;
};

Sample Measure(Process& dormix) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(dormix.Handle(), &memory, sizeof memory);
  return {GdiObjects(dormix.Handle()), Windows(dormix.Id()), KernelHandles(dormix.Id()), memory.WorkingSetSize};
}

// A real right click on the tray icon opens the menu; Esc closes it. The
// first time, a screenshot shows the menu.
testing::AssertionResult OpenAndCloseTheMenu(bool shot) {
  const HWND menu = OpenTrayMenu();
  if (!menu) return testing::AssertionFailure() << "no menu";
  if (shot) ShotOf(menu, "load-menu");
  return CloseWithEsc(menu);
}

// Restart from the menu: the notice shows, with its sound, and Cancel closes it.
bool ShowAndCancelTheNotice(Process& dormix, bool shot) {
  EXPECT_TRUE(ChooseFromTrayMenu(kRestart));
  const HWND notice = Shown(dormix, "TForm2");
  if (!notice) return false;
  if (shot) ShotOf(notice, "load-notice");
  PostMessageA(FindControl(notice, "Button", "Cancel"), BM_CLICK, 0, 0);
  return Hidden(notice);
}

// The median of each figure over the samples of rounds [from, to): a
// passing peak (a menu's window, a buffer of the sound) does not count.
Sample Median(const std::vector<Sample>& samples, std::size_t from, std::size_t to) {
  const std::vector<Sample> part(samples.begin() + from, samples.begin() + to);
  if (part.empty()) return {};
  const auto median = [&](auto field) {
    std::vector<std::remove_cvref_t<decltype(part[0].*field)>> values;
    for (const Sample& s : part) values.push_back(s.*field);
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
  };
  return {median(&Sample::gdi), median(&Sample::windows), median(&Sample::handles), median(&Sample::workingSet)};
}

class Load : public DormixTest {
 protected:
  // Rounds of menu and notice while `more(rounds, ms since the first)`; then
  // the first fifth of the rounds beside the last fifth.
  void Exercise(const std::function<bool(std::size_t, DWORD)>& more) {
    const std::string sound = SuiteFile("silence.wav", SilenceWav(500));
    SYSTEMTIME now;
    GetLocalTime(&now);
    // Armed for the minute just gone: the clock ticks all along and fires never.
    const std::string setTime = TimeText(now.wHour * 60 + now.wMinute + 24 * 60 - 1);
    Store("Operation", "EndTime", setTime);
    Store("Operation", "Enabled", "1");
    Store("Operation", "ForceAction", "0");
    Store("Operation", "MessageTime", "30");
    Store("Operation", "PlaySound", "1");
    Store("Operation", "SoundFileName", sound);
    const SessionProbe probe(true);  // should a notice ever count down to its end
    Process& dormix = Start();
    ASSERT_TRUE(WaitSettled(dormix));
    ASSERT_TRUE(PumpUntil(TrayIconShown));
    // The clock has ticked: the menu's side bar shows the time from now on.
    ASSERT_TRUE(TrayTipReads("Dormix is Active at " + setTime));

    std::vector<Sample> samples;
    const DWORD start = GetTickCount();
    while (more(samples.size(), GetTickCount() - start)) {
      ASSERT_TRUE(OpenAndCloseTheMenu(samples.empty())) << "round " << samples.size();
      ASSERT_TRUE(ShowAndCancelTheNotice(dormix, samples.empty())) << "round " << samples.size();
      WaitForInputIdle(dormix.Handle(), 10000);
      samples.push_back(Measure(dormix));
    }
    EXPECT_FALSE(SessionProbe::queried_);
    ASSERT_TRUE(dormix.Running());

    const std::size_t rounds = samples.size(), fifth = rounds / 5;
    const Sample first = Median(samples, 0, fifth), last = Median(samples, rounds - fifth, rounds);
    std::printf("%zu rounds of menu and notice in %lu s; the median of the first and of the last fifth:\n"
                "  GDI objects   %6d %6d\n  windows       %6d %6d\n  handles       %6d %6d\n"
                "  working set   %6lu %6lu KB\n",
                rounds, (GetTickCount() - start) / 1000, first.gdi, last.gdi, first.windows, last.windows,
                first.handles, last.handles, static_cast<unsigned long>(first.workingSet / 1024),
                static_cast<unsigned long>(last.workingSet / 1024));
    EXPECT_GT(first.gdi, 0) << "the GDI table could not be read";
    EXPECT_GT(first.handles, 0) << "the handle list could not be read";
    EXPECT_LE(last.gdi, first.gdi);
    EXPECT_LE(last.windows, first.windows);
    EXPECT_LE(last.handles, first.handles);
    EXPECT_LE(last.workingSet, first.workingSet + kWorkingSetSlack + kWorkingSetPerRound * (rounds - fifth));
  }
};

TEST_F(Load, AHundredAndFiftyRoundsOfMenusAndNoticesLeaveWhatDormixHoldsFlat) {
  Exercise([](std::size_t rounds, DWORD) { return rounds < 150; });
}

// The soak, run by `make soak`.
TEST_F(Load, DISABLED_TenMinutesOfMenusAndNoticesLeaveWhatDormixHoldsFlat) {
  Exercise([](std::size_t, DWORD ms) { return ms < 10 * 60000; });
}

}  // namespace
