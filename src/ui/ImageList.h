// An image list of equal-sized pictures from the program's resources: a
// strip kept at twice the list's size and drawn scaled down to the dpi's,
// or icons taken from their resources at the size asked for.
#pragma once
#include <windows.h>

#include <vector>

#include "ui/Component.h"
#include "ui/Win32Handle.h"

namespace ui {

class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, int width, int height) : TComponent(owner), width_(width), height_(height) {}
  // The strip's pixels of `transparent` colour are not drawn.
  void LoadStrip(int resourceId, COLORREF transparent);
  // Adds an icon resource as the next image.
  void AddIcon(int resourceId);
  int Count() const;
  // The images' size at `dpi`.
  SIZE Size(int dpi) const;
  // A strip's image at its size for `dpi`, blended by its edges' coverage;
  // greyed when not enabled.
  void Draw(HDC dc, int x, int y, int index, bool enabled, int dpi) const;
  // A new icon of an icon list's image at `size` pixels; the caller owns it.
  unique_hicon Icon(int index, int size) const;

 private:
  // The strip at one size, made when first drawn at it.
  struct Strip {
    int dpi = 0;
    unique_hbitmap normal, greyed;
  };
  const Strip& StripAt(int dpi) const;
  int width_, height_;
  int strip_ = 0;
  COLORREF transparent_ = 0;
  std::vector<int> icons_;
  mutable unique_hbitmap master_;
  mutable Strip scaled_;
};

}  // namespace ui
