// Image lists.
#include "ui/ImageList.h"

namespace ui {

void TImageList::LoadStrip(int resourceId, COLORREF transparent) {
  list_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 0, 4));
  const unique_hbitmap strip(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, 0)));
  if (strip) ImageList_AddMasked(list_.get(), strip.get(), transparent);
}

void TImageList::AddIcon(int resourceId) {
  if (!list_) list_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 0, 4));
  const unique_hicon icon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                                        IMAGE_ICON, width_, height_, 0)));
  if (icon) ImageList_AddIcon(list_.get(), icon.get());
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (!list_ || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(list_.get(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  const unique_hicon icon = Icon(index);
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, width_, height_,
             DST_ICON | DSS_DISABLED);
}

unique_hicon TImageList::Icon(int index) const {
  return unique_hicon(list_ ? ImageList_GetIcon(list_.get(), index, ILD_TRANSPARENT) : nullptr);
}

}  // namespace ui
