// System libraries from the system only, and the common controls, loaded at
// their first use.
#include "ui/Library.h"

#include "ui/Window.h"

namespace ui {

void RestrictLibrarySearch() {
  // Windows 8 and later, and 7 with update KB2533623: the system folder
  // alone. Otherwise the current folder at least leaves the search.
  const auto systemOnly = LibraryFunction<BOOL(WINAPI*)(DWORD)>("kernel32.dll", "SetDefaultDllDirectories");
  if (!systemOnly || !systemOnly(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryA("");
}

HMODULE SystemLibrary(const char* library) {
  ACTCTX_SECTION_KEYED_DATA redirected{};
  redirected.cbSize = sizeof redirected;
  if (FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, library, &redirected))
    return LoadLibraryA(library);
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (!length || length + 1 + lstrlenA(library) >= MAX_PATH) return nullptr;
  path[length] = '\\';
  lstrcpyA(path + length + 1, library);
  // The altered search takes the library's own imports from its folder too.
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void LoadCommonControls() {
  static const bool loaded = [] {
    const auto init = LibraryFunction<decltype(&InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    if (init) init(&classes);
    return init != nullptr;
  }();
  if (!loaded) RaiseLastOSError();
}

}  // namespace ui
