// The baseline of the start-up and idle benchmarks: the least a tray program
// does. A hidden window, a notification-area icon, a one-second timer and
// the message loop; built with the same compiler and flags as dormix.exe.
#include <windows.h>
#include <shellapi.h>

#include "Baseline.h"

namespace {
LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, msg, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  baseline::RegisterWindowClass(instance, "MinimalTray", &Proc);
  const HWND window = CreateWindowExA(0, "MinimalTray", "MinimalTray", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, instance, nullptr);
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  icon.uCallbackMessage = WM_APP;
  icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpyA(icon.szTip, "MinimalTray");
  Shell_NotifyIconA(NIM_ADD, &icon);
  SetTimer(window, 1, 1000, nullptr);
  baseline::MessageLoop();
  Shell_NotifyIconA(NIM_DELETE, &icon);
  return 0;
}
