// Program entry: the library search narrowed to the system, the command
// line, the file-mapping guard, the hotkey module's start-up, then the four
// windows and the message loop. Without arguments the exit code is 0 on
// every path; with a command it is the command's answer (0 done, 1 refused,
// 2 bad usage), given by the running copy, or by one this process starts.
#include <windows.h>

#include <cstdlib>
#include <optional>

#include "app/CommandLine_win32.h"
#include "app/Startup.h"
#include "hotkeys/HotKeyManager_win32.h"
#include "ui/Application.h"
#include "ui/Library.h"
#include "ui/Win32Handle.h"

// The library's default handler prints the escaping exception's type to
// stderr, which a GUI program does not have, and brings the C++ name
// demangler (46 KB) into the executable for it. Defined here, it does not.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::RestrictLibrarySearch();
  std::optional<app::Command> command;
  if (__argc > 1) {
    const auto parsed = app::ParseCommandLine({__argv + 1, __argv + __argc});
    if (const auto* error = std::get_if<std::string>(&parsed)) {
      app::Print({2, *error + "\n" + app::kTryUsage}, true);
      return 2;
    }
    command = std::get<app::Command>(parsed);
    if (command->kind == app::Command::Kind::Usage) {
      app::Print({0, app::kUsage}, true);
      return 0;
    }
  }

  // Only the name matters: nothing is ever read or written. The handle lives
  // as long as the process.
  ui::unique_handle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 32, "Dormix"));
  if (!mapping || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (!command) return 0;
    const app::Answer answer = app::HandOff(*command);
    app::Print(answer, answer.code != 0);
    return answer.code;
  }
  if (command) {
    // With no copy running there is no countdown to cancel, postpone or report.
    if (command->kind != app::Command::Kind::Run) {
      app::Print({1, "Dormix is not running."}, true);
      return 1;
    }
    // A copy of its own takes the tray, so that this process ends with its
    // answer as a caller waiting for it expects; the name is free for it.
    mapping.reset();
    const ui::unique_handle copy = app::StartCopy();
    const app::Answer answer = copy ? app::HandOff(*command, copy.get()) : app::Answer{1, "Dormix could not be started."};
    app::Print(answer, answer.code != 0);
    return answer.code;
  }

  // Declared before the application: its shutdown runs after the windows are gone.
  const hotkeys::Module hotKeyModule(hotkeys::Win32KeyboardLayout());

  ui::TApplication application;
  application.Initialize();
  CreateWindows(application);
  application.Run();
  return 0;
}
