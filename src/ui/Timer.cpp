// Timer component.
#include "ui/Timer.h"

#include <map>

#include "ui/Application.h"

namespace ui {

namespace {

// The running timers by the identifiers the system gave them. A tick that
// arrives for a timer stopped in the meantime finds nothing here.
std::map<UINT_PTR, TTimer*>& Running() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

}  // namespace

TTimer::~TTimer() { Stop(); }

void TTimer::Loaded() {
  TComponent::Loaded();
  loaded_ = true;
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
  if (!loaded_) return;
  Stop();
  if (!enabled_ || !interval_) return;
  id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
  if (id_) Running()[id_] = this;
}

void TTimer::Stop() {
  if (!id_) return;
  KillTimer(nullptr, id_);
  Running().erase(id_);
  id_ = 0;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  const auto timer = Running().find(id);
  if (timer == Running().end()) return;
  TTimer& self = *timer->second;
  Guarded(0, [&] {
    Fire(self.OnTimer, self);
    return 0;
  });
}

}  // namespace ui
