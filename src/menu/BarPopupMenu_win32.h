// BarPopupMenu, the Win32 half: TBarPopupMenu, the popup menu whose top-level
// items carry the side bar of BarPopupMenu.h down the menu's left edge, its
// picture TBitmap, and CreateRotatedFont.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "menu/BarPopupMenu.h"
#include "ui/Menus.h"
#include "ui/Win32Handle.h"

namespace menu {

// A picture whose pixels of one colour may be left undrawn.
class TBitmap {
 public:
  bool Transparent = false;
  // The colour left undrawn while Transparent is on; unset, the colour of
  // the bottom-left pixel.
  std::optional<COLORREF> TransparentColor;

  bool Empty() const { return !bitmap_; }
  TSize Size() const;
  HBITMAP Handle() const { return bitmap_.get(); }
  void SetHandle(ui::unique_hbitmap bitmap) { bitmap_ = std::move(bitmap); }
  // A copy of the picture with its transparency settings; none empties it.
  void Assign(const TBitmap* source);
  // At its own size; nothing for an empty picture.
  void Draw(HDC dc, int x, int y) const;

 private:
  ui::unique_hbitmap bitmap_;
};

// The menu is rebuilt at every popup, and Popup makes every top-level item
// draw itself through DrawBarItem: the item's standard look right of the bar,
// and on the first pass the bar's slice beside it.
class TBarPopupMenu : public ui::TPopupMenu, public TSideBar {
 public:
  // VerticalText starts as the application's title once its window exists.
  explicit TBarPopupMenu(ui::TComponent* owner);

  // Reading creates an empty picture, transparency on, when there is none.
  TBitmap& Bitmap();
  // Keeps a copy of `value`; none empties the picture.
  void SetBitmap(const TBitmap* value);
  // False while there is no picture, and writing is then dropped.
  bool Transparent() const;
  void SetTransparent(bool value);

  void Popup(int x, int y) override;
  // The item handlers that Popup installs.
  void MeasureBarItem(ui::TMenuItem& item, HDC canvas, int& width, int& height);
  void DrawBarItem(ui::TMenuItem& item, HDC canvas, const RECT& r, UINT state);

 private:
  std::unique_ptr<TBitmap> FBitmap;
};

// A font with the attributes of `font`, its text turned `angle` degrees
// counter-clockwise.
ui::unique_hfont CreateRotatedFont(const TBarFont& font, int angle);

}  // namespace menu
