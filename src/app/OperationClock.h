// The operation clock: Timer1 shows the time every second and fires the
// selected action when the time text equals the set time; Timer3 then holds
// Timer1 off for 60 ticks, so an action fires once per set minute. Beside
// the daily clock it keeps one one-off countdown from the command line,
// which fires through the same path and pause. The main window owns the
// timers, labels, tray icon and menu items and implements ClockHost; the
// clock's state is the main window's Settings.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "app/Actions.h"
#include "app/CommandLine.h"
#include "app/Settings.h"

namespace app {

struct TimeOfDay {
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
};

// "hh:nn", two digits each, whatever the regional settings.
std::string TimeText(TimeOfDay time);
// The minute of the day that "hh:nn" or "h:nn" names, 00:00 to 23:59;
// nothing for any other text.
std::optional<int> MinuteOfDay(const std::string& text);

// A one-off countdown: an action, once, when the local time reaches `due`.
struct OneOff {
  int action = 0;             // index in Actions
  std::optional<bool> force;  // none: ForceFlag
  std::int64_t due = 0;       // local seconds, as ClockHost::LocalSeconds
};
// How the tip, the menu and the command line name it: "Shut Down at 23:41".
std::string Caption(const OneOff& countdown);

class ClockHost {
 public:
  virtual ~ClockHost() = default;
  // The local time of day.
  virtual TimeOfDay Now() = 0;
  // The local date and time in seconds from a fixed day's midnight.
  virtual std::int64_t LocalSeconds() = 0;
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
  // The menu's item that cancels the countdown: shown with this caption, or
  // hidden for an empty one.
  virtual void SetCancelItem(const std::string& caption) = 0;
  virtual void SetTimer1(bool enabled) = 0;
  virtual void SetTimer3(bool enabled) = 0;
  // The main window's SaveSettings.
  virtual void SaveSettings() = 0;
};

class OperationClock {
 public:
  // `state` is the main window's: the clock reads OperationCode and reads
  // and writes ClockEnabled.
  OperationClock(ClockHost& host, Settings& state) : host_(host), state_(state) {}

  void Timer1Timer();
  void Timer3Timer();
  // The clock display, "Enabled:" and the side bar as Timer1 writes them;
  // for a window that shows them before the next tick. The time text shown.
  std::string ShowTime();
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

  // Sets the one-off countdown of a Run command with a time; refused while
  // one is pending.
  Answer Schedule(const Command& command);
  // Drops the pending countdown; refused when there is none.
  Answer Cancel();
  // What is pending and the daily clock's state, one line each.
  std::string Status();
  const std::optional<OneOff>& Pending() const { return pending_; }

 private:
  void Fire(const Action* action, std::optional<bool> force);
  // Takes the due countdown off before it runs: its notice may take a while.
  void FireCountdown();
  bool CountdownDue();
  void Pause();
  // The tray tip and the cancel item as the countdown and the clock stand.
  std::string Tip();
  void ShowCountdown();

  ClockHost& host_;
  Settings& state_;
  std::int32_t pauseTicks_ = 0;
  std::string servedMinute_;  // time text of a minute that does not fire
  std::optional<OneOff> pending_;
};

}  // namespace app
