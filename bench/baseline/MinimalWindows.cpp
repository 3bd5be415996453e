// The second floor of the start-up benchmark: the windows Dormix must have
// at start, empty, and nothing else. Under Wine each top-level window costs
// its X window and a dozen display-cache checks of its own, so this shows
// how much of Dormix's start-up the windows alone take: the application's
// window, two message-only windows (hotkeys, tray icon), the main, About
// and notice windows and the full-screen panel, the tray icon and a
// one-second timer, and at the first idle moment the panel's password field
// and picture, as Dormix prepares them. Built as dormix.exe is, with the
// same manifest.
#include <windows.h>

#include "Baseline.h"

namespace {
LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, msg, wParam, lParam);
}

HWND Make(const char* className, DWORD exStyle, DWORD style, int x, int y, int w, int h, HWND parent) {
  return CreateWindowExA(exStyle, className, "", style, x, y, w, h, parent, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

HWND Form(const char* className, DWORD exStyle, DWORD style, int x, int y, int w, int h, HWND owner) {
  return Make(className, exStyle | WS_EX_CONTROLPARENT, style | WS_CLIPCHILDREN, x, y, w, h, owner);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The class of the window made last is the one the benchmark waits for.
  baseline::RegisterWindowClass(instance, "Window", &Proc);
  baseline::RegisterWindowClass(instance, "MinimalWindows", &Proc);
  const HWND application = Make("Window", 0, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                512, 384, 0, 0, nullptr);
  Make("Window", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
  const HWND tray = Make("Window", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
  constexpr DWORD kCaption = WS_CAPTION | WS_SYSMENU;
  Form("Window", 0, kCaption, 429, 166, 455, 336, application);
  NOTIFYICONDATAA icon = baseline::AddTrayIcon(tray, "MinimalWindows");
  Form("Window", WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kCaption, 301, 291, 421, 189, application);
  const HWND panel = Form("Window", WS_EX_TOPMOST, WS_POPUP, 0, 0, 1024, 721, application);
  Form("MinimalWindows", WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kCaption, 483, 201, 354, 97, application);
  SetTimer(application, 1, 1000, nullptr);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  Make("EDIT", WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD, 496, 368, 121, 21, panel);
  Make("STATIC", 0, WS_CHILD | WS_VISIBLE | SS_BITMAP, 296, 347, 0, 0, panel);
  baseline::MessageLoop();
  Shell_NotifyIconA(NIM_DELETE, &icon);
  return 0;
}
