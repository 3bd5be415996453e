// The operation clock's ticks, its menu command and the one-off countdown.
#include "app/OperationClock.h"

namespace app {

std::string TimeText(TimeOfDay time) {
  return {static_cast<char>('0' + time.hour / 10), static_cast<char>('0' + time.hour % 10), ':',
          static_cast<char>('0' + time.minute / 10), static_cast<char>('0' + time.minute % 10)};
}

std::optional<int> MinuteOfDay(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon < 1 || colon > 2 || text.size() != colon + 3) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i != colon && (text[i] < '0' || text[i] > '9')) return std::nullopt;
  const int hour = std::stoi(text.substr(0, colon)), minute = std::stoi(text.substr(colon + 1));
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * 60 + minute;
}

std::string Caption(const OneOff& countdown) {
  constexpr std::int64_t kDay = 24 * 60 * 60;
  const std::int64_t second = (countdown.due % kDay + kDay) % kDay;
  return std::string(Actions[countdown.action].caption) + " at " +
         TimeText({static_cast<int>(second / 3600), static_cast<int>(second % 3600 / 60)});
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
  if (CountdownDue())
    FireCountdown();
  else if (state_.ClockEnabled && servedMinute_.empty() && now == host_.SetTime())
    Fire(ActionOfCode(state_.OperationCode), std::nullopt);
  host_.SetTrayTip(Tip());
}

std::string OperationClock::Tip() {
  if (pending_) return "Dormix: " + Caption(*pending_);
  return state_.ClockEnabled ? "Dormix is Active at " + host_.SetTime() : "Dormix is Disabled...";
}

void OperationClock::Fire(const Action* action, std::optional<bool> force) {
  // A failed action pauses as well: the notice restarts Timer1 on its way
  // out, and left running the clock would fire again every second of the
  // minute, one error message each time.
  try {
    if (action) host_.Run(action->routine, force);
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

// A countdown due during the pause fires on time, and its own pause starts
// anew. Timer3 is off while it runs, so that no pause ends inside its notice
// and lets the daily clock fire there too.
void OperationClock::Timer3Timer() {
  if (CountdownDue()) return FireCountdown();
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

bool OperationClock::CountdownDue() { return pending_ && host_.LocalSeconds() >= pending_->due; }

void OperationClock::FireCountdown() {
  const OneOff due = *pending_;
  pending_.reset();
  ShowCountdown();
  host_.SetTimer3(false);
  Fire(&Actions[due.action], due.force);
}

void OperationClock::ShowCountdown() {
  host_.SetCancelItem(pending_ ? "Cancel " + Caption(*pending_) : std::string());
  host_.SetTrayTip(Tip());
}

Answer OperationClock::Schedule(const Command& command) {
  if (pending_) return {1, "A countdown is already pending: " + Caption(*pending_) + "."};
  pending_ = OneOff{command.action, command.force, DueTime(command, host_.LocalSeconds())};
  ShowCountdown();
  return {0, Caption(*pending_) + "."};
}

Answer OperationClock::Cancel() {
  if (!pending_) return {1, "No countdown is pending."};
  const std::string caption = Caption(*pending_);
  pending_.reset();
  ShowCountdown();
  return {0, "Cancelled " + caption + "."};
}

std::string OperationClock::Status() {
  const Action* action = ActionOfCode(state_.OperationCode);
  return "Countdown: " + (pending_ ? Caption(*pending_) : std::string("none")) + "\nDaily clock: " +
         (action ? action->caption : "no action") + " at " + host_.SetTime() +
         (state_.ClockEnabled ? ", enabled" : ", disabled");
}

}  // namespace app
