// Program entry: the library search narrowed to the system, the command
// line and the guard that keeps one copy running (command/), the hotkey
// module's start-up, then the four windows and the message loop.
#include <windows.h>

#include <cstdlib>
#include <optional>

#include "app/Actions.h"
#include "app/Startup.h"
#include "command/Handoff_win32.h"
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
  // Lives as long as the process: its name tells later starts that this
  // copy runs.
  ui::unique_handle guard;
  if (const std::optional<int> code = command::Launch({__argv + 1, __argv + __argc}, app::CommandVerbs(), guard))
    return *code;

  // Declared before the application: its shutdown runs after the windows are gone.
  const hotkeys::Module hotKeyModule(hotkeys::Win32KeyboardLayout());

  ui::TApplication application;
  application.Initialize();
  CreateWindows(application);
  application.Run();
  return 0;
}
