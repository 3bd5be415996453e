// The floor of the lock benchmark: the least a program does to cover the
// screen with a password field on a hotkey. Everything is made at start,
// hidden: a full-screen, topmost black window with a box where the banner
// lies (Dormix draws its banner) and a password field, placed as the lock
// panel's. Ctrl+Alt+P shows it with the
// field focused; a key typed into the field hides it again. Built with the
// same compiler, flags and manifest as dormix.exe.
#include <windows.h>

#include "Baseline.h"

namespace {
HWND field;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_HOTKEY:
      SetWindowTextA(field, "");
      ShowWindow(w, SW_SHOWMAXIMIZED);
      SetForegroundWindow(w);
      SetFocus(field);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE && GetWindowTextLengthA(field) > 0) ShowWindow(w, SW_HIDE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  baseline::RegisterWindowClass(instance, "MinimalLock", &Proc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const HWND window = CreateWindowExA(WS_EX_TOPMOST, "MinimalLock", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1024,
                                      721, nullptr, nullptr, instance, nullptr);
  // The field first: it lies over the banner.
  field = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD, 496, 368,
                          121, 21, window, nullptr, instance, nullptr);
  CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_GRAYRECT, 296, 347, 450, 70, window, nullptr,
                  instance, nullptr);
  RegisterHotKey(window, 1, MOD_CONTROL | MOD_ALT, 'P');
  baseline::MessageLoop();
  return 0;
}
