// The tray icon's logic: the record handed to the shell, the property rules
// and the dispatch of the shell's notifications.
#include "tray/TarvelTrayIcon.h"

#include <utility>

#include "ui/Utf8.h"

namespace tray {

namespace {

constexpr std::uint32_t kRecordSize = 88;
constexpr std::uint32_t kFlags = 1 | 2 | 4;  // NIF_MESSAGE | NIF_ICON | NIF_TIP

// szTip holds 63 bytes and the terminating zero; a longer tip is cut
// between two of its UTF-8 characters.
void CopyTip(const std::string& tip, TNotifyIconDataA& data) {
  const std::size_t length = ui::FirstCharacters(tip, tip.size(), sizeof data.szTip - 1).size();
  tip.copy(data.szTip, length);
  data.szTip[length] = '\0';
}

// Clears the busy mark on every way out of a notification, a raising
// handler's included, when that notification set it.
class BusyMark {
 public:
  BusyMark(bool& busy, bool set) : busy_(busy), set_(set) {
    if (set_) busy_ = true;
  }
  BusyMark(const BusyMark&) = delete;
  BusyMark& operator=(const BusyMark&) = delete;
  ~BusyMark() {
    if (set_) busy_ = false;
  }

 private:
  bool& busy_;
  bool set_;
};

}  // namespace

void TIcon::Assign(IconHandle handle) {
  const IconHandle old = std::exchange(handle_, handle);
  if (old) platform_.DestroyIcon(old);
}

TCustomTarvelTrayIcon::TCustomTarvelTrayIcon(ui::TComponent* owner, TrayPlatform& platform)
    : TComponent(owner), FPlatform(platform), FIcon(platform) {
  FWindowHandle = FPlatform.MakeWindow(*this);
}

// The record still names the old window and identifier, which is all the
// removal needs.
TCustomTarvelTrayIcon::~TCustomTarvelTrayIcon() {
  FWindowHandle.reset();
  FIcon.Assign(0);
  if (FActive) RemoveIcon();
}

void TCustomTarvelTrayIcon::AddIcon() {
  FIconData.cbSize = kRecordSize;
  FIconData.hWnd = FWindowHandle->WindowHandle();
  FIconData.uID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this));
  FIconData.uFlags = kFlags;
  FIconData.uCallbackMessage = TrayCallbackMessage;
  FIconData.hIcon = FIcon.Handle();
  CopyTip(FTip, FIconData);
  FPlatform.NotifyIcon(NotifyIconMessage::Add, FIconData, FTip);
}

void TCustomTarvelTrayIcon::RemoveIcon() { FPlatform.NotifyIcon(NotifyIconMessage::Delete, FIconData, FTip); }

void TCustomTarvelTrayIcon::ModifyIcon() { FPlatform.NotifyIcon(NotifyIconMessage::Modify, FIconData, FTip); }

void TCustomTarvelTrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
  if (FActive) FPlatform.ShowBalloon(FIconData, title, text);
}

void TCustomTarvelTrayIcon::Loaded() {
  TComponent::Loaded();
  if (FActive) AddIcon();
}

void TCustomTarvelTrayIcon::Notification(ui::TComponent& removed) {
  TComponent::Notification(removed);
  if (FPopUpMenu == &removed) FPopUpMenu = nullptr;
  if (FImageList == &removed) FImageList = nullptr;
}

void TCustomTarvelTrayIcon::SetActive(bool active) {
  FActive = active;
  if (Loading()) return;
  if (active)
    AddIcon();
  else
    RemoveIcon();
}

void TCustomTarvelTrayIcon::SetTip(std::string tip) {
  FTip = std::move(tip);
  CopyTip(FTip, FIconData);
  ModifyIcon();
}

void TCustomTarvelTrayIcon::SetIcon(IconHandle icon) {
  FIcon.Assign(icon ? FPlatform.CopyIcon(icon) : 0);
  FIconData.hIcon = FIcon.Handle();
  ModifyIcon();
}

// With no image list there is no image to take: Icon stays as it is.
void TCustomTarvelTrayIcon::SetIconIndex(int index) {
  if (Loading() || index == FIconIndex) return;
  FIconIndex = index;
  if (index == -1) {
    FIcon.Assign(0);
    return;
  }
  if (FImageList) FIcon.Assign(FPlatform.ImageListIcon(*FImageList, index));
  RemoveIcon();
}

std::intptr_t TCustomTarvelTrayIcon::TrayWndProc(const TMessage& message) {
  if (message.Msg != TrayCallbackMessage) return FWindowHandle->DefaultHandler(message);
  if (FSingleTask && FBusy) return 0;
  const BusyMark mark(FBusy, FSingleTask);
  const TPoint p = FPlatform.CursorPos();
  switch (message.LParam) {
    case 0x200: MouseMove(p.x, p.y); break;                  // WM_MOUSEMOVE
    case 0x201: MouseDown(mbLeft, p.x, p.y); break;          // WM_LBUTTONDOWN
    case 0x202: MouseUp(mbLeft, p.x, p.y); break;            // WM_LBUTTONUP
    case 0x204: MouseDown(mbRight, p.x, p.y); break;         // WM_RBUTTONDOWN
    case 0x205: MouseUp(mbRight, p.x, p.y); break;           // WM_RBUTTONUP
    case 0x207: MouseDown(mbMiddle, p.x, p.y); break;        // WM_MBUTTONDOWN
    case 0x208: MouseUp(mbMiddle, p.x, p.y); break;          // WM_MBUTTONUP
    case 0x203: case 0x206: case 0x209: DblClick(); break;  // WM_?BUTTONDBLCLK
    case 0x07B:                                              // WM_CONTEXTMENU
    case 0x400:                                              // NIN_SELECT
    case 0x401: MenuRequested(p.x, p.y); break;               // NIN_KEYSELECT
  }
  return 0;
}

void TCustomTarvelTrayIcon::MouseDown(TMouseButton button, int x, int y) {
  ui::Fire(OnMouseDown, *this, button, x, y);
}

// The application's window goes to the foreground first, so that a click
// elsewhere or Esc closes the menu. The waiting messages may free the menu.
void TCustomTarvelTrayIcon::MouseUp(TMouseButton button, int x, int y) {
  if (button == mbRight) MenuRequested(x, y);
  ui::Fire(OnMouseUp, *this, button, x, y);
}

// The second message of one gesture (a right click's context-menu message)
// arrives while the menu it opened is open, and opens none.
void TCustomTarvelTrayIcon::MenuRequested(int x, int y) {
  if (!FPopUpMenu || FMenuOpen) return;
  const BusyMark open(FMenuOpen, true);
  FPlatform.ForegroundApplication();
  FPlatform.ProcessMessages();
  if (FPopUpMenu) FPlatform.Popup(*FPopUpMenu, x, y);
}

void TCustomTarvelTrayIcon::MouseMove(int x, int y) { ui::Fire(OnMouseMove, *this, x, y); }

void TCustomTarvelTrayIcon::DblClick() { ui::Fire(OnDblClick, *this); }

}  // namespace tray
