// TarvelTrayIcon: one icon with a tip in the notification area, the shell's
// mouse notifications for it turned into events, and a popup menu opened at
// the cursor when the right button is released over it. The logic is
// portable; what it asks of the platform (its hidden window,
// Shell_NotifyIconA, the cursor, the foreground, the menu and the images)
// goes through TrayPlatform, implemented for Win32 in TarvelTrayIcon_win32.cpp.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "ui/Component.h"

namespace tray {

// NOTIFYICONDATAA in its first, 88-byte form, the one every shell accepts;
// handles are 32-bit values, as on the target.
struct TNotifyIconDataA {
  std::uint32_t cbSize;
  std::uint32_t hWnd;
  std::uint32_t uID;
  std::uint32_t uFlags;
  std::uint32_t uCallbackMessage;
  std::uint32_t hIcon;
  char szTip[64];
};
static_assert(sizeof(TNotifyIconDataA) == 88);

// Shell_NotifyIconA's NIM_ADD, NIM_MODIFY and NIM_DELETE.
enum class NotifyIconMessage : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The message the shell sends to the hidden window for the icon's mouse events.
constexpr std::uint32_t TrayCallbackMessage = 8079;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using IconHandle = std::uint32_t;  // an HICON; 0 is none

struct TPoint {
  std::int32_t x, y;
};

// A message to the hidden window, as its window procedure received it.
struct TMessage {
  std::uint32_t Msg;
  std::uintptr_t WParam;
  std::intptr_t LParam;
};

class TCustomTarvelTrayIcon;

// The hidden window that receives the shell's notifications.
class TrayWindow {
 public:
  virtual ~TrayWindow() = default;
  virtual std::uint32_t WindowHandle() const = 0;
  // DefWindowProcA for the message.
  virtual std::intptr_t DefaultHandler(const TMessage& message) = 0;
};

class TrayPlatform {
 public:
  virtual ~TrayPlatform() = default;
  // A hidden window for the shell's notifications; once made, every message
  // to it goes to icon.TrayWndProc.
  virtual std::unique_ptr<TrayWindow> MakeWindow(TCustomTarvelTrayIcon& icon) = 0;
  // Shell_NotifyIcon with the record; `tip` is its tip whole, for a record
  // that holds more of its characters than szTip's bytes. Its result is of
  // no interest.
  virtual void NotifyIcon(NotifyIconMessage message, const TNotifyIconDataA& data, const std::string& tip) = 0;
  // A balloon over the icon that `data` names: NIM_MODIFY with the larger
  // record that carries one, the icon's own record untouched.
  virtual void ShowBalloon(const TNotifyIconDataA& data, const std::string& title, const std::string& text) = 0;
  // GetCursorPos, in screen pixels.
  virtual TPoint CursorPos() = 0;
  // SetForegroundWindow with the application's hidden window.
  virtual void ForegroundApplication() = 0;
  // The application handles the messages already waiting.
  virtual void ProcessMessages() = 0;
  // Shows the popup menu at the screen point and returns once it has closed.
  virtual void Popup(ui::TComponent& menu, int x, int y) = 0;
  // A new icon of image `index` of the image list; 0 when there is none.
  virtual IconHandle ImageListIcon(ui::TComponent& imageList, int index) = 0;
  virtual IconHandle CopyIcon(IconHandle icon) = 0;
  virtual void DestroyIcon(IconHandle icon) = 0;
};

// The program's platform: user32, shell32 and ui::Application(). Win32 only.
TrayPlatform& Win32TrayPlatform();

// An icon image with one owner, released when replaced and at the end.
class TIcon {
 public:
  explicit TIcon(TrayPlatform& platform) : platform_(platform) {}
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;
  ~TIcon() { Assign(0); }

  IconHandle Handle() const { return handle_; }
  // Takes ownership of `handle`, releasing the image held before.
  void Assign(IconHandle handle);

 private:
  TrayPlatform& platform_;
  IconHandle handle_ = 0;
};

using TTarvelMouse = ui::Event<ui::TComponent&, TMouseButton, int, int>;
using TTarvelMouseMove = ui::Event<ui::TComponent&, int, int>;
using TNotifyEvent = ui::Event<ui::TComponent&>;

class TCustomTarvelTrayIcon : public ui::TComponent {
 public:
  TCustomTarvelTrayIcon(ui::TComponent* owner, TrayPlatform& platform);
  ~TCustomTarvelTrayIcon() override;

  // Handler of every message to the hidden window.
  virtual std::intptr_t TrayWndProc(const TMessage& message);
  // A balloon with this title and text over the icon, when it shows.
  void ShowBalloon(const std::string& title, const std::string& text);

 protected:
  virtual void AddIcon();
  virtual void RemoveIcon();
  virtual void MouseDown(TMouseButton button, int x, int y);
  virtual void MouseUp(TMouseButton button, int x, int y);
  virtual void MouseMove(int x, int y);
  virtual void DblClick();
  // The shell's keyboard selection (Enter, Space, the menu key, Shift+F10),
  // and the context-menu message a newer shell adds to a right click: the
  // menu, as a right-button release opens it, once at a time.
  void MenuRequested(int x, int y);
  void ModifyIcon();
  void Loaded() override;
  void Notification(ui::TComponent& removed) override;

  bool Active() const { return FActive; }
  // Adds or removes the icon, with no comparison with the previous value
  // (a second add or delete changes nothing); while loading only records it.
  void SetActive(bool active);
  const std::string& Tip() const { return FTip; }
  void SetTip(std::string tip);
  const TIcon& Icon() const { return FIcon; }
  // Copies the image into the owned Icon.
  void SetIcon(IconHandle icon);
  // The image list IconIndex picks from (a ui::TImageList); not owned.
  ui::TComponent* ImageList() const { return FImageList; }
  void SetImageList(ui::TComponent* imageList) { FImageList = imageList; }
  int IconIndex() const { return FIconIndex; }
  // Another index than -1 takes that image and removes the icon from the
  // notification area; the owner's next SetActive(true) shows it again.
  // Ignored while loading and for the current value.
  void SetIconIndex(int index);
  // The menu a right-button release opens (a ui::TPopupMenu); not owned.
  ui::TComponent* PopUpMenu() const { return FPopUpMenu; }
  void SetPopUpMenu(ui::TComponent* menu) { FPopUpMenu = menu; }
  // Drops the notifications that arrive while one is being handled.
  bool SingleTask() const { return FSingleTask; }
  void SetSingleTask(bool singleTask) { FSingleTask = singleTask; }

  TTarvelMouse OnMouseUp;
  TTarvelMouse OnMouseDown;
  TTarvelMouseMove OnMouseMove;
  TNotifyEvent OnDblClick;

 private:
  TrayPlatform& FPlatform;
  TNotifyIconDataA FIconData{};
  std::string FTip;
  std::unique_ptr<TrayWindow> FWindowHandle;
  TIcon FIcon;
  ui::TComponent* FPopUpMenu = nullptr;
  bool FActive = false;
  bool FBusy = false;
  bool FMenuOpen = false;
  bool FSingleTask = false;
  ui::TComponent* FImageList = nullptr;
  int FIconIndex = -1;
};

// The component as the designs use it: every property and event public.
class TTarvelTrayIcon : public TCustomTarvelTrayIcon {
 public:
  using TCustomTarvelTrayIcon::TCustomTarvelTrayIcon;
  using TCustomTarvelTrayIcon::Active;
  using TCustomTarvelTrayIcon::SetActive;
  using TCustomTarvelTrayIcon::Icon;
  using TCustomTarvelTrayIcon::SetIcon;
  using TCustomTarvelTrayIcon::ImageList;
  using TCustomTarvelTrayIcon::SetImageList;
  using TCustomTarvelTrayIcon::IconIndex;
  using TCustomTarvelTrayIcon::SetIconIndex;
  using TCustomTarvelTrayIcon::OnDblClick;
  using TCustomTarvelTrayIcon::OnMouseUp;
  using TCustomTarvelTrayIcon::OnMouseDown;
  using TCustomTarvelTrayIcon::OnMouseMove;
  using TCustomTarvelTrayIcon::PopUpMenu;
  using TCustomTarvelTrayIcon::SetPopUpMenu;
  using TCustomTarvelTrayIcon::SingleTask;
  using TCustomTarvelTrayIcon::SetSingleTask;
  using TCustomTarvelTrayIcon::Tip;
  using TCustomTarvelTrayIcon::SetTip;
};

}  // namespace tray
