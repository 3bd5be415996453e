// A timer component: OnTimer every Interval milliseconds while Enabled, on
// the GUI thread, from a hidden window of its own.
#pragma once
#include "ui/Component.h"
#include "ui/Window.h"

namespace ui {

class TTimer : public TComponent, private Window {
 public:
  explicit TTimer(TComponent* owner) : TComponent(owner) {}
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  Event<TComponent&> OnTimer;

 protected:
  void Loaded() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Update();
  bool enabled_ = true;
  unsigned interval_ = 1000;
};

}  // namespace ui
