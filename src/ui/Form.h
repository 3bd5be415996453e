// Forms: top-level windows owned by the application window (so they have no
// taskbar button of their own), with a design applied in the loading state,
// a close gate, modal showing, and the usual life-cycle events.
#pragma once
#include <windows.h>

#include <string>

#include "ui/Color.h"
#include "ui/Palette.h"
#include "ui/Component.h"
#include "ui/Controls.h"
#include "ui/Font.h"
#include "ui/Keys.h"
#include "ui/Win32Handle.h"
#include "ui/Window.h"

namespace ui {

enum class TBorderStyle { bsNone, bsSingle, bsDialog };
enum class TWindowState { wsNormal, wsMaximized };
enum class TCloseAction { caNone, caHide };


class TForm : public TComponent, public Window, public TWinContainer {
 public:
  explicit TForm(TComponent* owner) : TComponent(owner) {}

  // Applies the design in the loading state, creates the window (hidden) and
  // runs OnCreate; an error in OnCreate goes to the application's handler.
  void Create();

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // Border, position, colour, always-on-top and window state are design
  // values: they take effect when the window is created.
  void SetBorderStyle(TBorderStyle style) { borderStyle_ = style; }
  void SetBounds(int left, int top, int clientWidth, int clientHeight);
  // The window's outer top-left corner on the screen.
  POINT Position() const;
  // A new client height for a shown window too, its frame kept, moved up
  // where it would leave the work area.
  void SetClientHeight(int clientHeight);
  void SetPosition(int left, int top);
  void SetColor(TColor color);
  void SetStayOnTop(bool onTop) { stayOnTop_ = onTop; }
  void SetWindowState(TWindowState state) { windowState_ = state; }

  // The dpi the form is laid out at: its monitor's once it has a window.
  int Dpi() const { return dpi_; }
  // Lays the form out at `dpi`: its controls, and its window in `suggested`
  // (the system's rectangle for it), or around the scaled client area.
  void ApplyDpi(int dpi, const RECT* suggested = nullptr);

  HWND ClientHandle() override { return Handle(); }
  HBRUSH Background() const override { return brush_.get(); }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_ = font; }

  bool Visible() const { return Handle() && IsWindowVisible(Handle()); }
  void Show();
  void Hide();
  // Asks the close gate, runs OnClose and hides; a modal form instead ends
  // its modal loop with mrCancel. Closing the main form ends the program.
  void Close();
  bool CloseQuery();
  // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch the pages
  // of the form's page control, whichever control has the focus; in a
  // shortcut field only Ctrl+Tab and Ctrl+Shift+Tab do.
  bool PageKey(const MSG& msg);
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // Makes the windows of the controls that have none yet, in design order, as
  // the first showing does: a form made ready ahead of its first use shows as
  // quickly then as later.
  void CreateControlHandles();

  // The menu a right click on the form opens.
  class TPopupMenu* popupMenu = nullptr;

  Event<TComponent&> OnCreate, OnDestroy, OnShow, OnHide;
  Event<TComponent&, TCloseAction&> OnClose;
  Event<TComponent&, bool&> OnCloseQuery;

 protected:
  // The window class name: the form's class name, so that other programs can
  // find the window by it.
  virtual const char* ClassName() const = 0;
  // Sets the form's properties and creates its controls; runs in the loading state.
  virtual void Design() {}
  void Loaded() override;
  void BeforeDestruction() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void SizeToClient();
  // Focus to the control that last had it, or the first tab stop.
  void RestoreFocus();
  // Moves the window, keeping its size, to lie inside its screen's work area.
  void KeepInWorkArea();
  // The brush and every painted picture again, in the theme's colours.
  void ApplyTheme();

  std::string caption_;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TWindowState windowState_ = TWindowState::wsNormal;
  bool stayOnTop_ = false;
  int left_ = CW_USEDEFAULT, top_ = CW_USEDEFAULT, clientWidth_ = 320, clientHeight_ = 240;
  TColor color_ = clBtnFace;
  int dpi_ = 96;
  TFont font_;
  HWND focused_ = nullptr;
  unique_hbrush brush_;
  bool modal_ = false;
  bool shownOnce_ = false;
  int modalResult_ = mrNone;
};

// The system commands that would show a hidden window or enter its menu;
// hidden windows of the program ignore them.
bool ShowsWindow(WPARAM systemCommand);

// The COLORREF of a TColor, system colours resolved.
COLORREF ColorToRGB(TColor color);
// The COLORREF to paint `role` in: the design's colour, or the theme's.
COLORREF ThemedRGB(TColor designed, PaintRole role);

}  // namespace ui
