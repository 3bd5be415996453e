// Single-instance guard, the second of two: the program entry's file mapping
// ends a second copy before anything exists; this mutex, keyed by the
// application title, catches a copy that got past it and raises the running
// copy's window.
#include <windows.h>

#include <cstring>

#include "power/QuorinFunction.h"
#include "ui/Application.h"
#include "ui/Win32Handle.h"

namespace power {

bool MutexCreated = false;

namespace {
ui::unique_handle SingleInstanceMutex;
}

void CheckSingleInstance() {
  char name[257] = {};
  std::strncpy(name, ui::Application().Title().c_str(), sizeof name - 1);
  MutexCreated = false;
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
  const DWORD error = GetLastError();
  SingleInstanceMutex.reset(mutex);
  if (error == ERROR_ALREADY_EXISTS || !mutex) {
    // Our own windows carry the same text; blanking the first one found lets
    // the second search reach another window of that text.
    SetWindowTextA(FindWindowA(nullptr, name), "");
    if (HWND w = FindWindowA(nullptr, name)) {
      if (IsIconic(w))
        ShowWindow(w, SW_RESTORE);
      else
        BringWindowToTop(w);
    }
    ui::Application().Terminate();
  }
  MutexCreated = true;
}

void ReleaseSingleInstance() {
  if (MutexCreated) SingleInstanceMutex.reset();
}

}  // namespace power
