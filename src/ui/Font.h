// Fonts by description. Every distinct font is created once and kept for the
// life of the program, so controls can share it and nothing is created per
// paint.
#pragma once
#include <windows.h>

#include <string>

#include "ui/Color.h"

namespace ui {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
  std::string name = "MS Sans Serif";
  int height = -11;  // negative: character height in pixels
  unsigned style = 0;
  TColor color = SystemColor(COLOR_WINDOWTEXT);
  bool operator==(const TFont&) const = default;
};

HFONT FontHandle(const TFont& font);
// The first installed face of the list; the last one when none is.
std::string InstalledFace(std::initializer_list<const char*> faces);

}  // namespace ui
