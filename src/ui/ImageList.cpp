// Image lists.
#include "ui/ImageList.h"

#include "ui/Picture.h"
#include "ui/Scale.h"

namespace ui {

void TImageList::LoadStrip(int resourceId, COLORREF transparent) {
  strip_ = resourceId;
  transparent_ = transparent;
  master_.reset();
  scaled_ = {};
}

void TImageList::AddIcon(int resourceId) { icons_.push_back(resourceId); }

int TImageList::Count() const {
  if (!strip_) return static_cast<int>(icons_.size());
  if (!master_) master_ = LoadPicture(strip_);
  BITMAP bm{};
  return master_ && GetObjectA(master_.get(), sizeof bm, &bm) ? bm.bmWidth / (2 * width_) : 0;
}

SIZE TImageList::Size(int dpi) const { return {Scaled(width_, dpi), Scaled(height_, dpi)}; }

const TImageList::Strip& TImageList::StripAt(int dpi) const {
  if (scaled_.dpi == dpi) return scaled_;
  const int count = Count();  // loads the master
  Pixels master = BitmapPixels(master_.get());
  // The key colour (COLORREF is red in the low byte) as 0x00RRGGBB.
  KeyToAlpha(master, (transparent_ & 0xFF) << 16 | (transparent_ & 0xFF00) | (transparent_ >> 16 & 0xFF));
  const SIZE size = Size(dpi);
  const Pixels strip = AreaScaled(master, size.cx * count, size.cy);
  scaled_ = {dpi, PixelsBitmap(strip), PixelsBitmap(Greyed(strip))};
  return scaled_;
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled, int dpi) const {
  if (!strip_ || index < 0 || index >= Count()) return;
  const Strip& strip = StripAt(dpi);
  const SIZE size = Size(dpi);
  const unique_hdc memory(CreateCompatibleDC(dc));
  const SelectedObject selected(memory.get(), enabled ? strip.normal.get() : strip.greyed.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, size.cx, size.cy, memory.get(), index * size.cx, 0, size.cx, size.cy, blend);
}

unique_hicon TImageList::Icon(int index, int size) const {
  if (index < 0 || index >= static_cast<int>(icons_.size())) return unique_hicon();
  return unique_hicon(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icons_[index]), IMAGE_ICON, size, size, 0)));
}

}  // namespace ui
