// Message pumping for tests under Wine: wait for a condition while the
// thread's messages are dispatched, with a generous bound and never a bare
// sleep.
#pragma once
#include <windows.h>

#include <functional>
#include <map>

namespace testing_support {

// Dispatches messages until `done` is true or `timeoutMs` has passed;
// returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed < 5 ? timeoutMs - elapsed : 5,
                              QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

}  // namespace testing_support

namespace testing_support {

// Calls `tick` on this thread every `ms` milliseconds, from whatever message
// loop is running (a modal one included), until it returns false.
inline void Every(UINT ms, std::function<bool()> tick) {
  struct Timers {
    static std::map<UINT_PTR, std::function<bool()>>& All() {
      static std::map<UINT_PTR, std::function<bool()>> all;
      return all;
    }
    static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
      auto it = All().find(id);
      if (it == All().end()) return;
      auto callback = it->second;  // the tick may start a nested loop
      if (!callback()) {
        KillTimer(nullptr, id);
        All().erase(id);
      }
    }
  };
  const UINT_PTR id = SetTimer(nullptr, 0, ms, &Timers::Proc);
  Timers::All()[id] = std::move(tick);
}

}  // namespace testing_support
