// An image list of equal-sized pictures from the program's resources: a
// bitmap strip or icons. The system image list behind it (and with it the
// common controls library) is made only when a picture is first drawn; the
// icons of an icon list are taken from their resources without it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/Component.h"
#include "ui/Handle.h"
#include "ui/Win32Handle.h"

namespace ui {

void DestroyImageList(HIMAGELIST list);
using unique_himagelist = UniqueHandle<HIMAGELIST, &DestroyImageList>;

class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, int width, int height) : TComponent(owner), width_(width), height_(height) {}
  // The strip's pixels of `transparent` colour are not drawn.
  void LoadStrip(int resourceId, COLORREF transparent);
  // Adds an icon resource (its small size) as the next image.
  void AddIcon(int resourceId);
  int Count() const;
  HIMAGELIST Handle() const;
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  // A new icon of one image; the caller owns it.
  unique_hicon Icon(int index) const;

 private:
  int width_, height_;
  int strip_ = 0;
  COLORREF transparent_ = 0;
  std::vector<int> icons_;
  mutable unique_himagelist list_;
};

}  // namespace ui
