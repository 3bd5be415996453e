// An image list of equal-sized pictures loaded from a bitmap strip resource.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "ui/Component.h"
#include "ui/Handle.h"
#include "ui/Win32Handle.h"

namespace ui {

using unique_himagelist = UniqueHandle<HIMAGELIST, &ImageList_Destroy>;

class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, int width, int height) : TComponent(owner), width_(width), height_(height) {}
  // The strip's pixels of `transparent` colour are not drawn.
  void LoadStrip(int resourceId, COLORREF transparent);
  // Adds an icon resource (its small size) as the next image.
  void AddIcon(int resourceId);
  int Count() const;
  HIMAGELIST Handle() const { return list_.get(); }
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  // A new icon of one image; the caller owns it.
  unique_hicon Icon(int index) const;

 private:
  int width_, height_;
  unique_himagelist list_;
};

}  // namespace ui
