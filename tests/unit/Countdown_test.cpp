// The one-off countdown over a fake machine, second by second: spans and
// clock times across daylight saving, sleep, clock changes, a notice in the
// way, a cancel during its own notice, and the day its caption names.
#include "schedule/Countdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeMachine.h"

namespace {

using namespace testing_support;
using Journal = std::vector<std::string>;

struct Event {
  enum What { kNone, kSleep, kSetClock, kNotice } what = kNone;
  Seconds at = 0, amount = 0;  // seconds after the start
};

TEST(Countdown, ActsOnceAtItsTimeOrIsMissedAndNamesItsDay) {
  const struct {
    Seconds start;  // UTC
    Seconds in;     // a span, or 0 for the minute of `at`
    int at;
    Event event;
    Journal journal;
    bool cancelInNotice = false;
  } cases[] = {
      // Two hours of real time across either change; the wall clock named after it.
      {kSpring - 30 * 60, 2 * kHour, 0, {}, {"Hibernate at 04:30", "run Hibernate 04:30:0"}},
      {kAutumn - 30 * 60, 2 * kHour, 0, {}, {"Hibernate at 03:30", "run Hibernate 03:30:0"}},
      // 02:30 is skipped in spring (the first minute after the gap) and
      // comes twice in autumn (the first time).
      {kSpring - kHour, 0, 150, {}, {"Hibernate at 03:00", "run Hibernate 03:00:0"}},
      {kAutumn - 2 * kHour, 0, 150, {}, {"Hibernate at 02:30", "run Hibernate 02:30:0"}},
      // Asleep across the due time: woken 9 h after it, or 30 s after.
      {kDay, kHour, 0, {Event::kSleep, 1800, 10 * kHour},
       {"Hibernate at 02:00", "Hibernate at 02:00 was missed while the computer was asleep."}},
      {kDay, kHour, 0, {Event::kSleep, 1800, 1830}, {"Hibernate at 02:00", "run Hibernate 02:00:30"}},
      // The clock set back an hour moves the time named, not the span.
      {kDay, kHour, 0, {Event::kSetClock, 600, -kHour},
       {"Hibernate at 02:00", "Hibernate at 01:00", "run Hibernate 01:00:0"}},
      // A clock time the clock is set past is missed; one set back waits.
      {kDay, 0, 90, {Event::kSetClock, 600, kHour},
       {"Hibernate at 01:30", "Hibernate at 01:30 was missed: the clock was set past it."}},
      {kDay, 0, 90, {Event::kSetClock, 600, -kHour}, {"Hibernate at 01:30", "run Hibernate 01:30:0"}},
      // Due behind another notice: it comes once that one is answered.
      {kDay, kHour, 0, {Event::kNotice, 3500, 600}, {"Hibernate at 02:00", "run Hibernate 02:08:20"}},
      // Pending while its own notice counts: cancelled there, the notice too.
      {kDay, kHour, 0, {}, {"Hibernate at 02:00", "run Hibernate 02:00:0", "notice cancelled", "cancelled"}, true},
      // Other days are named, and "tomorrow" turns into today at midnight.
      {kDay, 25 * kHour, 0, {}, {"Hibernate tomorrow at 02:00", "Hibernate at 02:00", "run Hibernate 02:00:0"}},
      {kDay, 50 * kHour, 0, {},
       {"Hibernate on Sun 4 Jan at 03:00", "Hibernate tomorrow at 03:00", "Hibernate at 03:00",
        "run Hibernate 03:00:0"}},
  };
  for (const auto& c : cases) {
    FakeMachine machine;
    machine.utc = c.start;
    machine.cancelInNotice = c.cancelInNotice;
    schedule::Countdown countdown(machine, machine);
    machine.countdown = &countdown;
    const schedule::Job job{2, "Hibernate", true};
    ASSERT_TRUE(c.in ? countdown.StartIn(job, c.in) : countdown.StartAt(job, c.at));
    EXPECT_FALSE(countdown.StartIn(job, 60));
    for (Seconds second = 0; !countdown.Caption().empty() && second < 3 * kDay; ++second) {
      if (second == c.event.at) {
        if (c.event.what == Event::kSleep) machine.Pass(c.event.amount, true), second += c.event.amount;
        if (c.event.what == Event::kSetClock) machine.utc += c.event.amount;
        if (c.event.what == Event::kNotice) machine.noticeUntil = machine.utc + c.event.amount;
      }
      countdown.Tick();
      machine.Pass(1, false);
    }
    EXPECT_EQ(machine.journal, c.journal) << c.start << " " << c.in << " " << c.at;
    EXPECT_EQ(countdown.Caption(), "");
  }
}

}  // namespace
