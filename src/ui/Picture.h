// The pictures compiled into dormix.exe, packed by tools/pack-picture.
#pragma once
#include "ui/Win32Handle.h"

namespace ui {

// The picture of an RCDATA resource as a DIB section; none when the
// resource is missing or damaged.
unique_hbitmap LoadPicture(int resourceId);

}  // namespace ui
