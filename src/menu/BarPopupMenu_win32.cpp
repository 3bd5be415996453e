// The bar popup menu on Win32: the item handlers, the device-context canvas
// the bar paints on, the picture and the rotated font.
#include "menu/BarPopupMenu_win32.h"

#include <bit>
#include <cstddef>

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Window.h"

namespace menu {

namespace {

// The menu's device context during one WM_DRAWITEM. Every brush and font made
// here is released before the item's drawing returns. With a high-contrast
// theme the bar takes the theme's colours: one, so no gradient.
class DeviceCanvas : public BarCanvas {
 public:
  DeviceCanvas(HDC dc, const TBitmap* picture) : dc_(dc), picture_(picture) {}

  TColor ColorToRGB(TColor color) override { return ui::ThemedRGB(color, ui::PaintRole::BarFace); }

  void FillRect(const TRect& r, TColor rgb) override {
    const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    const ui::unique_hbrush brush(CreateSolidBrush(rgb));
    ::FillRect(dc_, &rect, brush.get());
  }

  void WithRotatedFont(const TBarFont& font, int angle, const std::function<void(int)>& draw) override {
    const ui::unique_hfont rotated = CreateRotatedFont(font, angle);
    const ui::SelectedObject selected(dc_, rotated.get());
    SIZE x{};
    GetTextExtentPoint32A(dc_, "X", 1, &x);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, ui::ThemedRGB(font.Color, ui::PaintRole::BarText));
    draw(x.cy);
  }

  void ClippedText(int x, int y, const TRect& clip, std::string_view text) override {
    const RECT rect{clip.Left, clip.Top, clip.Right, clip.Bottom};
    const std::wstring wide = ui::Wide(text);
    ExtTextOutW(dc_, x, y, ETO_CLIPPED, &rect, wide.data(), static_cast<UINT>(wide.size()), nullptr);
  }

  void DrawPicture(int x, int y) override {
    if (picture_) picture_->Draw(dc_, x, y);
  }

 private:
  HDC dc_;
  const TBitmap* picture_;
};

}  // namespace

TSize TBitmap::Size() const {
  BITMAP info{};
  if (bitmap_) GetObjectA(bitmap_.get(), sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

void TBitmap::Assign(const TBitmap* source) {
  if (!source) {
    bitmap_.reset();
    return;
  }
  Transparent = source->Transparent;
  TransparentColor = source->TransparentColor;
  bitmap_.reset(source->bitmap_
                    ? static_cast<HBITMAP>(CopyImage(source->bitmap_.get(), IMAGE_BITMAP, 0, 0, 0))
                    : nullptr);
}

void TBitmap::Draw(HDC dc, int x, int y) const {
  if (!bitmap_) return;
  const TSize size = Size();
  const ui::unique_hdc memory(CreateCompatibleDC(dc));
  const ui::SelectedObject selected(memory.get(), bitmap_.get());
  if (Transparent) {
    const COLORREF key = TransparentColor.value_or(GetPixel(memory.get(), 0, size.Height - 1));
    GdiTransparentBlt(dc, x, y, size.Width, size.Height, memory.get(), 0, 0, size.Width, size.Height, key);
  } else {
    BitBlt(dc, x, y, size.Width, size.Height, memory.get(), 0, 0, SRCCOPY);
  }
}

TBarPopupMenu::TBarPopupMenu(ui::TComponent* owner) : TPopupMenu(owner) {
  if (ui::Application().Handle()) VerticalText = ui::Application().Title();
}

TBitmap& TBarPopupMenu::Bitmap() {
  if (!FBitmap) {
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->Transparent = true;
  }
  return *FBitmap;
}

void TBarPopupMenu::SetBitmap(const TBitmap* value) { Bitmap().Assign(value); }

bool TBarPopupMenu::Transparent() const { return FBitmap && FBitmap->Transparent; }

void TBarPopupMenu::SetTransparent(bool value) {
  if (FBitmap) FBitmap->Transparent = value;
}

void TBarPopupMenu::Popup(int x, int y) {
  StartPopup();
  for (ui::TMenuItem* item : Items()) {
    item->OnMeasureItem = ui::Bind(this, &TBarPopupMenu::MeasureBarItem);
    item->OnAdvancedDrawItem = ui::Bind(this, &TBarPopupMenu::DrawBarItem);
  }
  TPopupMenu::Popup(x, y);
}

// A popup's items are all measured before any is drawn: the first
// measurement takes the dpi the menu opens at.
void TBarPopupMenu::MeasureBarItem(ui::TMenuItem& item, HDC, int& width, int& height) {
  PopupDpi = Dpi();
  MeasureBar(item.visible, width, height);
}

void TBarPopupMenu::DrawBarItem(ui::TMenuItem& item, HDC canvas, const RECT& r, UINT state) {
  item.DrawStandard(canvas, {r.left + ScaledBarWidth(), r.top, r.right, r.bottom}, state);
  DeviceCanvas device(canvas, FBitmap.get());
  DrawBar(device, {r.left, r.top, r.right, r.bottom},
          FBitmap ? std::optional<TSize>(FBitmap->Size()) : std::nullopt);
}

// RotatedFontFields lays its members out as LOGFONTA does.
static_assert(sizeof(RotatedFontFields) == sizeof(LOGFONTA));
static_assert(offsetof(RotatedFontFields, lfItalic) == offsetof(LOGFONTA, lfItalic));
static_assert(offsetof(RotatedFontFields, lfFaceName) == offsetof(LOGFONTA, lfFaceName));

ui::unique_hfont CreateRotatedFont(const TBarFont& font, int angle) {
  const auto record = std::bit_cast<LOGFONTA>(RotatedFont(font, angle));
  return ui::unique_hfont(CreateFontIndirectA(&record));
}

}  // namespace menu
