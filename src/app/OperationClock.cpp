// The operation clock's ticks and its menu command.
#include "app/OperationClock.h"

namespace app {

std::string TimeText(TimeOfDay time) {
  return {static_cast<char>('0' + time.hour / 10), static_cast<char>('0' + time.hour % 10), ':',
          static_cast<char>('0' + time.minute / 10), static_cast<char>('0' + time.minute % 10)};
}

std::string OperationClock::ShowTime() {
  const std::string now = TimeText(host_.Now());
  host_.SetClockText(now);
  host_.SetSideBarText("Dormix>>" + now);
  host_.SetEnabledText(state_.ClockEnabled ? "True" : "False");
  return now;
}

void OperationClock::ServeCurrentMinute() {
  const std::string now = TimeText(host_.Now());
  if (state_.ClockEnabled && now == host_.SetTime()) servedMinute_ = now;
}

void OperationClock::Timer1Timer() {
  const std::string now = ShowTime();
  if (now != servedMinute_) servedMinute_.clear();
  if (state_.ClockEnabled && servedMinute_.empty() && now == host_.SetTime()) Fire();
  host_.SetTrayTip(state_.ClockEnabled ? "Dormix is Active at " + host_.SetTime()
                                       : "Dormix is Disabled...");
}

void OperationClock::Fire() {
  // A failed action pauses as well: the notice restarts Timer1 on its way
  // out, and left running the clock would fire again every second of the
  // minute, one error message each time.
  try {
    if (const Action* action = ActionOfCode(state_.OperationCode)) host_.Run(action->routine);
  } catch (...) {
    Pause();
    throw;
  }
  Pause();
}

void OperationClock::Pause() {
  pauseTicks_ = 0;
  host_.SetTimer3(true);
  host_.SetTimer1(false);
}

void OperationClock::Timer3Timer() {
  if (++pauseTicks_ != 60) return;
  host_.SetTimer1(true);
  host_.SetTimer3(false);
}

void OperationClock::StopSystem1Click() {
  state_.ClockEnabled = !host_.ClockItemChecked();
  ShowClockState();
  host_.SaveSettings();
}

void OperationClock::ShowClockState() {
  host_.SetTrayIconIndex(state_.ClockEnabled ? 0 : 1);
  if (state_.ClockEnabled)
    host_.SetClockItem(false, "Disable ShutDown Clock");
  else
    host_.SetClockItem(true, "Enable ShutDown Clock");
  host_.ActivateTrayIcon();
}

}  // namespace app
