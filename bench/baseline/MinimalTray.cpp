// The baseline of the start-up, idle and menu benchmarks: the least a tray
// program does. A hidden window, a notification-area icon, a one-second
// timer and the message loop; on a right-button release over the icon, a
// plain menu of as many items as Dormix's at the cursor. Built with the same
// compiler and flags as dormix.exe.
#include <windows.h>

#include "Baseline.h"

namespace {
LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  if (msg == WM_APP && lParam == WM_RBUTTONUP) {
    const HMENU menu = CreatePopupMenu();
    for (UINT i = 1; i <= 12; ++i) AppendMenuA(menu, MF_STRING, i, "Menu item");
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(w);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, w, nullptr);
    DestroyMenu(menu);
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  baseline::RegisterWindowClass(instance, "MinimalTray", &Proc);
  const HWND window = CreateWindowExA(0, "MinimalTray", "MinimalTray", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, instance, nullptr);
  NOTIFYICONDATAA icon = baseline::AddTrayIcon(window, "MinimalTray");
  SetTimer(window, 1, 1000, nullptr);
  baseline::MessageLoop();
  Shell_NotifyIconA(NIM_DELETE, &icon);
  return 0;
}
