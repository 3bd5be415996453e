// The tray icon's platform on Win32: its hidden window, Shell_NotifyIconW,
// the cursor, the application's foreground and message queue, and the
// toolkit's popup menu and image list.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>

#include "tray/TarvelTrayIcon.h"
#include "ui/Application.h"
#include "ui/ImageList.h"
#include "ui/Menus.h"
#include "ui/Window.h"

namespace tray {

namespace {

// The first record's tip: as many characters as TNotifyIconDataA's bytes.
constexpr std::size_t kTipSize = sizeof TNotifyIconDataA{}.szTip;
static_assert(NOTIFYICONDATAW_V1_SIZE == offsetof(NOTIFYICONDATAW, szTip) + kTipSize * sizeof(wchar_t));

template <typename Handle>
std::uint32_t ToValue(Handle handle) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

HICON ToIcon(IconHandle icon) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(icon)); }

// A UTF-8 text into a wide field, cut between two characters: a character
// of two UTF-16 units either fits whole or is left out.
void Copy(wchar_t* field, std::size_t size, std::string_view text) {
  std::wstring wide = ui::Wide(text);
  std::size_t length = std::min(wide.size(), size - 1);
  if (length > 0 && length < wide.size() && IS_HIGH_SURROGATE(wide[length - 1])) --length;
  wide.copy(field, length);
  field[length] = L'\0';
}

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
  // Handed on in the wide record, whose tip holds 63 of the tip's characters
  // whatever the code pages.
  void NotifyIcon(NotifyIconMessage message, const TNotifyIconDataA& data, const std::string& tip) override {
    if (!data.hWnd) return;
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(data.hWnd));
    record.uID = data.uID;
    record.uFlags = data.uFlags;
    record.uCallbackMessage = data.uCallbackMessage;
    record.hIcon = ToIcon(data.hIcon);
    Copy(record.szTip, kTipSize, tip);
    Shell_NotifyIconW(static_cast<DWORD>(message), &record);
  }

  void ShowBalloon(const TNotifyIconDataA& data, const std::string& title, const std::string& text) override {
    if (!data.hWnd) return;
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(data.hWnd));
    record.uID = data.uID;
    record.uFlags = NIF_INFO;
    Copy(record.szInfo, std::size(record.szInfo), text);
    Copy(record.szInfoTitle, std::size(record.szInfoTitle), title);
    record.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &record);
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
