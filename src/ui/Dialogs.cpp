// The file-open dialog.
#include "ui/Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include "ui/Application.h"
#include "ui/Library.h"
#include "ui/Window.h"

namespace ui {

bool TOpenDialog::Execute() {
  std::string filterList = filter;
  for (char& c : filterList)
    if (c == '|') c = '\0';
  filterList.append(2, '\0');
  // A path of MAX_PATH characters, in UTF-8 up to three bytes each.
  char file[3 * MAX_PATH] = {};
  fileName.copy(file, sizeof file - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filterList.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  // The process's current folder stays where it was, not in whatever folder
  // the user browsed: nothing opened later by a relative name comes from there.
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  // Loaded on first use: with it come the printing libraries it imports.
  static const auto getOpenFileName = LibraryFunction<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
  if (!getOpenFileName) RaiseLastOSError();
  if (!getOpenFileName(&ofn)) return false;
  fileName = file;
  return true;
}

}  // namespace ui
