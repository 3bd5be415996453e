// Start-up, memory and idle cost of dormix.exe beside the minimal tray
// program (bench/baseline/MinimalTray.cpp), each started afresh many times
// in the same run. Start-up is measured from CreateProcess until the
// program's last window exists and its message loop waits for input; its CPU
// time until the program has settled, so that work put off until the loop
// first waits (the lock panel's preparation) is counted. Start-up is also
// set beside a second floor, the windows Dormix must have at start and
// nothing else (bench/baseline/MinimalWindows.cpp): what is left over that
// is Dormix's own work. Started with "scaled" (at 144 dpi, tools/bench),
// fewer starts and no idle window: the start-up figures at that scale.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Bench.h"
#include "WineProgram.h"
#include "support/Dormix.h"

namespace {

struct Program {
  const char* name;
  std::string exe;
  const char* lastWindow;  // the class of the window it creates last
};

struct Run {
  double startNs;
  double startCpuMs;  // until settled
  SIZE_T peakWorkingSet;
  double idleCpuMs;  // CPU time over the idle window
};

Run Measure(const Program& program, DWORD idleMs) {
  const double start = bench::NowNs();
  testing_support::Process process(program.exe);
  testing_support::WaitForWindow(process.Id(), program.lastWindow);
  WaitForInputIdle(process.Handle(), 10000);
  Run run{bench::NowNs() - start, 0, 0, 0};
  const bench::LinuxCpu cpu(program.exe);
  if (!cpu.Found()) bench::Fail(program.name, "its Linux process was not found");
  run.startCpuMs = cpu.SettledMs();
  if (idleMs) Sleep(idleMs);
  run.idleCpuMs = cpu.Ms() - run.startCpuMs;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process.Handle(), &memory, sizeof memory);
  run.peakWorkingSet = memory.PeakWorkingSetSize;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const bool scaled = argc > 1 && std::string(argv[1]) == "scaled";
  bench::PrintDpi();
  const std::string dir = bench::ProgramFolder();
  const Program programs[] = {
      {"baseline minimal tray program", dir + "\\minimal_tray.exe", "MinimalTray"},
      {"dormix.exe", dir + "\\..\\dormix.exe", "TForm2"},
      {"the windows alone", dir + "\\minimal_windows.exe", "MinimalWindows"},
  };
  constexpr int kPrograms = 3;
  std::vector<Run> runs[kPrograms];
  const int rounds = scaled ? 15 : 25, idles = scaled ? 0 : 3;
  for (int i = 0; i < rounds; ++i)  // interleaved, so all see the same machine
    for (int p = 0; p < kPrograms; ++p) runs[p].push_back(Measure(programs[p], i < idles && p < 2 ? 10000 : 0));
  // Under Wine here a start now and then takes two to three times the CPU
  // time of the others, whichever the program: the first quartile beside
  // the median shows the program's own cost.
  struct Figure {
    const char* name;
    double (*of)(const Run&);
    double quantile;
    const char* unit;
  };
  const Figure starts[] = {
      {"start to idle", [](const Run& r) { return r.startNs; }, 0.5, "ns"},
      {"start to idle, first quartile", [](const Run& r) { return r.startNs; }, 0.25, "ns"},
      {"start to idle, CPU until settled", [](const Run& r) { return r.startCpuMs; }, 0.5, "ms"},
      {"start to idle, CPU until settled, first quartile", [](const Run& r) { return r.startCpuMs; }, 0.25, "ms"},
  };
  auto value = [&](int p, const Figure& f) {
    std::vector<double> values;
    for (const Run& r : runs[p]) values.push_back(f.of(r));
    return bench::Quantile(values, f.quantile);
  };
  // Each figure right after its baseline, as tools/bench pairs them: the
  // minimal tray program's, then the windows alone's.
  for (const Figure& f : starts) {
    std::printf("baseline minimal tray program %s: %.1f %s\n", f.name, value(0, f), f.unit);
    std::printf("the windows alone %s: %.1f %s\n", f.name, value(2, f), f.unit);
    std::printf("dormix.exe %s: %.1f %s\n", f.name, value(1, f), f.unit);
    std::printf("baseline the windows alone %s: %.1f %s\n", f.name, value(2, f), f.unit);
    std::printf("dormix.exe beside the windows alone, %s: %.1f %s\n", f.name, value(1, f), f.unit);
  }
  const Figure peak{"peak working set", [](const Run& r) { return static_cast<double>(r.peakWorkingSet) / 1024; },
                    0.5, "KB"};
  std::vector<double> idle[2];
  for (int p = 0; p < 2; ++p)
    for (int i = 0; i < idles; ++i) idle[p].push_back(runs[p][i].idleCpuMs);
  const char* names[] = {"baseline minimal tray program", "dormix.exe"};
  for (int p = 0; p < 2; ++p) std::printf("%s peak working set: median %.0f KB\n", names[p], value(p, peak));
  std::printf("baseline the windows alone peak working set: median %.0f KB\n", value(2, peak));
  std::printf("dormix.exe beside the windows alone, peak working set: median %.0f KB\n", value(1, peak));
  for (int p = 0; p < 2 && idles; ++p)
    std::printf("%s CPU over 10 s idle: median %.1f ms\n", names[p], bench::Median(idle[p]));
  return 0;
}
