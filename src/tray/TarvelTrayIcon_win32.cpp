// The tray icon's platform on Win32: its hidden window, Shell_NotifyIconA,
// the cursor, the application's foreground and message queue, and the
// toolkit's popup menu and image list.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "tray/TarvelTrayIcon.h"
#include "ui/Application.h"
#include "ui/ImageList.h"
#include "ui/Menus.h"
#include "ui/Window.h"

namespace tray {

namespace {

static_assert(NOTIFYICONDATAA_V1_SIZE == sizeof(TNotifyIconDataA));
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == offsetof(TNotifyIconDataA, hWnd));
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == offsetof(TNotifyIconDataA, hIcon));
static_assert(offsetof(NOTIFYICONDATAA, szTip) == offsetof(TNotifyIconDataA, szTip));

template <typename Handle>
std::uint32_t ToValue(Handle handle) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

HICON ToIcon(IconHandle icon) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(icon)); }

// A message-only window: the shell's notifications are all it receives (the
// main window answers the TaskbarCreated broadcast). A top-level one made
// start-up under Wine about 20 ms longer; all it added was that Wine's
// taskbar drops a killed program's icon at once, where Windows, like Wine
// with this window, drops it when the pointer passes over it. Messages reach
// the icon only between the end of creation and the start of destruction;
// before and after, the default processing answers them.
class HiddenWindow final : public ui::Window, public TrayWindow {
 public:
  explicit HiddenWindow(TCustomTarvelTrayIcon& icon) {
    CreateHandle("TTarvelTrayIconWindow", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
    icon_ = &icon;
  }
  ~HiddenWindow() override {
    icon_ = nullptr;
    DestroyHandle();
  }

  std::uint32_t WindowHandle() const override { return ToValue(Handle()); }
  std::intptr_t DefaultHandler(const TMessage& m) override {
    return Window::WndProc(m.Msg, m.WParam, m.LParam);
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (!icon_) return Window::WndProc(msg, wParam, lParam);
    return icon_->TrayWndProc({msg, wParam, lParam});
  }

 private:
  TCustomTarvelTrayIcon* icon_ = nullptr;
};

class Win32Platform final : public TrayPlatform {
 public:
  std::unique_ptr<TrayWindow> MakeWindow(TCustomTarvelTrayIcon& icon) override {
    return std::make_unique<HiddenWindow>(icon);
  }

  // The shell reads the first cbSize bytes of the record. A record not yet
  // filled by a first addition names no window, so no icon: the shell would
  // refuse it after a round trip to the taskbar (the design's icon change).
  void NotifyIcon(NotifyIconMessage message, const TNotifyIconDataA& data) override {
    if (!data.hWnd) return;
    NOTIFYICONDATAA record{};
    std::memcpy(&record, &data, sizeof data);
    Shell_NotifyIconA(static_cast<DWORD>(message), &record);
  }

  void ShowBalloon(const TNotifyIconDataA& data, const std::string& title, const std::string& text) override {
    if (!data.hWnd) return;
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(data.hWnd));
    record.uID = data.uID;
    record.uFlags = NIF_INFO;
    lstrcpynA(record.szInfo, text.c_str(), sizeof record.szInfo);
    lstrcpynA(record.szInfoTitle, title.c_str(), sizeof record.szInfoTitle);
    record.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &record);
  }

  TPoint CursorPos() override {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
  }

  void ForegroundApplication() override { SetForegroundWindow(ui::Application().Handle()); }

  void ProcessMessages() override { ui::Application().ProcessMessages(); }

  // The message posted after the menu has closed makes the switch to this
  // thread complete, without which the next tray menu may not close.
  void Popup(ui::TComponent& menu, int x, int y) override {
    if (auto* popup = dynamic_cast<ui::TPopupMenu*>(&menu)) popup->Popup(x, y);
    PostMessageA(ui::Application().Handle(), WM_NULL, 0, 0);
  }

  IconHandle ImageListIcon(ui::TComponent& imageList, int index) override {
    auto* list = dynamic_cast<ui::TImageList*>(&imageList);
    // The small-icon size of the dpi the notification area is drawn at.
    return list ? ToValue(list->Icon(index, GetSystemMetrics(SM_CXSMICON)).release()) : 0;
  }

  IconHandle CopyIcon(IconHandle icon) override { return ToValue(::CopyIcon(ToIcon(icon))); }

  void DestroyIcon(IconHandle icon) override { ::DestroyIcon(ToIcon(icon)); }
};

}  // namespace

TrayPlatform& Win32TrayPlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace tray
