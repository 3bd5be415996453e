// The operation clock over simulated days: when it fires and how often, its
// one-minute pause after every firing (a failing action and a code without
// an action included), the served minute, disarming during the pause, and a
// week's own times across a change of daylight saving.
#include "app/OperationClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeMachine.h"
#include "ui/Error.h"

namespace {

using Journal = std::vector<std::string>;

constexpr int kDay = 24 * 60 * 60;

// The main window as the clock sees it, at `second` of a simulated week (on
// the fake machine's wall clock when `inZone`, else the second is the wall
// clock's); `calls` journals the routines run (by action index) and the
// changes to the timers, the tray icon and the menu item, `tips` each new tip.
class FakeHost : public app::ClockHost {
 public:
  int second = 0;
  bool inZone = false;
  Journal tips;
  bool timer1 = true, timer3 = false, itemChecked = false, failing = false;
  std::string setTime = "07:30", clockText, enabledText, sideBar, tip;
  Journal calls, runs;

  int Local() const { return inZone ? static_cast<int>(testing_support::ZoneLocal(second)) : second; }
  app::LocalMinute Now() override { return {Local() / kDay, {Local() % kDay / 3600, Local() % 3600 / 60}}; }
  void SetClockText(const std::string& text) override { clockText = text; }
  void SetEnabledText(const std::string& text) override { enabledText = text; }
  void SetSideBarText(const std::string& text) override { sideBar = text; }
  void SetTrayTip(const std::string& text) override {
    if (text != tip) tips.push_back("day " + std::to_string(Local() / kDay) + " " + clockText + " " + text);
    tip = text;
  }
  void SetTrayIconIndex(int index) override { calls.push_back("icon " + std::to_string(index)); }
  void ActivateTrayIcon() override { calls.push_back("active"); }
  bool ClockItemChecked() override { return itemChecked; }
  void SetClockItem(bool checked, const std::string& caption) override {
    calls.push_back((checked ? "checked " : "unchecked ") + caption);
  }
  std::string SetTime() override { return setTime; }
  void Run(app::Routine routine, std::optional<bool> force) override {
    const int index = static_cast<int>(routine);
    calls.push_back("run " + std::to_string(index));
    runs.push_back("day " + std::to_string(Local() / kDay) + " at " + std::to_string(Local() % kDay) +
                   " run " + std::to_string(index) + (force ? *force ? " force" : " noforce" : ""));
    if (!failing) return;
    SetTimer1(true);  // as the notice does on its way out of an error
    throw ui::Error("'abc' is not a valid integer value");
  }
  void SetTimer1(bool enabled) override {
    timer1 = enabled;
    calls.push_back(enabled ? "Timer1 on" : "Timer1 off");
  }
  void SetTimer3(bool enabled) override {
    timer3 = enabled;
    calls.push_back(enabled ? "Timer3 on" : "Timer3 off");
  }
  void SaveClockState() override { calls.push_back("save"); }
};

// Armed for code 1 (Shut Down) from midnight of the first day. Each second
// Timer3 ticks before Timer1; an error ends the tick, as it does the handler.
// A notice answered at `reArmAt` switches Timer1 on, in the pause or not.
struct Rig {
  Rig() {
    state.ClockEnabled = true;
    state.OperationCode = 1;
  }
  void RunUntil(int second) {
    for (; host.second < second; ++host.second) {
      machine.utc = host.second;
      if (host.second == reArmAt) host.SetTimer1(true);
      if (host.timer3) clock.Timer3Timer();
      if (!host.timer1) continue;
      try {
        clock.Timer1Timer();
      } catch (const ui::Error&) {
        ++errors;
      }
    }
  }
  // Local days [first, last) through the minutes where something is due
  // (midnight, 07:30, 08:00, 22:00, 23:30), a minute before each to two after,
  // the ticks between skipped: a simulated week in seconds is slow to run.
  void RunDays(int first, int last) {
    for (int day = first; day < last; ++day)
      for (const int minute : {-1, 7 * 60 + 30, 8 * 60, 22 * 60, 23 * 60 + 30}) {
        const int local = day * kDay + minute * 60 - 60;
        host.second = local - static_cast<int>(testing_support::ZoneLocal(local) - local);
        RunUntil(host.second + 180);
      }
  }
  FakeHost host;
  app::Settings state;
  testing_support::FakeMachine machine;  // no countdown is pending
  schedule::Countdown countdown{machine, machine};
  app::OperationClock clock{host, state, countdown, machine};
  int errors = 0, reArmAt = -1;
};

Journal Daily(int second, int days) {
  Journal runs;
  for (int day = 0; day < days; ++day)
    runs.push_back("day " + std::to_string(day) + " at " + std::to_string(second) + " run 0");
  return runs;
}

// A week for the plain case; the times that never fire cover every minute in
// one day. A notice from the tray answered inside the pause (at 07:30:07)
// does not bring the served minute back.
TEST(OperationClock, FiresOncePerDayAtTheSetMinuteOnly) {
  const struct {
    const char* setTime;
    bool failing;
    int days;
    Journal runs;
    int reArmAt = -1;
  } cases[] = {
      {"07:30", false, 7, Daily(7 * 3600 + 30 * 60, 7)},
      {"00:00", false, 2, Daily(0, 2)},
      {"23:59", false, 2, Daily(kDay - 60, 2)},
      {"07:30", true, 1, Daily(7 * 3600 + 30 * 60, 1)},
      {" 7:30", false, 1, {}},
      {"24:00", false, 1, {}},
      {"07:60", false, 1, {}},
      {"07:30", false, 2, Daily(7 * 3600 + 30 * 60, 2), 7 * 3600 + 30 * 60 + 7},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.host.setTime = c.setTime;
    rig.host.failing = c.failing;
    rig.reArmAt = c.reArmAt;
    rig.RunUntil(c.days * kDay);
    EXPECT_EQ(rig.host.runs, c.runs) << c.setTime << c.failing;
    EXPECT_EQ(rig.errors, c.failing ? c.days : 0) << c.setTime;
  }
}

// Started inside the armed set minute (Dormix back after the log-off it
// caused), that minute is served; a start before it, or a clock armed only
// after the start, fires as usual.
TEST(OperationClock, AStartInsideTheArmedSetMinuteDoesNotFireIt) {
  constexpr int kSet = 7 * 3600 + 30 * 60;
  auto at = [](int day, int second) { return "day " + std::to_string(day) + " at " + std::to_string(second) + " run 0"; };
  const struct {
    int start;
    bool armedAtStart;
    Journal runs;
  } cases[] = {
      {kSet + 10, true, {at(1, kSet)}},
      {kSet - 1, true, {at(0, kSet), at(1, kSet)}},
      {kSet + 10, false, {at(0, kSet + 20), at(1, kSet)}},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.host.second = c.start;
    rig.state.ClockEnabled = c.armedAtStart;
    rig.clock.ServeCurrentMinute();
    rig.RunUntil(kSet + 20);
    rig.state.ClockEnabled = true;
    rig.RunUntil(2 * kDay);
    EXPECT_EQ(rig.host.runs, c.runs) << c.start << c.armedAtStart;
  }
}

// Whatever the code, and also when the action fails: Timer1 stays off for
// exactly 60 ticks of Timer3.
TEST(OperationClock, EveryFiringPausesForSixtyTicks) {
  const struct {
    std::int32_t code;
    bool failing;
    Journal calls;
  } cases[] = {
      {1, false, {"run 0", "Timer3 on", "Timer1 off"}},
      {2, false, {"run 1", "Timer3 on", "Timer1 off"}},
      {3, false, {"run 2", "Timer3 on", "Timer1 off"}},
      {4, false, {"run 6", "Timer3 on", "Timer1 off"}},
      {5, false, {"run 4", "Timer3 on", "Timer1 off"}},
      {6, false, {"run 5", "Timer3 on", "Timer1 off"}},
      {7, false, {"run 7", "Timer3 on", "Timer1 off"}},
      {8, false, {"Timer3 on", "Timer1 off"}},
      {0, false, {"Timer3 on", "Timer1 off"}},
      {1, true, {"run 0", "Timer1 on", "Timer3 on", "Timer1 off"}},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.host.second = 7 * 3600 + 30 * 60 + 15;
    rig.host.failing = c.failing;
    rig.state.OperationCode = c.code;
    try {
      rig.clock.Timer1Timer();
    } catch (const ui::Error&) {
      ++rig.errors;
    }
    EXPECT_EQ(rig.errors, c.failing ? 1 : 0) << c.code;
    EXPECT_EQ(rig.host.calls, c.calls) << c.code;
    rig.host.calls.clear();
    for (int tick = 1; tick < 60; ++tick) rig.clock.Timer3Timer();
    EXPECT_EQ(rig.host.calls, Journal{}) << c.code;
    rig.clock.Timer3Timer();
    EXPECT_EQ(rig.host.calls, (Journal{"Timer1 on", "Timer3 off"})) << c.code;
  }
}

// The icon and the menu item change at once; the display and the tip when
// Timer1 runs again. Armed again, the clock fires the next day.
TEST(OperationClock, DisarmingDuringThePauseShowsWhenTheClockRunsAgain) {
  Rig rig;
  const int fired = 7 * 3600 + 30 * 60;
  rig.RunUntil(fired + 10);
  rig.host.calls.clear();
  rig.host.itemChecked = true;  // toggled by choosing it
  rig.clock.StopSystem1Click();
  EXPECT_FALSE(rig.state.ClockEnabled);
  EXPECT_EQ(rig.host.calls, (Journal{"icon 1", "checked Enable ShutDown Clock", "active", "save"}));
  rig.RunUntil(fired + 60);
  EXPECT_EQ(rig.host.tip, "Dormix is Active at 07:30");
  EXPECT_EQ(rig.host.enabledText, "True");
  rig.RunUntil(fired + 61);
  EXPECT_EQ(rig.host.tip, "Dormix is Disabled...");
  EXPECT_EQ(rig.host.enabledText, "False");
  EXPECT_EQ(rig.host.clockText, "07:31");
  EXPECT_EQ(rig.host.sideBar, "Dormix>>07:31");

  rig.host.calls.clear();
  rig.host.itemChecked = false;
  rig.clock.StopSystem1Click();
  EXPECT_EQ(rig.host.calls,
            (Journal{"icon 0", "unchecked Disable ShutDown Clock", "active", "save"}));
  rig.RunUntil(kDay + fired + 1);
  EXPECT_EQ(rig.host.runs, Daily(fired, 2));
  EXPECT_EQ(rig.host.tip, "Dormix is Active at 07:30");
}

// "Weekdays 22:00, weekends 23:30" over a week across each change of
// daylight saving, a day off, every day off, and a value that is no week
// (Op. Time 07:30 every day): each day at its own wall-clock time, once, and
// the tip naming the next time, changed in the tick that fires.
TEST(OperationClock, AWeekFiresEachDayAtItsOwnTimeAcrossDaylightSaving) {
  const auto at = [](int day, int minute) { return "day " + std::to_string(day) + " at " + std::to_string(minute * 60) + " run 0"; };
  Journal week[2];  // from Thursday 8 Jan 1970 (Sunday springs forward), from Sunday 18 (Wednesday falls back)
  for (int i = 0; i < 2; ++i)
    for (int day = 7 + 10 * i; day < 15 + 10 * i; ++day) week[i].push_back(at(day, (day + 3) % 7 >= 5 ? 1410 : 1320));
  const std::string tip = "Dormix is Active ";
  const struct {
    const char* days;
    int first, count;  // local days
    Journal runs, tips;  // the tips journalled, unless none given
  } cases[] = {
      {"22:00;22:00;22:00;22:00;22:00;23:30;23:30", 7, 8, week[0],
       {"day 6 23:58 " + tip + "on Thu at 22:00", "day 7 00:00 " + tip + "at 22:00", "day 7 22:00 " + tip + "on Fri at 22:00",
        "day 8 00:00 " + tip + "at 22:00", "day 8 22:00 " + tip + "on Sat at 23:30", "day 9 00:00 " + tip + "at 23:30",
        "day 9 23:30 " + tip + "on Sun at 23:30", "day 10 00:00 " + tip + "at 23:30", "day 10 23:30 " + tip + "on Mon at 22:00",
        "day 11 00:00 " + tip + "at 22:00", "day 11 22:00 " + tip + "on Tue at 22:00", "day 12 00:00 " + tip + "at 22:00",
        "day 12 22:00 " + tip + "on Wed at 22:00", "day 13 00:00 " + tip + "at 22:00", "day 13 22:00 " + tip + "on Thu at 22:00",
        "day 14 00:00 " + tip + "at 22:00", "day 14 22:00 " + tip + "on Fri at 22:00"}},
      {"22:00;22:00;22:00;22:00;22:00;23:30;23:30", 17, 8, week[1], {}},
      {";;;;-;;", 1, 2, {at(2, 450)}, {"day 0 23:58 " + tip + "on Sat at 07:30", "day 2 00:00 " + tip + "at 07:30", "day 2 07:30 " + tip + "on Sun at 07:30"}},
      {"-;-;-;-;-;-;-", 1, 2, {}, {"day 0 23:58 " + tip + "on no day"}},
      {"08:00", 1, 2, {at(1, 450), at(2, 450)}, {"day 0 23:58 " + tip + "at 07:30"}},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.host.inZone = true;
    rig.state.ClockDays = c.days;
    rig.RunDays(c.first, c.first + c.count);
    EXPECT_EQ(rig.host.runs, c.runs) << c.days << c.first;
    EXPECT_TRUE(c.tips.empty() || rig.host.tips == c.tips) << testing::PrintToString(rig.host.tips);
  }
}

}  // namespace
