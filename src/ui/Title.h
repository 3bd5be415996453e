// The application's default title, derived from the executable's path the way
// Windows programs of this kind name themselves: "C:\Tools\DORMIX.EXE" gives
// "Dormix". The single-instance mutex is named after it.
#pragma once
#include <string>
#include <string_view>

namespace ui {

// Directory and everything from the first dot of the file name dropped; the
// first character kept as it is, the rest lower-cased (ASCII letters only, as
// the 8-bit title has no other case rules we could rely on).
std::string TitleFromPath(std::string_view path);

// The full path of the running executable, however long. Win32 only.
std::string ExecutablePath();

}  // namespace ui
