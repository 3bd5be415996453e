// Program entry: the library search narrowed to the system, the file-mapping
// guard, the hotkey module's start-up, then the four windows and the message
// loop. Exit code 0 on every path.
#include <windows.h>

#include <cstdlib>

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
  // Only the name matters: nothing is ever read or written. The handle lives
  // as long as the process.
  const ui::unique_handle mapping(
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 32, "Dormix"));
  if (!mapping || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  // Declared before the application: its shutdown runs after the windows are gone.
  const hotkeys::Module hotKeyModule(hotkeys::Win32KeyboardLayout());

  ui::TApplication application;
  application.Initialize();
  CreateWindows(application);
  application.Run();
  return 0;
}
