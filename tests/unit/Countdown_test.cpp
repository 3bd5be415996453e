// The one-off countdown's captions and reports over a fake machine, second
// by second: spans and clock times across daylight saving, a miss by sleep
// or by the clock, a clock set back, and the day its caption names. When it
// acts is the model's (CountdownModel_test.cpp).
#include "schedule/Countdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeMachine.h"

namespace {

using namespace testing_support;
using Journal = std::vector<std::string>;

struct Event {
  enum What { kNone, kSleep, kSetClock, kInput, kPostpone } what = kNone;
  Seconds at = 0, amount = 0;  // seconds after the start
};

TEST(Countdown, ActsOnceAtItsTimeOrIsMissedAndNamesItsDay) {
  enum Trigger { kIn, kAt, kIdle, kAfter };
  const struct {
    Seconds start;  // UTC
    Trigger trigger;
    Seconds amount;  // the span; the minute of the day; the programs' end, from the start
    Event event;
    Journal journal;
  } cases[] = {
      // Two hours of real time across either change; the wall clock named after it.
      {kSpring - 30 * 60, kIn, 2 * kHour, {}, {"Hibernate at 04:30", "run Hibernate 04:30:0"}},
      {kAutumn - 30 * 60, kIn, 2 * kHour, {}, {"Hibernate at 03:30", "run Hibernate 03:30:0"}},
      // 02:30 is skipped in spring (the first minute after the gap) and
      // comes twice in autumn (the first time).
      {kSpring - kHour, kAt, 150, {}, {"Hibernate at 03:00", "run Hibernate 03:00:0"}},
      {kAutumn - 2 * kHour, kAt, 150, {}, {"Hibernate at 02:30", "run Hibernate 02:30:0"}},
      // Asleep across the due time: woken 9 h after it, or 30 s after.
      {kDay, kIn, kHour, {Event::kSleep, 1800, 10 * kHour},
       {"Hibernate at 02:00", "Hibernate at 02:00 was missed while the computer was asleep."}},
      // The clock set back an hour moves the time named, not the span.
      {kDay, kIn, kHour, {Event::kSetClock, 600, -kHour},
       {"Hibernate at 02:00", "Hibernate at 01:00", "run Hibernate 01:00:0"}},
      // A clock time the clock is set past is missed; one set back waits.
      {kDay, kAt, 90, {Event::kSetClock, 600, kHour},
       {"Hibernate at 01:30", "Hibernate at 01:30 was missed: the clock was set past it."}},
      // Other days are named, and "tomorrow" turns into today at midnight.
      {kDay, kIn, 25 * kHour, {}, {"Hibernate tomorrow at 02:00", "Hibernate at 02:00", "run Hibernate 02:00:0"}},
      {kDay, kIn, 50 * kHour, {},
       {"Hibernate on Sun 4 Jan at 03:00", "Hibernate tomorrow at 03:00", "Hibernate at 03:00",
        "run Hibernate 03:00:0"}},
      // Idle: input starts the wait again, and so does a wake from sleep.
      {kDay, kIdle, 1800, {Event::kInput, 1000}, {"Hibernate after 30 min idle", "run Hibernate 01:46:40"}},
      // After the programs end, at once.
      {kDay, kAfter, 500, {}, {"Hibernate when x.exe ends", "run Hibernate 01:08:20"}},
      // Postponed: a time moves; an idle wait starts again with the longer
      // span; the wait after a program's end is named.
      {kDay, kIn, kHour, {Event::kPostpone, 100, 600}, {"Hibernate at 02:00", "Hibernate at 02:10", "run Hibernate 02:10:0"}},
      {kDay, kIdle, 1800, {Event::kPostpone, 1000, kHour},
       {"Hibernate after 30 min idle", "Hibernate after 1 h idle", "run Hibernate 02:16:40"}},
      {kDay, kAfter, 500, {Event::kPostpone, 100, 600},
       {"Hibernate when x.exe ends", "Hibernate 10 min after x.exe ends", "run Hibernate 01:18:20"}},
  };
  for (const auto& c : cases) {
    FakeMachine machine;
    machine.utc = c.start;
    schedule::Countdown countdown(machine, machine);
    const schedule::Job job{2, "Hibernate", true};
    const bool started = c.trigger == kIn     ? countdown.StartIn(job, c.amount)
                         : c.trigger == kAt   ? countdown.StartAt(job, static_cast<int>(c.amount))
                         : c.trigger == kIdle ? countdown.StartIdle(job, c.amount)
                                              : countdown.StartAfter(job, std::make_unique<FakePrograms>(machine, c.amount * 1000), "x.exe");
    ASSERT_TRUE(started);
    EXPECT_FALSE(countdown.StartIn(job, 60));
    EXPECT_FALSE(countdown.PostponeJob(job, 60));
    for (Seconds second = 0; !countdown.Caption().empty() && second < 3 * kDay; ++second) {
      if (second == c.event.at) {
        if (c.event.what == Event::kSleep) machine.Pass(c.event.amount, true), second += c.event.amount;
        if (c.event.what == Event::kSetClock) machine.utc += c.event.amount;
        if (c.event.what == Event::kInput) machine.lastInput = machine.ticks;
        if (c.event.what == Event::kPostpone) countdown.Postpone(c.event.amount);
      }
      countdown.Tick();
      machine.Pass(1, false);
    }
    EXPECT_EQ(machine.journal, c.journal) << c.start << " " << c.trigger << " " << c.amount;
    EXPECT_EQ(countdown.Caption(), "");
  }
}

// A clock time on a day: a weekday's next (today while the minute is to
// come), a date, within 30 days; the first pass of a repeated minute and the
// end of a skipped one's gap.
TEST(Countdown, AClockTimeOnADayIsItsNextReadingWithinThirtyDays) {
  const struct {
    Seconds start;  // UTC
    int minute;
    std::string day, shown;  // the caption and the seconds left, or the refusal
  } cases[] = {
      // 01:00 on Fri 2 Jan 1970.
      {kDay, 18 * 60, "fri", "Hibernate at 18:00 in 61200"},
      {kDay, 30, "fri", "Hibernate on Fri 9 Jan at 00:30 in 603000"},
      {kDay, 18 * 60, "sat", "Hibernate tomorrow at 18:00 in 147600"},
      {kDay, 30, "1970-01-02", " has passed."},
      {kDay, 30, "1969-12-31", " has passed."},
      {kDay, 30, "1970-02-01", "Hibernate on Sun 1 Feb at 00:30 in 2590200"},
      {kDay, 90, "1970-02-01", " is more than 30 days away."},
      // 23:00 on Sat 10 Jan: 02:30 is skipped on Sunday.
      {kSpring - 3 * kHour, 150, "sun", "Hibernate tomorrow at 03:00 in 10800"},
      // 00:00 on Wed 21 Jan: 02:30 comes twice; the first.
      {kAutumn - 3 * kHour, 150, "1970-01-21", "Hibernate at 02:30 in 9000"},
  };
  for (const auto& c : cases) {
    FakeMachine machine;
    machine.utc = c.start;
    schedule::Countdown countdown(machine, machine);
    const auto due = countdown.DueOn(c.minute, *schedule::ParseDay(c.day));
    const bool started = countdown.StartAt({2, "Hibernate", true}, c.minute, *schedule::ParseDay(c.day));
    EXPECT_EQ(started, std::holds_alternative<Seconds>(due));
    EXPECT_EQ(started ? countdown.Caption() + " in " + std::to_string(*countdown.Left()) : std::get<std::string>(due),
              c.shown) << c.day;
  }
}

// A program's name is shortened to leave the caption within the tray tip
// beside "Dormix: "; the process id and the spans are named whole.
TEST(Countdown, CaptionsOfProgramsAndSpansFitTheTip) {
  FakeMachine machine;
  schedule::Countdown countdown(machine, machine);
  const std::string name(80, 'n');
  countdown.StartAfter({0, "Shut Down Monitor", {}}, std::make_unique<FakePrograms>(machine, 1000), name + ".exe");
  EXPECT_EQ(countdown.Caption(), "Shut Down Monitor when " + name.substr(0, 24) + "... ends");
  EXPECT_EQ(schedule::SpanText(90) + ", " + schedule::SpanText(5400) + ", " + schedule::SpanText(7200), "90 s, 1 h 30 min, 2 h");
}

}  // namespace
