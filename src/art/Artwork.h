// The pictures Dormix draws rather than stores: the options window's banner,
// the About picture, the notice's power symbol and the lock panel's banner.
// Each is drawn at the size asked for (TImage::SetPainter), so it is sharp at
// any dpi and costs the executable no bitmap; with a high-contrast theme on,
// in the theme's colours.
#pragma once
#include <windows.h>

namespace art {

void Banner(HDC dc, int width, int height);
void AboutPicture(HDC dc, int width, int height);
void PowerSymbol(HDC dc, int width, int height);
void PanelBanner(HDC dc, int width, int height);

}  // namespace art
