// The high-contrast colours by role.
#include "ui/Palette.h"

namespace ui {

TColor ThemeColor(TColor designed, PaintRole role, bool highContrast) {
  if (!highContrast) return designed;
  switch (role) {
    case PaintRole::Face: return clBtnFace;
    case PaintRole::Text: return clBtnText;
    case PaintRole::BarFace: return clHighlight;
    case PaintRole::BarText: return clHighlightText;
    case PaintRole::Banner: return clWindow;
    case PaintRole::BannerText: return clWindowText;
    case PaintRole::Accent: return clHighlight;
  }
  return designed;
}

}  // namespace ui
