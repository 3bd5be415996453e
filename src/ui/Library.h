// System libraries that only some paths need, loaded at their first use
// rather than at start (under Wine the common controls cost ~2.9 MB and the
// sound library ~2.2 MB). A library is kept for the rest of the process, as
// an import would be. Each comes from the system, never from the folder the
// program was started from or its current one.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace ui {

// Narrows the search for the libraries loaded from now on, their own imports
// included, to the system folder where this Windows allows it, and takes the
// current folder out of it everywhere. Called first thing at start.
void RestrictLibrarySearch();

// A system library by its file name: the one the program's manifest names
// (the version 6 common controls) from Windows' side-by-side store, any other
// by its full path in the system folder. A bare name would look in the
// program's folder first, where a library of that name planted beside a
// downloaded exe would run inside it. Null when it cannot be loaded.
HMODULE SystemLibrary(const char* library);

// A function of a system library by its name, as its own type; null when
// the library or the function cannot be found. GCC takes the detour through
// void(*)() as the one cast between function types it allows.
template <typename F>
F LibraryFunction(const char* library, const char* name) {
  const HMODULE module = SystemLibrary(library);
  return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

// The common controls: loaded, with the classes of the hotkey and tab
// controls registered, when the first control is made. Raises the system's
// error when the library cannot be loaded.
void LoadCommonControls();

}  // namespace ui
