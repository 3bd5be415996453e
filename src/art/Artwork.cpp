// The drawn pictures. Shapes are drawn four times larger and averaged down,
// which smooths their edges as the artwork script does; text comes from the
// font rasteriser, smoothed by it. Lengths are the 96-dpi design's, scaled by
// the picture's height over its design height.
#include "art/Artwork.h"

#include <cmath>
#include <functional>

#include "resource.h"
#include "ui/Dpi.h"
#include "ui/Form.h"
#include "ui/Picture.h"
#include "ui/Win32Handle.h"

namespace art {

namespace {

constexpr int kSuper = 4;  // supersampling of the shapes

COLORREF Themed(COLORREF designed, ui::PaintRole role) {
  return ui::ThemedRGB(GetRValue(designed) | GetGValue(designed) << 8 | GetBValue(designed) << 16, role);
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  const ui::unique_hbrush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.get());
}

// Runs `draw` on a canvas `kSuper` times the size of `area`, over what the
// area holds already, in the picture's coordinates times `kSuper`; puts the
// result, averaged down, back into `area`.
void Smoothed(HDC dc, const RECT& area, const std::function<void(HDC)>& draw) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const ui::unique_hbitmap canvas(CreateCompatibleBitmap(dc, width * kSuper, height * kSuper));
  if (!canvas) return;
  {
    const ui::unique_hdc memory(CreateCompatibleDC(dc));
    const ui::SelectedObject selected(memory.get(), canvas.get());
    StretchBlt(memory.get(), 0, 0, width * kSuper, height * kSuper, dc, area.left, area.top, width, height, SRCCOPY);
    SetViewportOrgEx(memory.get(), -area.left * kSuper, -area.top * kSuper, nullptr);
    draw(memory.get());
  }
  const ui::unique_hbitmap small = ui::ScaledPicture(canvas.get(), width, height);
  ui::DrawPicture(dc, area.left, area.top, small.get());
}

ui::unique_hgdiobj Pen(COLORREF color, double width) {
  const LOGBRUSH brush{BS_SOLID, color, 0};
  return ui::unique_hgdiobj(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                         std::max(1, static_cast<int>(std::lround(width))), &brush, 0, nullptr));
}

// The power symbol: a ring open at the top, `r` its radius and `w` its
// stroke, with a bar through the gap whose top stands 0.28 r above the ring.
void Power(HDC dc, double cx, double cy, double r, double w, COLORREF color) {
  const ui::unique_hgdiobj pen = Pen(color, w);
  const ui::SelectedObject selected(dc, pen.get());
  const ui::SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
  auto at = [&](double degrees) {
    const double a = degrees * 3.14159265358979 / 180;
    return POINT{static_cast<LONG>(std::lround(cx + r * std::cos(a))), static_cast<LONG>(std::lround(cy + r * std::sin(a)))};
  };
  // Counter-clockwise on the screen, from the upper left round the bottom.
  const POINT from = at(232), to = at(-52);
  SetArcDirection(dc, AD_COUNTERCLOCKWISE);
  Arc(dc, std::lround(cx - r), std::lround(cy - r), std::lround(cx + r), std::lround(cy + r), from.x, from.y, to.x,
      to.y);
  MoveToEx(dc, std::lround(cx), std::lround(cy - r * 1.28), nullptr);
  LineTo(dc, std::lround(cx), std::lround(cy - r * 0.1));
}

// A disc of `fill` with a rim of `rim`, the rim ending at radius r.
void Disc(HDC dc, double cx, double cy, double r, double rimWidth, COLORREF fill, COLORREF rim) {
  const ui::unique_hbrush brush(CreateSolidBrush(fill));
  const ui::unique_hgdiobj pen = Pen(rim, rimWidth);
  const ui::SelectedObject b(dc, brush.get()), p(dc, pen.get());
  const double inner = r - rimWidth / 2;
  Ellipse(dc, std::lround(cx - inner), std::lround(cy - inner), std::lround(cx + inner), std::lround(cy + inner));
}

void Text(HDC dc, int x, int baseline, int pixels, bool bold, COLORREF color, const char* text) {
  const ui::unique_hfont font(CreateFontA(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                          DEFAULT_PITCH, "Tahoma"));
  const ui::SelectedObject selected(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  TextOutA(dc, x, baseline, text, lstrlenA(text));
}

// The blue card of the banner and the About picture: a gradient with faint
// rings, the white power symbol in a square at the left, the name and a tag
// line. The symbol's radius and the name's size are given at the design's
// height; the tag line is 12 pixels there.
void Brand(HDC dc, int width, int height, double designHeight, double symbolRadius, double nameSize,
           const char* tag) {
  const double s = height / designHeight;
  const bool contrast = ui::HighContrast();
  const COLORREF from = Themed(RGB(0x0e, 0x25, 0x50), ui::PaintRole::Banner);
  const COLORREF to = Themed(RGB(0x25, 0x63, 0xc9), ui::PaintRole::Banner);
  const COLORREF ink = Themed(RGB(255, 255, 255), ui::PaintRole::BannerText);
  for (int x = 0; x < width; ++x) {
    const int t = width > 1 ? x * 255 / (width - 1) : 0;
    auto mix = [&](int a, int b) { return a + (b - a) * t / 255; };
    Fill(dc, {x, 0, x + 1, height},
         RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)), mix(GetBValue(from), GetBValue(to))));
  }
  if (!contrast) {
    // The rings, white at 8 % over the card's right end.
    const ui::unique_hgdiobj pen = Pen(RGB(0x36, 0x70, 0xcd), height / 6.0);
    const ui::SelectedObject p(dc, pen.get());
    const ui::SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
    const int cx = width - height / 2, cy = height / 2;
    for (double r : {height * 0.3, height * 0.625})
      Ellipse(dc, std::lround(cx - r), std::lround(cy - r), std::lround(cx + r), std::lround(cy + r));
  }
  const double r = symbolRadius * s;
  Smoothed(dc, {0, 0, height, height}, [&](HDC big) {
    Power(big, kSuper * height / 2.0, kSuper * (height / 2.0 + r * 0.14), kSuper * r, kSuper * r / 3, ink);
  });
  const int x = height * 9 / 10, name = static_cast<int>(std::lround(nameSize * s));
  const int baseline = height / 2 + name / 3;
  Text(dc, x, baseline, name, true, ink, "Dormix");
  Text(dc, x + static_cast<int>(std::lround(2 * s)), baseline + static_cast<int>(std::lround(18 * s)),
       static_cast<int>(std::lround(12 * s)), false,
       Themed(RGB(0x8f, 0xb8, 0xf0), ui::PaintRole::BannerText), tag);
}

}  // namespace

void Banner(HDC dc, int width, int height) {
  Brand(dc, width, height, 73, 17, 34, "Shut down, restart, hibernate or lock, right on time");
}

// The card with its corners rounded off onto the window's white.
void AboutPicture(HDC dc, int width, int height) {
  const COLORREF window = Themed(RGB(255, 255, 255), ui::PaintRole::Face);
  Fill(dc, {0, 0, width, height}, window);
  const int radius = std::max(2, height * 18 / 105);
  const ui::unique_hgdiobj round(CreateRoundRectRgn(0, 0, width + 1, height + 1, radius, radius));
  SelectClipRgn(dc, static_cast<HRGN>(round.get()));
  Brand(dc, width, height, 105, 25, 44, "Timed shut down, log off, hibernate and lock");
  SelectClipRgn(dc, nullptr);
}

// White on a red disc, on the notice's white.
void PowerSymbol(HDC dc, int width, int height) {
  const COLORREF back = Themed(RGB(255, 255, 255), ui::PaintRole::Face);
  const int size = std::min(width, height);
  const double u = size / 16.0;  // the 16-unit grid of the artwork
  Fill(dc, {0, 0, width, height}, back);
  const int left = (width - size) / 2, top = (height - size) / 2;
  Smoothed(dc, {left, top, left + size, top + size}, [&](HDC big) {
    const double k = kSuper * u, x = kSuper * left + 8 * k, y = kSuper * top + 8 * k;
    Disc(big, x, y, 7.5 * k, 0.5 * k, Themed(RGB(0xd8, 0x26, 0x1c), ui::PaintRole::Accent),
         Themed(RGB(0x8e, 0x14, 0x0d), ui::PaintRole::BannerText));
    Power(big, x, y + 0.55 * k, 3.9 * k, 1.3 * k, Themed(RGB(255, 255, 255), ui::PaintRole::Banner));
  });
}

// The lock panel's banner on black: a dark card, the red power symbol, the
// name, a padlock, and a well framing the password field, which lies over
// the banner at (200, 21), 121 x 21 in the design.
void PanelBanner(HDC dc, int width, int height) {
  const double s = height / 70.0;
  auto at = [s](double v) { return static_cast<int>(std::lround(v * s)); };
  const COLORREF outside = Themed(RGB(0, 0, 0), ui::PaintRole::Face);
  const COLORREF card = Themed(RGB(0x1c, 0x22, 0x2b), ui::PaintRole::Banner);
  const COLORREF ink = Themed(RGB(255, 255, 255), ui::PaintRole::BannerText);
  const COLORREF quiet = Themed(RGB(0x9a, 0xa6, 0xb8), ui::PaintRole::BannerText);
  Fill(dc, {0, 0, width, height}, outside);
  {
    const ui::unique_hbrush brush(CreateSolidBrush(card));
    const ui::unique_hgdiobj pen = Pen(Themed(RGB(0x3a, 0x44, 0x52), ui::PaintRole::BannerText), s);
    const ui::SelectedObject b(dc, brush.get()), p(dc, pen.get());
    RoundRect(dc, 0, 0, width, height, at(20), at(20));
  }
  {
    const ui::unique_hbrush brush(CreateSolidBrush(Themed(RGB(0x0b, 0x0e, 0x12), ui::PaintRole::Banner)));
    const ui::unique_hgdiobj pen = Pen(Themed(RGB(0x5a, 0x66, 0x78), ui::PaintRole::BannerText), s);
    const ui::SelectedObject b(dc, brush.get()), p(dc, pen.get());
    Rectangle(dc, at(198), at(19), at(323), at(44));
  }
  // Inside the card's rounded corners.
  Smoothed(dc, {at(8), at(8), at(62), at(62)}, [&](HDC big) {
    const double k = kSuper * s * 70 / 16;
    Disc(big, 8 * k, 8 * k, 6 * k, 0.4 * k, Themed(RGB(0xd8, 0x26, 0x1c), ui::PaintRole::Accent),
         Themed(RGB(0x8e, 0x14, 0x0d), ui::PaintRole::BannerText));
    Power(big, 8 * k, 8.5 * k, 3.1 * k, 1.1 * k, Themed(RGB(255, 255, 255), ui::PaintRole::Banner));
  });
  {
    // The protection page's padlock, its white made transparent.
    const ui::unique_hbitmap master = ui::LoadPicture(IDB_PAGE_PROTECTION);
    ui::Pixels lock = ui::BitmapPixels(master.get());
    ui::KeyToAlpha(lock, 0xFFFFFF);
    const ui::unique_hbitmap small = ui::PixelsBitmap(ui::AreaScaled(lock, at(32), at(32)));
    ui::DrawPicture(dc, at(370), at(19), small.get());
  }
  Text(dc, at(70), at(38), at(28), true, ink, "Dormix");
  Text(dc, at(72), at(56), at(11), false, quiet, "Protection panel");
  Text(dc, at(203), at(58), at(11), false, quiet, "Enter the password");
}

}  // namespace art
