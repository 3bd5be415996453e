// What the baseline programs do alike: a window class of their own, a
// notification-area icon and the plain message loop.
#pragma once
#include <windows.h>
#include <shellapi.h>

namespace baseline {

inline void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background = nullptr) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

// Adds an icon with that tip whose notifications reach `window` as WM_APP;
// the record removes it again.
inline NOTIFYICONDATAA AddTrayIcon(HWND window, const char* tip) {
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  icon.uCallbackMessage = WM_APP;
  icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpynA(icon.szTip, tip, sizeof icon.szTip);
  Shell_NotifyIconA(NIM_ADD, &icon);
  return icon;
}

inline void MessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace baseline
