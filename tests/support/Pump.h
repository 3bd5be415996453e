// Message pumping for tests under Wine: wait for a condition while the
// thread's messages are dispatched, with a generous bound and never a bare
// sleep; and repeating timers owned by the test that sets them.
#pragma once
#include <windows.h>

#include <functional>
#include <map>

#include "ui/Application.h"

namespace testing_support {

// Dispatches every message waiting in this thread's queue, as a plain
// message loop would.
inline void DispatchWaiting() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Lets `dispatch` handle the thread's messages until `done` is true or
// `timeoutMs` has passed; returns `done()`. The condition is looked at every
// few milliseconds too: it may depend on other processes.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000,
                      void (*dispatch)() = &DispatchWaiting) {
  const DWORD start = GetTickCount();
  while (!done()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed < 5 ? timeoutMs - elapsed : 5,
                              QS_ALLINPUT);
    dispatch();
  }
  return true;
}

// Calls `tick` on this thread every `ms` milliseconds, from whatever message
// loop is running (a modal one included), until it returns false or this
// object goes: a test's repeating wait ends with the test, even when an
// assertion has ended the test early. A tick that pumps messages itself is
// not entered again meanwhile.
class Every {
 public:
  Every(UINT ms, std::function<bool()> tick) : tick_(std::move(tick)) {
    id_ = SetTimer(nullptr, 0, ms, &Proc);
    if (id_) Running()[id_] = this;
  }
  Every(const Every&) = delete;
  Every& operator=(const Every&) = delete;
  ~Every() { Stop(); }

 private:
  // Thread timers carry no data of their own: the id finds the owner.
  static std::map<UINT_PTR, Every*>& Running() {
    static std::map<UINT_PTR, Every*> running;
    return running;
  }
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
    const auto it = Running().find(id);
    if (it == Running().end()) return;
    Every& timer = *it->second;
    if (timer.ticking_) return;
    timer.ticking_ = true;
    try {
      if (!timer.tick_()) timer.Stop();
    } catch (...) {
      timer.Stop();
      ui::HandleCallbackException();
    }
    timer.ticking_ = false;
  }
  // A tick may run a nested loop in which the timer fires and stops again.
  void Stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    Running().erase(id_);
    id_ = 0;
  }

  std::function<bool()> tick_;
  UINT_PTR id_ = 0;
  bool ticking_ = false;
};

}  // namespace testing_support
