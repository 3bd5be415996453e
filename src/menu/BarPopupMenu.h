// BarPopupMenu, the portable half: the side bar of the bar popup menu, its
// properties, and how it is measured and painted item by item (gradient rows,
// rotated text, picture) onto a canvas interface. The component
// TBarPopupMenu and the Win32 canvas are in BarPopupMenu_win32.h.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Color.h"

namespace menu {

using ui::TColor;

enum TBitmapVertAlignment : std::uint8_t { bvaTop = 0, bvaBottom = 1, bvaMiddle = 2 };
enum TBitmapHorzAlignment : std::uint8_t { bhaLeft = 0, bhaRight = 1, bhaCenter = 2 };
enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

// The font of the bar's text.
struct TBarFont {
  std::string Name = "Tahoma";
  // Negative: character height in pixels. 14 points at the 96 dpi that
  // Windows reports to a program not marked DPI-aware.
  int Height = -19;
  TColor Color = ui::clWhite;
  bool Bold = true, Italic = true, Underline = false, StrikeOut = false;
  TFontPitch Pitch = fpDefault;
};

// The LOGFONTA that CreateRotatedFont hands to CreateFontIndirectA, member
// for member.
struct RotatedFontFields {
  std::int32_t lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
  std::uint8_t lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality,
      lfPitchAndFamily;
  char lfFaceName[32];  // cut to 31 characters
  bool operator==(const RotatedFontFields&) const = default;
};
RotatedFontFields RotatedFont(const TBarFont& font, int angle);

struct TRect {
  int Left, Top, Right, Bottom;
  bool operator==(const TRect&) const = default;
};
struct TSize {
  int Width, Height;
};
struct TPoint {
  int X, Y;
};

// What the bar paints with, in the coordinates of the menu's device context.
class BarCanvas {
 public:
  virtual ~BarCanvas() = default;
  // Red in the low byte, then green, then blue; system colours resolved.
  virtual TColor ColorToRGB(TColor color) = 0;
  // A solid fill; right and bottom are exclusive.
  virtual void FillRect(const TRect& r, TColor rgb) = 0;
  // Runs `draw` with `font`, rotated by `angle` degrees, as the canvas font, in
  // its colour with no background, passing the height of "X" in it. The
  // rotated font lives for that call only.
  virtual void WithRotatedFont(const TBarFont& font, int angle, const std::function<void(int)>& draw) = 0;
  // ExtTextOutW with ETO_CLIPPED.
  virtual void ClippedText(int x, int y, const TRect& clip, std::string_view text) = 0;
  // The bar's picture at its own size.
  virtual void DrawPicture(int x, int y) = 0;
};

// The bar's properties and its state during one popup. Rows are counted from
// the first item's top, which is where the bar starts: the platform may put
// the items below a margin (Wine's popup menus start them at 3, 3).
class TSideBar {
 public:
  int BitmapOffsetX = 0;
  int BitmapOffsetY = 0;
  TBitmapVertAlignment BitmapVertAlignment = bvaBottom;
  TBitmapHorzAlignment BitmapHorzAlignment = bhaLeft;
  TColor GradientStart = ui::clBlue;
  TColor GradientEnd = ui::clBlack;
  std::string VerticalText;
  TBarFont VerticalFont;
  int VerticalTextOffsetY = -6;  // where the text starts, from the menu's bottom
  int BarWidth = 31;             // with the 2-pixel gap before the items
  // The dpi the popup is measured and drawn at; the lengths above, the
  // font's height among them, are at 96 and scaled to it.
  int PopupDpi = 96;

  // A new popup: nothing measured, nothing painted.
  void StartPopup();
  // The bar's width with its gap, at PopupDpi.
  int ScaledBarWidth() const;
  // `width` and `height` hold the item's standard size: the bar widens it,
  // and a visible item adds its height to the total.
  void MeasureBar(bool visible, int& width, int height);
  // Paints the bar's part of the item in `r` (device coordinates) on the
  // first pass; `picture` is the size of the picture when there is one.
  void DrawBar(BarCanvas& canvas, const TRect& r, const std::optional<TSize>& picture);

  int TotalHeight() const { return FTotalHeight; }
  bool BarDrawn() const { return FBarDrawn; }

 private:
  int FTotalHeight = 0;
  bool FBarDrawn = false;
  std::optional<TPoint> FOrigin;  // device position of the first item's top-left
};

}  // namespace menu
