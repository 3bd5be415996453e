// The operation clock's ticks, its menu command and the tray tip.
#include "app/OperationClock.h"

namespace app {

namespace {
constexpr schedule::Seconds kDay = 24 * 60 * 60;
}  // namespace

LocalMinute OperationClock::ShowTime() {
  const LocalMinute reading = host_.Now();
  const std::string now = TimeText(reading.time);
  host_.SetClockText(now);
  host_.SetSideBarText("Dormix>>" + now);
  host_.SetEnabledText(state_.ClockEnabled ? "True" : "False");
  return reading;
}

std::string OperationClock::SetTimeOn(const LocalMinute& now) {
  const std::string setTime = host_.SetTime();
  const std::optional<schedule::Week> week = schedule::ParseWeek(state_.ClockDays);
  if (!week || !schedule::SetApart(*week)) return setTime;
  const std::optional<int> minute =
      schedule::MinuteOn(*week, schedule::WeekIndexOf(now.day), schedule::SetTimeMinute(setTime));
  return minute ? TimeText({*minute / 60, *minute % 60}) : "";
}

void OperationClock::ServeCurrentMinute() {
  const LocalMinute reading = host_.Now();
  const std::string now = TimeText(reading.time);
  if (state_.ClockEnabled && now == SetTimeOn(reading)) servedMinute_ = now;
}

void OperationClock::Timer1Timer() {
  const LocalMinute reading = ShowTime();
  const std::string now = TimeText(reading.time);
  if (now != servedMinute_) servedMinute_.clear();
  if (state_.ClockEnabled && servedMinute_.empty() && now == SetTimeOn(reading)) {
    servedMinute_ = now;
    Fire(ActionOfCode(state_.OperationCode));
  }
  ShowTip();
}

// The zone is asked only when the minute, the week or the set time has
// changed: under Wine each ask reads the zone's rules anew.
std::string OperationClock::When() {
  const std::string setTime = host_.SetTime();
  const std::optional<schedule::Week> week = schedule::ParseWeek(state_.ClockDays);
  if (!week || !schedule::SetApart(*week)) return "at " + setTime;
  const schedule::Seconds utc = zone_.UtcNow(), minute = utc - (utc % 60 + 60) % 60;
  // A served minute does not fire again.
  const schedule::Seconds from = minute + (servedMinute_.empty() ? 0 : 60);
  const std::string key = std::to_string(from) + ";" + setTime + ";" + state_.ClockDays;
  if (key == whenKey_) return when_;
  whenKey_ = key;
  const std::optional<schedule::Seconds> next =
      schedule::NextFiring(zone_, *week, schedule::SetTimeMinute(setTime), from);
  if (!next) return when_ = "on no day";
  const schedule::Seconds local = zone_.LocalOf(*next), day = schedule::DayOfLocal(local);
  const std::string at = "at " + TimeText({static_cast<int>(local - day * kDay) / 3600,
                                           static_cast<int>(local - day * kDay) % 3600 / 60});
  if (day == schedule::DayOfLocal(zone_.LocalOf(utc))) return when_ = at;
  return when_ = std::string("on ") + schedule::kDayShortNames[schedule::WeekIndexOf(day)] + " " + at;
}

std::string OperationClock::Tip() {
  if (!countdown_.Caption().empty()) return "Dormix: " + countdown_.Caption();
  return state_.ClockEnabled ? "Dormix is Active " + When() : "Dormix is Disabled...";
}

void OperationClock::ShowTip() { host_.SetTrayTip(Tip()); }

void OperationClock::Fire(const Action* action) {
  // A failed action pauses as well: the notice restarts Timer1 on its way
  // out, and left running the clock would fire again every second of the
  // minute, one error message each time.
  try {
    if (action) host_.Run(action->routine, std::nullopt);
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
  host_.SaveClockState();
}

void OperationClock::ShowClockState() {
  host_.SetTrayIconIndex(state_.ClockEnabled ? 0 : 1);
  if (state_.ClockEnabled)
    host_.SetClockItem(false, "Disable ShutDown Clock");
  else
    host_.SetClockItem(true, "Enable ShutDown Clock");
  host_.ActivateTrayIcon();
}

std::string OperationClock::Status() {
  const Action* action = ActionOfCode(state_.OperationCode);
  return "Daily clock: " + std::string(action ? action->caption : "no action") + " " + When() +
         (state_.ClockEnabled ? ", enabled" : ", disabled");
}

}  // namespace app
