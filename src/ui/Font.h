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
  // Used instead of name when that face is not installed. Looked up when the
  // font is first made, not when it is described: the first use of fonts
  // under Wine loads every font file (hundreds of milliseconds).
  std::string fallback;
  int height = -11;  // negative: character height in pixels at 96 dpi
  unsigned style = 0;
  TColor color = SystemColor(COLOR_WINDOWTEXT);
  bool operator==(const TFont&) const = default;
};

// The font at `dpi`: its design height (its point size) scaled.
HFONT FontHandle(const TFont& font, int dpi = 96);

}  // namespace ui
