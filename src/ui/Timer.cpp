// Timer component.
#include "ui/Timer.h"

namespace ui {

void TTimer::Loaded() {
  CreateHandle("TTimerWindow", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  interval_ = ms;
  Update();
}

// Setting the timer again restarts its period, as a fresh start should.
void TTimer::Update() {
  if (!Handle()) return;
  KillTimer(Handle(), 1);
  if (enabled_ && interval_) SetTimer(Handle(), 1, interval_, nullptr);
}

LRESULT TTimer::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TIMER) return Window::WndProc(msg, wParam, lParam);
  Fire(OnTimer, *this);
  return 0;
}

}  // namespace ui
