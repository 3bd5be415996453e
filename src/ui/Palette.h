// The colours things are painted in: the design's, or with a high-contrast
// theme on, the system colour of the thing's role, whatever the design said.
#pragma once
#include "ui/Color.h"

namespace ui {

enum class PaintRole {
  Face,        // a window's background
  Text,        // text on it
  BarFace,     // the menu's side bar (both ends of its gradient)
  BarText,     // the side bar's caption
  Banner,      // a drawn banner's card
  BannerText,  // text and symbols on it
  Accent,      // a drawn picture's coloured part (the power symbol's disc)
};

TColor ThemeColor(TColor designed, PaintRole role, bool highContrast);

}  // namespace ui
