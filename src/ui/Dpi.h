// Display scale on Win32. The per-monitor functions (Windows 10 1607 and
// later, 8.1 for a monitor's dpi) are looked up at run time; before them
// every window has the screen's LOGPIXELSY.
#pragma once
#include <windows.h>

#include "ui/Scale.h"

namespace ui {

int SystemDpi();
int WindowDpi(HWND window);
// The dpi of the monitor at a screen point: where a menu opens.
int PointDpi(POINT at);
// The window rectangle around a client area at `dpi`.
RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);
// The suggested rectangle of a WM_DPICHANGED: read only where the address
// holds readable memory and the rectangle is a plausible window's (another
// program may send the message with any lParam).
bool SuggestedRect(LPARAM lParam, RECT& rect);
// On with a high-contrast theme chosen (SPI_GETHIGHCONTRAST), as last read.
bool HighContrast();
// Reads it again: the system's settings or colours changed.
void ReadHighContrast();

}  // namespace ui
