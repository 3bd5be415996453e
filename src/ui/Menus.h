// Popup menus and their items. The menu is rebuilt at every popup from its
// items, owner-drawn (image, check mark, caption, shortcut text); the item
// chosen in it, or posted by the program, is clicked through the
// application's window. A WM_COMMAND from elsewhere clicks nothing.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"

namespace ui {

class TImageList;
class TPopupMenu;

class TMenuItem : public TComponent {
 public:
  TMenuItem(TComponent* owner, TPopupMenu& menu);
  ~TMenuItem() override;

  // Command numbers are given out from 1 in the order items are created;
  // an item may get a fixed one of its own.
  UINT Command() const { return command_; }
  void SetCommand(UINT command);
  static TMenuItem* FromCommand(UINT command);

  std::string caption;
  int imageIndex = -1;
  unsigned shortCut = 0;  // low 16 bits of a Shortcut word, shown as text
  bool checked = false;
  bool visible = true;
  bool enabled = true;
  bool autoCheck = false;  // choosing the item toggles its check mark

  // Toggles the check mark when autoCheck is set, then runs OnClick.
  void Click();
  // Chooses the item as its menu does: clicked through the queue.
  void PostClick() const;
  Event<TComponent&> OnClick;
  // Owner-draw hooks; when unassigned the standard drawing runs.
  Event<TMenuItem&, HDC, int&, int&> OnMeasureItem;
  Event<TMenuItem&, HDC, const RECT&, UINT> OnAdvancedDrawItem;
  // The standard look of an item in `r`, with the ODS_* state.
  void DrawStandard(HDC dc, const RECT& r, UINT state) const;
  // The standard size of the item.
  SIZE MeasureStandard(HDC dc) const;
  // What a screen reader reads: the caption, and the shortcut after a tab.
  std::wstring AccessibleName() const;

  // How a shortcut word reads in the menu; the program sets it once.
  static std::function<std::string(unsigned)> ShortCutText;

 private:
  TPopupMenu& menu_;
  UINT command_;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  const std::vector<TMenuItem*>& Items() const { return items_; }
  TImageList* images = nullptr;

  // Shows the menu at a screen position and returns when it has closed; the
  // chosen item is clicked afterwards through the message queue.
  virtual void Popup(int x, int y);
  // The dpi of the monitor the menu last opened on: it is measured and
  // drawn at it.
  int Dpi() const { return dpi_; }
  // The window the menus report to: the application's, the one brought to
  // the foreground before a menu opens. (A hidden window of their own made
  // start-up under Wine about 8 ms longer.)
  static HWND OwnerWindow();
  // A posted click, a menu's WM_MEASUREITEM or WM_DRAWITEM to that window,
  // for an item that exists, handled; false for any other message.
  static bool OwnerMessage(UINT msg, LPARAM lParam, LRESULT& result);

 protected:
  void Notification(TComponent& removed) override;

 private:
  friend class TMenuItem;
  std::vector<TMenuItem*> items_;
  int dpi_ = 96;
};

}  // namespace ui
