// A timer component: OnTimer every Interval milliseconds while Enabled, on
// the GUI thread. It is a thread timer with a callback, not a window of its
// own: a window per timer cost start-up a window creation each.
#pragma once
#include <windows.h>

#include "ui/Component.h"

namespace ui {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner) : TComponent(owner) {}
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  Event<TComponent&> OnTimer;

 protected:
  void Loaded() override;

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void Update();
  void Stop();
  bool loaded_ = false;
  bool enabled_ = true;
  unsigned interval_ = 1000;
  UINT_PTR id_ = 0;  // the system's identifier of the running timer, 0 when stopped
};

}  // namespace ui
