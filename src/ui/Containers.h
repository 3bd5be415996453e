// Controls that hold other controls: the group frame and the page control
// with its tab sheets.
#pragma once
#include <vector>

#include "ui/Controls.h"

namespace ui {

// A toolkit-class child window that paints with its container's background
// and reflects its children's notifications to them.
class TContainerControl : public TControl, public TWinContainer {
 public:
  using TControl::TControl;
  HWND ClientHandle() override { return HandleNeeded(); }
  HBRUSH Background() const override { return Parent().Background(); }

 protected:
  const char* WindowClass() const override;
  DWORD ExStyle() const override { return WS_EX_CONTROLPARENT; }
  DWORD Style() const override { return WS_CLIPCHILDREN; }
  LRESULT ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// A frame with a caption around a group of controls (radio buttons).
class TGroupBox : public TContainerControl {
 public:
  using TContainerControl::TContainerControl;

 protected:
  LRESULT ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class TPageControl;

class TTabSheet : public TContainerControl {
 public:
  TTabSheet(TComponent* owner, TPageControl& pages);
  TPageControl& PageControl() const { return pages_; }
  // The page control's display area.
  RECT PixelBounds() const override;

 protected:
  // Fills the page control's display area; shown when it is the active page.
  void HandleCreated() override;

 private:
  TPageControl& pages_;
};

class TPageControl : public TControl, public TWinContainer {
 public:
  TPageControl(TComponent* owner, TWinContainer& parent) : TControl(owner, parent) { SetTabStop(true); }
  HWND ClientHandle() override { return HandleNeeded(); }
  HBRUSH Background() const override { return Parent().Background(); }

  // Pages in display order, as they were created.
  const std::vector<TTabSheet*>& Pages() const { return pages_; }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet& page);
  // The next page (or the previous one), wrapping round, as the keyboard
  // selects it; a focus left on the page that hid goes to the tabs.
  void SelectNextPage(bool forward);
  // The client rectangle a sheet fills.
  RECT DisplayRect() const;
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  const char* WindowClass() const override { return "SysTabControl32"; }
  DWORD Style() const override { return WS_CLIPCHILDREN; }
  DWORD ExStyle() const override { return WS_EX_CONTROLPARENT; }
  void HandleCreated() override;
  LRESULT ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class TTabSheet;
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
};

}  // namespace ui
