// Image lists.
#include "ui/ImageList.h"

#include "ui/Library.h"
#include "ui/Picture.h"

namespace ui {

// Only a list that was made exists, so the library is loaded by then.
void DestroyImageList(HIMAGELIST list) { Comctl32().Destroy(list); }

void TImageList::LoadStrip(int resourceId, COLORREF transparent) {
  strip_ = resourceId;
  transparent_ = transparent;
  list_.reset();
}

void TImageList::AddIcon(int resourceId) {
  icons_.push_back(resourceId);
  list_.reset();
}

HIMAGELIST TImageList::Handle() const {
  if (list_) return list_.get();
  const CommonControls& comctl = Comctl32();
  list_.reset(comctl.Create(width_, height_, ILC_COLOR24 | ILC_MASK, 0, 4));
  if (strip_) {
    if (const unique_hbitmap strip = LoadPicture(strip_)) comctl.AddMasked(list_.get(), strip.get(), transparent_);
  }
  for (std::size_t i = 0; i < icons_.size(); ++i)
    if (const unique_hicon icon = Icon(static_cast<int>(i))) comctl.ReplaceIcon(list_.get(), -1, icon.get());
  return list_.get();
}

int TImageList::Count() const {
  if (!strip_) return static_cast<int>(icons_.size());
  return Comctl32().GetImageCount(Handle());
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (index < 0 || (!strip_ && icons_.empty()) || index >= Count()) return;
  if (enabled) {
    Comctl32().Draw(Handle(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  const unique_hicon icon = Icon(index);
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, width_, height_,
             DST_ICON | DSS_DISABLED);
}

unique_hicon TImageList::Icon(int index) const {
  if (!strip_ && index >= 0 && index < static_cast<int>(icons_.size()))
    return unique_hicon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icons_[index]),
                                                      IMAGE_ICON, width_, height_, 0)));
  if (!strip_) return unique_hicon();
  return unique_hicon(Comctl32().GetIcon(Handle(), index, ILD_TRANSPARENT));
}

}  // namespace ui
