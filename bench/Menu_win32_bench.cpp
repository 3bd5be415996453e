// Right-button release on the tray icon to its menu shown and painted:
// dormix.exe's bar popup menu beside the minimal tray program's plain menu of
// as many items (bench/baseline/MinimalTray.cpp), each started afresh many
// times in the same run, interleaved, the menu opened five times a start once
// the program has settled; the first opening and the fifth, with the CPU time
// the program spent meanwhile. The release is the shell's notification as
// the program's tray window gets it, posted; Esc closes the menu.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Bench.h"
#include "WineProgram.h"
#include "support/Dormix.h"

namespace {

using testing_support::Process;

struct Program {
  const char* name;
  std::string exe;
  const char* trayClass;  // the class of the window the shell notifies
  UINT trayMessage;       // and the message it sends there
};

struct Opening {
  double ns, cpuMs;
};

// The program's tray window, message-only or top-level, once it exists.
HWND TrayWindow(const Program& program, DWORD pid) {
  for (HWND w = nullptr; (w = FindWindowExA(HWND_MESSAGE, w, program.trayClass, nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid) return w;
  }
  for (HWND w : testing_support::WindowsOf(pid, false))
    if (testing_support::ClassOf(w) == program.trayClass) return w;
  return nullptr;
}

HWND ShownMenu(DWORD pid) {
  for (HWND w : testing_support::WindowsOf(pid, true))
    if (testing_support::ClassOf(w) == "#32768") return w;
  return nullptr;
}

Opening OpenOnce(const Program& program, DWORD pid, HWND tray, const bench::LinuxCpu& cpu) {
  HWND menu = nullptr;
  const double cpuBefore = cpu.Ms(), start = bench::NowNs();
  PostMessageA(tray, program.trayMessage, 1, WM_RBUTTONUP);
  if (!bench::Within(5000, [&] { return (menu = ShownMenu(pid)) && testing_support::Painted(menu); }))
    bench::Fail(program.name, "the menu did not open");
  const Opening opening{bench::NowNs() - start, cpu.Ms() - cpuBefore};
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  if (!bench::Within(5000, [&] { return !ShownMenu(pid); })) bench::Fail(program.name, "Esc did not close the menu");
  cpu.SettledMs();
  return opening;
}

// One start: the first and the fifth opening once the program has settled.
std::vector<Opening> Run(const Program& program) {
  Process process(program.exe);
  HWND tray = nullptr;
  if (!bench::Within(10000, [&] { return (tray = TrayWindow(program, process.Id())) != nullptr; }) ||
      WaitForInputIdle(process.Handle(), 10000) != 0)
    bench::Fail(program.name, "did not start");
  const bench::LinuxCpu cpu(program.exe);
  if (!cpu.Found()) bench::Fail(program.name, "its Linux process was not found");
  cpu.SettledMs();
  std::vector<Opening> openings;
  for (int i = 0; i < 5; ++i) openings.push_back(OpenOnce(program, process.Id(), tray, cpu));
  return {openings.front(), openings.back()};
}

}  // namespace

int main() {
  const std::string dir = bench::ProgramFolder();
  const Program programs[] = {
      {"baseline plain tray menu", dir + "\\minimal_tray.exe", "MinimalTray", WM_APP},
      {"dormix.exe right-button release to the tray menu painted", dir + "\\..\\dormix.exe",
       "TTarvelTrayIconWindow", 8079},
  };
  // [program][first, fifth]
  std::vector<double> ns[2][2], cpuMs[2][2];
  for (int i = 0; i < 15; ++i)  // interleaved, so both see the same machine
    for (int p = 0; p < 2; ++p) {
      const std::vector<Opening> openings = Run(programs[p]);
      for (int k = 0; k < 2; ++k) {
        ns[p][k].push_back(openings[k].ns);
        cpuMs[p][k].push_back(openings[k].cpuMs);
      }
    }
  // Each figure right after its baseline, as tools/bench pairs them.
  const char* which[] = {"first after start", "fifth"};
  for (int k = 0; k < 2; ++k)
    for (int p = 0; p < 2; ++p) {
      std::printf("%s, %s: median %.1f ns\n", programs[p].name, which[k], bench::Median(ns[p][k]));
      std::printf("%s, %s, CPU: median %.2f ms\n", programs[p].name, which[k], bench::Median(cpuMs[p][k]));
    }
  return 0;
}
