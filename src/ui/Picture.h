// The pictures compiled into dormix.exe, packed by tools/pack-picture.
#pragma once
#include "ui/Scale.h"
#include "ui/Win32Handle.h"

namespace ui {

// The picture of an RCDATA resource as a DIB section; none when the
// resource is missing or damaged.
unique_hbitmap LoadPicture(int resourceId);

// A bitmap's pixels as 32-bit BGRA, top row first, opaque.
Pixels BitmapPixels(HBITMAP bitmap);
// A top-down 32-bit DIB section of premultiplied pixels.
unique_hbitmap PixelsBitmap(const Pixels& pixels);
// `master` scaled down to `width` x `height`, area-averaged, opaque.
unique_hbitmap ScaledPicture(HBITMAP master, int width, int height);
// What `painter` draws at `width` x `height`, opaque.
unique_hbitmap PaintedPicture(void (*painter)(HDC, int, int), int width, int height);
// Draws a bitmap of PixelsBitmap (or any opaque one) at its own size,
// blended by its alpha.
void DrawPicture(HDC dc, int x, int y, HBITMAP picture);

}  // namespace ui
