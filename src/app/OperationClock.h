// The operation clock: Timer1 shows the time every second and fires the
// selected action when the time text equals the set time; Timer3 then holds
// Timer1 off for 60 ticks. A minute whose notice was answered or whose action
// ran is served and does not fire again, also when a later notice switches
// Timer1 on inside the pause. The tip names the one-off countdown while one
// is pending. With a day of the week set apart (schedule/WeekPlan.h) the
// set time is each day's own, or none on a day off, and the tip names the
// next one. The main window owns the timers, labels, tray icon and menu
// items and implements ClockHost; the clock's state is the main window's
// Settings.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "app/Actions.h"
#include "app/Settings.h"
#include "schedule/Countdown.h"
#include "schedule/TimeOfDay.h"
#include "schedule/WeekPlan.h"

namespace app {

using schedule::LocalMinute;
using schedule::TimeOfDay;
using schedule::TimeText;

class ClockHost {
 public:
  virtual ~ClockHost() = default;
  // The local wall clock.
  virtual LocalMinute Now() = 0;
  // Label1, the clock display.
  virtual void SetClockText(const std::string& text) = 0;
  // Label2, beside "Enabled:".
  virtual void SetEnabledText(const std::string& text) = 0;
  // The popup menu's side-bar text (VerticalText).
  virtual void SetSideBarText(const std::string& text) = 0;
  virtual void SetTrayTip(const std::string& tip) = 0;
  // The tray icon's IconIndex, and its Active set to true.
  virtual void SetTrayIconIndex(int index) = 0;
  virtual void ActivateTrayIcon() = 0;
  // StopSystem1's check mark and caption.
  virtual bool ClockItemChecked() = 0;
  virtual void SetClockItem(bool checked, const std::string& caption) = 0;
  // MaskEdit1's text, as it is now.
  virtual std::string SetTime() = 0;
  // Runs the routine, with `force` or else ForceFlag where it takes one.
  // May raise.
  virtual void Run(Routine routine, std::optional<bool> force) = 0;
  virtual void SetTimer1(bool enabled) = 0;
  virtual void SetTimer3(bool enabled) = 0;
  // Stores the clock's new state: SaveSettings, or only the Enabled value
  // while the options window holds edits not yet stored.
  virtual void SaveClockState() = 0;
};

class OperationClock {
 public:
  // `state` is the main window's: the clock reads OperationCode and
  // ClockDays and reads and writes ClockEnabled. `countdown` names the tip
  // while it is pending; `zone` finds the week's next time.
  OperationClock(ClockHost& host, Settings& state, const schedule::Countdown& countdown, schedule::TimeBase& zone)
      : host_(host), state_(state), countdown_(countdown), zone_(zone) {}

  void Timer1Timer();
  void Timer3Timer();
  // The clock display, "Enabled:" and the side bar as Timer1 writes them;
  // for a window that shows them before the next tick. The reading shown.
  LocalMinute ShowTime();
  // At start-up: when the armed clock's set minute is the current one, that
  // minute counts as served. Dormix started again inside the minute in which
  // it ended the session (a log-off, say) would otherwise end it again.
  void ServeCurrentMinute();
  // After StopSystem1 has toggled its check mark: the mark means disabled.
  void StopSystem1Click();
  // Tray icon and StopSystem1 as ClockEnabled says (0 and "Disable ShutDown
  // Clock" unchecked when armed, 1 and "Enable ShutDown Clock" checked when
  // not); LoadSettings' step for Enabled shows it the same way.
  void ShowClockState();

  // The tip as the countdown and the clock stand, set at once.
  void ShowTip();
  // "Daily clock: Shut Down at 07:30, enabled"; with a week, "... on Sat
  // at 23:30, enabled".
  std::string Status();

 private:
  void Fire(const Action* action);
  void Pause();
  std::string Tip();
  // The set time of the day `now` is on: the edit's text without a week,
  // else the day's own or Op. Time's as time text, or "" on a day off.
  std::string SetTimeOn(const LocalMinute& now);
  // "at 07:30" without a week; with one the next time it fires, "at 22:00"
  // today, "on Sat at 23:30", or "on no day". Worked out once a minute.
  std::string When();

  ClockHost& host_;
  Settings& state_;
  const schedule::Countdown& countdown_;
  schedule::TimeBase& zone_;
  std::int32_t pauseTicks_ = 0;
  std::string servedMinute_;  // time text of a minute that does not fire
  std::string whenKey_, when_;  // what When() was worked out from, and its text
};

}  // namespace app
