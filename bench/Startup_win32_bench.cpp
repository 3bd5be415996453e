// Start-up, memory and idle cost of dormix.exe beside the minimal tray
// program (bench/baseline/MinimalTray.cpp), each started afresh many times
// in the same run. Start-up is measured from CreateProcess until the
// program's last window exists and its message loop waits for input; its CPU
// time until the program has settled, so that work put off until the loop
// first waits (the lock panel's preparation) is counted.
#include <windows.h>
#include <psapi.h>

#include <cstdlib>
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
  if (!cpu.Found()) {
    std::printf("%s: its Linux process was not found\n", program.name);
    std::exit(1);
  }
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

int main() {
  const std::string dir = bench::ProgramFolder();
  const Program programs[] = {
      {"baseline minimal tray program", dir + "\\minimal_tray.exe", "MinimalTray"},
      {"dormix.exe", dir + "\\..\\dormix.exe", "TForm2"},
  };
  std::vector<Run> runs[2];
  for (int i = 0; i < 25; ++i)  // interleaved, so both see the same machine
    for (int p = 0; p < 2; ++p) runs[p].push_back(Measure(programs[p], i < 3 ? 10000 : 0));
  // Each figure right after its baseline, as tools/bench pairs them.
  std::vector<double> starts[2], startCpu[2], peaks[2], idle[2];
  for (int p = 0; p < 2; ++p)
    for (std::size_t i = 0; i < runs[p].size(); ++i) {
      starts[p].push_back(runs[p][i].startNs);
      startCpu[p].push_back(runs[p][i].startCpuMs);
      peaks[p].push_back(static_cast<double>(runs[p][i].peakWorkingSet) / 1024);
      if (i < 3) idle[p].push_back(runs[p][i].idleCpuMs);
    }
  const char* names[] = {"baseline minimal tray program", "dormix.exe"};
  // Under Wine here a start now and then takes two to three times the CPU
  // time of the others, whichever the program: the first quartile beside
  // the median shows the program's own cost.
  for (int p = 0; p < 2; ++p) std::printf("%s start to idle: median %.1f ns\n", names[p], bench::Median(starts[p]));
  for (int p = 0; p < 2; ++p)
    std::printf("%s start to idle, first quartile: %.1f ns\n", names[p], bench::Quantile(starts[p], 0.25));
  for (int p = 0; p < 2; ++p)
    std::printf("%s start to idle, CPU until settled: median %.1f ms\n", names[p], bench::Median(startCpu[p]));
  for (int p = 0; p < 2; ++p)
    std::printf("%s start to idle, CPU until settled, first quartile: %.1f ms\n", names[p],
                bench::Quantile(startCpu[p], 0.25));
  for (int p = 0; p < 2; ++p) std::printf("%s peak working set: median %.0f KB\n", names[p], bench::Median(peaks[p]));
  for (int p = 0; p < 2; ++p) std::printf("%s CPU over 10 s idle: median %.1f ms\n", names[p], bench::Median(idle[p]));
  return 0;
}
