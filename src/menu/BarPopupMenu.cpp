// The side bar's arithmetic: gradient rows, text and picture positions, and
// the rotated font's record.
#include "menu/BarPopupMenu.h"

#include <cmath>

#include "ui/Scale.h"

namespace menu {

namespace {

// c1 + ((c2 - c1) * y) / total as signed 32-bit integers (the product
// wrapping, the quotient truncated toward zero), kept to its low 8 bits.
TColor GradientChannel(TColor c1, TColor c2, int y, int total) {
  const int from = static_cast<int>(c1 & 0xFF), to = static_cast<int>(c2 & 0xFF);
  const auto product =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(to - from) * static_cast<std::uint32_t>(y));
  return static_cast<TColor>(from + static_cast<std::int64_t>(product) / total) & 0xFF;
}

TColor GradientColor(TColor start, TColor end, int y, int total) {
  TColor rgb = 0;
  for (int shift : {0, 8, 16}) rgb |= GradientChannel(start >> shift, end >> shift, y, total) << shift;
  return rgb;
}

}  // namespace

RotatedFontFields RotatedFont(const TBarFont& font, int angle) {
  RotatedFontFields f{};
  f.lfHeight = font.Height;
  f.lfEscapement = angle * 10;
  f.lfWeight = font.Bold ? 700 : 400;
  f.lfItalic = font.Italic;
  f.lfUnderline = font.Underline;
  f.lfStrikeOut = font.StrikeOut;
  f.lfCharSet = 1;  // DEFAULT_CHARSET, whatever the font's own
  f.lfPitchAndFamily = font.Pitch == fpVariable ? 2 : font.Pitch == fpFixed ? 1 : 0;
  font.Name.copy(f.lfFaceName, sizeof f.lfFaceName - 1);
  return f;
}

void TSideBar::StartPopup() {
  FTotalHeight = 0;
  FBarDrawn = false;
  FOrigin.reset();
}

int TSideBar::ScaledBarWidth() const { return ui::Scaled(BarWidth, PopupDpi); }

void TSideBar::MeasureBar(bool visible, int& width, int height) {
  width += ScaledBarWidth();
  if (visible) FTotalHeight += height;
}

void TSideBar::DrawBar(BarCanvas& canvas, const TRect& r, const std::optional<TSize>& picture) {
  if (FBarDrawn) return;
  // The first pass draws the items top to bottom: the first one drawn is the top one.
  if (!FOrigin) FOrigin = TPoint{r.Left, r.Top};
  const int x0 = FOrigin->X, y0 = FOrigin->Y;
  const int top = r.Top - y0, bottom = r.Bottom - y0;
  const int barWidth = ScaledBarWidth(), gap = ui::Scaled(2, PopupDpi);
  const int barRight = x0 + barWidth - gap;

  if (GradientStart == GradientEnd) {
    canvas.FillRect({x0, r.Top, barRight, r.Bottom}, canvas.ColorToRGB(GradientStart));
  } else if (FTotalHeight != 0) {
    // Rows count from the menu's top, so the gradient runs on across the items;
    // the bottom row is painted again, in the same colour, by the next item.
    const TColor start = canvas.ColorToRGB(GradientStart), end = canvas.ColorToRGB(GradientEnd);
    for (int y = top; y <= bottom; ++y)
      canvas.FillRect({x0, y0 + y, barRight, y0 + y + 1}, GradientColor(start, end, y, FTotalHeight));
  }

  int textY = FTotalHeight + ui::Scaled(VerticalTextOffsetY, PopupDpi);
  if (picture && BitmapVertAlignment == bvaBottom) textY -= picture->Height;
  TBarFont font = VerticalFont;
  font.Height = ui::Scaled(font.Height, PopupDpi);
  canvas.WithRotatedFont(font, 90, [&](int textHeight) {
    // The text's cell is centred in the bar, a half pixel to the left, ties to even.
    const int x = static_cast<int>(std::nearbyint((barWidth - textHeight) / 2.0 - 0.5));
    canvas.ClippedText(x0 + x - 1, y0 + textY, {r.Left, r.Top, r.Right, r.Bottom + 1}, VerticalText);
  });

  if (bottom != FTotalHeight) return;
  FBarDrawn = true;
  if (!picture) return;
  const int offsetX = ui::Scaled(BitmapOffsetX, PopupDpi), offsetY = ui::Scaled(BitmapOffsetY, PopupDpi);
  const int by = BitmapVertAlignment == bvaTop      ? offsetY
                 : BitmapVertAlignment == bvaBottom ? FTotalHeight + offsetY - picture->Height
                                                    : (FTotalHeight - picture->Height) / 2 + offsetY;
  const int bx = BitmapHorzAlignment == bhaLeft    ? offsetX
                 : BitmapHorzAlignment == bhaRight ? barWidth - gap + offsetX - picture->Width
                                                   : (barWidth - gap - picture->Width) / 2 + offsetX;
  canvas.DrawPicture(x0 + bx, y0 + by);
}

}  // namespace menu
