// For the benchmarks that start programs under Wine and time them: the
// folder they are in, a clock, a poll with a deadline, the end of a run that
// failed, and the CPU time of a program they started
// as Linux counts it (Wine's GetProcessTimes counts nothing for another
// process). Each Windows process under Wine is a Linux process of its own,
// read through drive Z: (the Linux root): the one whose command line starts
// with the program's path (Wine gives it the path it was started by) and
// whose environment names this suite's Wine prefix.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {

// The folder of this benchmark program, where the programs it starts are.
inline std::string ProgramFolder() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self);
  return folder.erase(folder.find_last_of('\\'));
}

inline double NowNs() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(c.QuadPart) * 1e9 / static_cast<double>(f.QuadPart);
}

// Polls `done` every millisecond, for `ms` at most.
template <typename F>
bool Within(DWORD ms, F&& done) {
  for (const DWORD start = GetTickCount(); !done();) {
    if (GetTickCount() - start > ms) return done();
    Sleep(1);
  }
  return true;
}

// The display's scale as programs started now see it, a line of the report.
inline void PrintDpi() {
  const HDC screen = GetDC(nullptr);
  std::printf("display: %d dpi\n", GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
}

// Ends the benchmark: what a program it measures failed to do.
[[noreturn]] inline void Fail(const char* program, const char* what) {
  std::printf("%s: %s\n", program, what);
  std::exit(1);
}

namespace detail {

inline std::string Contents(const std::string& path) {
  std::string text;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

// Calls `f` with the name of each entry of a folder but "." and "..".
template <typename F>
void EachEntry(const std::string& folder, F&& f) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") f(name);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

}  // namespace detail

class LinuxCpu {
 public:
  // Finds the Linux process of the program started from `exe`, which must
  // have started running; one at a time may run from there.
  explicit LinuxCpu(const std::string& exe) {
    char prefix[MAX_PATH] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    const std::string inPrefix = std::string("WINEPREFIX=") + prefix + '\0';
    detail::EachEntry("Z:\\proc", [&](const std::string& pid) {
      if (pid.find_first_not_of("0123456789") != std::string::npos) return;
      const std::string folder = "Z:\\proc\\" + pid;
      const std::string command = detail::Contents(folder + "\\cmdline");
      if (_strnicmp(command.c_str(), exe.c_str(), exe.size()) != 0) return;
      if (detail::Contents(folder + "\\environ").find(inPrefix) == std::string::npos) return;
      folder_ = folder;
    });
  }
  bool Found() const { return !folder_.empty(); }

  // Milliseconds its threads have run so far (the first field of each
  // thread's schedstat, in nanoseconds).
  double Ms() const {
    double ns = 0;
    detail::EachEntry(folder_ + "\\task", [&](const std::string& thread) {
      ns += std::strtod(detail::Contents(folder_ + "\\task\\" + thread + "\\schedstat").c_str(), nullptr);
    });
    return ns / 1e6;
  }

  // Waits until it has run for no more than a tenth of a millisecond over
  // 100 ms (at most `timeoutMs`): whatever it had to do is done. Its CPU
  // time then.
  double SettledMs(DWORD timeoutMs = 5000) const {
    const DWORD start = GetTickCount();
    double before = Ms();
    for (;;) {
      Sleep(100);
      const double now = Ms();
      if (now - before < 0.1 || GetTickCount() - start >= timeoutMs) return now;
      before = now;
    }
  }

 private:
  std::string folder_;
};

}  // namespace bench
