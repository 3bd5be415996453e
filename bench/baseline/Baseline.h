// What the baseline programs do alike: a window class of their own and the
// plain message loop.
#pragma once
#include <windows.h>

namespace baseline {

inline void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background = nullptr) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

inline void MessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace baseline
