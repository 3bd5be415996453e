// Form life cycle, showing, closing and modal loop.
#include "ui/Form.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "ui/Application.h"
#include "ui/Containers.h"
#include "ui/Dpi.h"
#include "ui/Error.h"
#include "ui/Menus.h"

namespace ui {

COLORREF ThemedRGB(TColor designed, PaintRole role) {
  return ColorToRGB(ThemeColor(designed, role, HighContrast()));
}

COLORREF ColorToRGB(TColor color) {
  return IsSystemColor(color) ? GetSysColor(static_cast<int>(color & 0xFF)) : color & 0xFFFFFF;
}

void TForm::Create() {
  BeginLoading();
  try {
    Design();
  } catch (...) {
    EndLoading();
    throw;
  }
  EndLoading();
  try {
    Fire(OnCreate, *this);
  } catch (...) {
    Application().HandleException();
  }
}

void TForm::Loaded() {
  DWORD style = WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT | (stayOnTop_ ? WS_EX_TOPMOST : 0);
  switch (borderStyle_) {
    case TBorderStyle::bsNone: style |= WS_POPUP; break;
    case TBorderStyle::bsSingle: style |= WS_CAPTION | WS_SYSMENU; break;
    case TBorderStyle::bsDialog:
      style |= WS_CAPTION | WS_SYSMENU;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  // Made at the primary monitor's dpi, then laid out again at its own
  // monitor's, which it knows only once it exists.
  dpi_ = SystemDpi();
  const RECT r = WindowRectForClient(Scaled(clientWidth_, dpi_), Scaled(clientHeight_, dpi_), style, exStyle, dpi_);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (left_ == CW_USEDEFAULT) {  // no design position: centred on the screen
    left_ = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top_ = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  brush_.reset(CreateSolidBrush(ThemedRGB(color_, PaintRole::Face)));
  Window::CreateHandle(ClassName(), caption_.c_str(), exStyle, style, left_, top_, width, height,
                       Application().Handle());
  if (const int dpi = WindowDpi(Handle()); dpi != dpi_) ApplyDpi(dpi);
}

void TForm::ApplyDpi(int dpi, const RECT* suggested) {
  dpi_ = dpi;
  // In creation order: a page control before its sheets, which fill it.
  for (std::size_t i = 0; i < ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TControl*>(&Component(i))) control->DpiChanged();
  if (!Handle() || windowState_ == TWindowState::wsMaximized) return;
  if (suggested) {
    SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  SizeToClient();
}

// The window as large as its designed client area at its dpi.
void TForm::SizeToClient() {
  const RECT r = WindowRectForClient(Scaled(clientWidth_, dpi_), Scaled(clientHeight_, dpi_),
                                     GetWindowLongA(Handle(), GWL_STYLE), GetWindowLongA(Handle(), GWL_EXSTYLE), dpi_);
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::ApplyTheme() {
  ReadHighContrast();
  brush_.reset(CreateSolidBrush(ThemedRGB(color_, PaintRole::Face)));
  for (std::size_t i = 0; i < ComponentCount(); ++i)
    if (auto* image = dynamic_cast<TImage*>(&Component(i))) image->Repaint();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm::BeforeDestruction() { Fire(OnDestroy, *this); }

void TForm::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  if (Handle()) SetWindowTextA(Handle(), caption_.c_str());
}

void TForm::SetBounds(int left, int top, int clientWidth, int clientHeight) {
  left_ = left;
  top_ = top;
  clientWidth_ = clientWidth;
  clientHeight_ = clientHeight;
}

void TForm::SetClientHeight(int clientHeight) {
  clientHeight_ = clientHeight;
  if (!Handle()) return;
  SizeToClient();
  KeepInWorkArea();
}

POINT TForm::Position() const {
  RECT r{left_, top_, 0, 0};
  if (Handle()) GetWindowRect(Handle(), &r);
  return {r.left, r.top};
}

void TForm::SetPosition(int left, int top) {
  left_ = left;
  top_ = top;
  if (Handle()) SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetColor(TColor color) {
  color_ = color;
  if (!Handle()) return;
  brush_.reset(CreateSolidBrush(ThemedRGB(color_, PaintRole::Face)));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm::Show() {
  if (Visible()) {
    SetForegroundWindow(Handle());
    return;
  }
  if (Application().MainForm() == this) Application().ShowTaskbarButton();
  KeepInWorkArea();
  CreateControlHandles();
  // Every showing starts at the first tab stop, as the first does: the control
  // that had the focus when the window was last answered (a notice's Ok) would
  // take the next stray key.
  focused_ = nullptr;
  shownOnce_ = true;
  ShowWindow(Handle(), windowState_ == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetForegroundWindow(Handle());
  // Activated while still hidden (SetActiveWindow first), it took no focus
  // then, or the old one.
  if (GetActiveWindow() == Handle()) RestoreFocus();
  Fire(OnShow, *this);
}

// A stored position from a larger screen (the main window's default is
// 800, 600) would leave the window's buttons out of reach.
void TForm::KeepInWorkArea() {
  if (windowState_ == TWindowState::wsMaximized) return;
  RECT r;
  GetWindowRect(Handle(), &r);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  const int x = std::max<int>(area.left, std::min<int>(r.left, area.right - (r.right - r.left)));
  const int y = std::max<int>(area.top, std::min<int>(r.top, area.bottom - (r.bottom - r.top)));
  if (x != r.left || y != r.top) SetPosition(x, y);
}

void TForm::CreateControlHandles() {
  for (std::size_t i = 0; i < ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TControl*>(&Component(i))) control->HandleNeeded();
}

void TForm::Hide() {
  if (!Visible()) return;
  ShowWindow(Handle(), SW_HIDE);
  Fire(OnHide, *this);
}

bool TForm::PageKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
  // A shortcut field records Ctrl+PageUp and Ctrl+PageDown as shortcuts.
  if (msg.wParam != VK_TAB && dynamic_cast<THotKey*>(TControl::FromHandle(msg.hwnd))) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  bool forward;
  switch (msg.wParam) {
    case VK_TAB: forward = !shift; break;
    case VK_NEXT: forward = true; break;
    case VK_PRIOR: forward = false; break;
    default: return false;
  }
  for (std::size_t i = 0; i < ComponentCount(); ++i)
    if (auto* pages = dynamic_cast<TPageControl*>(&Component(i)); pages && IsWindowVisible(pages->Handle())) {
      pages->SelectNextPage(forward);
      return true;
    }
  return false;
}

bool TForm::CloseQuery() {
  bool canClose = true;
  Fire(OnCloseQuery, *this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  Fire(OnClose, *this, action);
  if (action == TCloseAction::caNone) return;
  if (Application().MainForm() == this)
    Application().Terminate();
  else
    Hide();
}

namespace {

// The thread's shown, enabled top-level windows other than the modal one are
// disabled while it is shown and enabled again afterwards, even if a handler
// throws. Hidden windows are left alone: one shown later (a notice, the lock
// panel) must take input. So are stay-on-top ones: they sit above the modal
// window, and disabled they could be neither answered nor unlocked.
class DisabledWindows {
 public:
  explicit DisabledWindows(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
  }
  ~DisabledWindows() {
    for (HWND w : windows_) EnableWindow(w, TRUE);
  }
  DisabledWindows(const DisabledWindows&) = delete;
  DisabledWindows& operator=(const DisabledWindows&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND w, LPARAM self) {
    return Guarded(FALSE, [&] {
      auto* me = reinterpret_cast<DisabledWindows*>(self);
      if (w != me->except_ && IsWindowVisible(w) && IsWindowEnabled(w) &&
          !(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        me->windows_.push_back(w);
        EnableWindow(w, FALSE);
      }
      return TRUE;
    });
  }
  HWND except_;
  std::vector<HWND> windows_;
};

}  // namespace

int TForm::ShowModal() {
  if (Visible() || modal_) throw Error("Cannot make a visible window modal");
  modalResult_ = mrNone;
  modal_ = true;
  // However the loop ends, an error in a close handler included, the form is
  // hidden again after the other windows are enabled again.
  struct EndModal {
    TForm& form;
    ~EndModal() {
      form.modal_ = false;
      try {
        form.Hide();
      } catch (...) {
        HandleCallbackException();
      }
    }
  } endModal{*this};
  DisabledWindows disabled(Handle());
  Show();
  TApplication& app = Application();
  while (modalResult_ == mrNone) {
    if (!app.HandleMessage() || app.Terminated()) {
      modalResult_ = mrCancel;
      break;
    }
    if (modalResult_ == mrNone) continue;
    // A result was set: the close gate and OnClose may still keep the form.
    TCloseAction action = TCloseAction::caHide;
    if (CloseQuery())
      Fire(OnClose, *this, action);
    else
      action = TCloseAction::caNone;
    if (action == TCloseAction::caNone) modalResult_ = mrNone;
  }
  return modalResult_;
}

namespace {
// The first visible, enabled tab stop in tab order, looking into containers.
HWND FirstTabStop(HWND parent) {
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    // Styles, not visibility: the form itself may still be hidden.
    if (!(GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) || !IsWindowEnabled(w)) continue;
    if (GetWindowLongA(w, GWL_STYLE) & WS_TABSTOP) return w;
    if (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
      if (HWND inner = FirstTabStop(w)) return inner;
  }
  return nullptr;
}
}  // namespace

void TForm::RestoreFocus() {
  if (!focused_ || !IsChild(Handle(), focused_) || !(GetWindowLongA(focused_, GWL_STYLE) & WS_VISIBLE))
    focused_ = FirstTabStop(Handle());
  if (focused_) SetFocus(focused_);
}

bool ShowsWindow(WPARAM systemCommand) {
  switch (systemCommand & 0xFFF0) {
    case SC_RESTORE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_KEYMENU: case SC_MOUSEMENU:
    case SC_MOVE: case SC_SIZE:
      return true;
    default:
      return false;
  }
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectToControl(Handle(), msg, wParam, lParam, brush_.get(), result)) return result;
  switch (msg) {
    case WM_ACTIVATE:
      // Focus returns to the control that had it, or the first in tab order.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) focused_ = focus;
      } else if (!HIWORD(wParam)) {
        RestoreFocus();
        return 0;
      }
      return Window::WndProc(msg, wParam, lParam);
    case WM_CLOSE:
      Close();
      return 0;
    case WM_CONTEXTMENU: {
      if (!popupMenu) return Window::WndProc(msg, wParam, lParam);
      // From the keyboard (Shift+F10, the menu key) the position is -1, -1.
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (lParam == -1) GetCursorPos(&at);
      popupMenu->Popup(at.x, at.y);
      return 0;
    }
    case WM_SYSCOMMAND: {
      // Another program may send these to any window: a hidden form is not
      // shown by them, and a form without the box is not minimised or
      // maximised (the lock panel minimised would no longer lock).
      const WPARAM command = wParam & 0xFFF0;
      const DWORD style = GetWindowLongA(Handle(), GWL_STYLE);
      if ((!Visible() && ShowsWindow(command)) || (command == SC_MINIMIZE && !(style & WS_MINIMIZEBOX)) ||
          (command == SC_MAXIMIZE && !(style & WS_MAXIMIZEBOX)))
        return 0;
      return Window::WndProc(msg, wParam, lParam);
    }
    case WM_DPICHANGED: {
      // The dpi comes in wParam; another program's nonsense is ignored.
      const int dpi = LOWORD(wParam);
      if (dpi < 48 || dpi > 960 || dpi != HIWORD(wParam)) return 0;
      RECT suggested;
      ApplyDpi(dpi, SuggestedRect(lParam, suggested) ? &suggested : nullptr);
      return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      ApplyTheme();
      return Window::WndProc(msg, wParam, lParam);
    case WM_QUERYENDSESSION:
      // A form that has never been shown has no say in the end of the session.
      return shownOnce_ ? CloseQuery() : TRUE;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, brush_.get());
      return 1;
    }
    default:
      return Window::WndProc(msg, wParam, lParam);
  }
}

}  // namespace ui
