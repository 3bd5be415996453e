// The daily clock's week: its stored value at the settings' and the policy's
// doors, and its next firing minute against a minute-by-minute reading of
// the wall clock, for random weeks in random zones with daylight saving.
#include "schedule/WeekPlan.h"

#include <gtest/gtest.h>
#include <rapidcheck.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/SettingsLayout.h"

namespace {

using schedule::Seconds;

// Good, bad and damaged forms: a good one in its stored form, a bad one
// refused (no week: the set time alone, every day), at every door the
// settings' layout serves.
TEST(WeekPlan, TheStoredValueIsReadInItsStoredFormOrRefused) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"", ""}, {";;;;;;", ""}, {"-;-;-;-;-;-;-", "-;-;-;-;-;-;-"}, {";;;;;;23:59", ";;;;;;23:59"},
      {"9:45;-;;;;;00:00", "09:45;-;;;;;00:00"},
      {"22:00;22:00;22:00;22:00;22:00;23:30;23:30", "22:00;22:00;22:00;22:00;22:00;23:30;23:30"}};
  const std::string bad[] = {"22:00", ";;;;;", ";;;;;;;", "24:00;;;;;;", "22:60;;;;;;", " 7:30;;;;;;", "22:00 ;;;;;;",
                             "--;;;;;;", "007:00;;;;;;", "22;;;;;;", "+1:00;;;;;;", "\xEF\xBC\x91:00;;;;;;",
                             "22:00,22:00,22:00,22:00,22:00,23:30,23:30", std::string(1 << 20, ';')};
  std::vector<std::pair<std::string, std::optional<std::string>>> all(std::begin(cases), std::end(cases));
  for (const std::string& text : bad) all.emplace_back(text, std::nullopt);
  for (const auto& [stored, read] : all) {
    EXPECT_EQ(schedule::CheckedWeekText(stored), read) << stored.substr(0, 60);
    EXPECT_EQ(app::Accept(app::RowOf("Days")->accepts, stored), read) << stored.substr(0, 60);
  }
}

// A zone `standard` seconds from UTC, `summer` more from `spring` to
// `autumn` (UTC); either change may fall at any minute of the local day.
// Summer may be negative: a zone whose clocks go back for it.
struct Zone : schedule::TimeBase {
  Seconds standard = 0, summer = 0, spring = 0, autumn = 0;
  Seconds LocalOf(Seconds utc) override { return utc + standard + (utc >= spring && utc < autumn ? summer : 0); }
  std::int64_t Ticks() override { return 0; }
  std::int64_t AwakeTicks() override { return 0; }
  std::int64_t IdleMs() override { return 0; }
  Seconds UtcNow() override { return 0; }
};

constexpr Seconds kDay = 86400;

// The reference: each minute's start in turn, the wall clock read and the
// week looked up for the weekday it reads (1970-01-05 was a Monday).
std::optional<Seconds> Scan(Zone& zone, const schedule::Week& week, std::optional<int> setTime, Seconds from) {
  Seconds at[7];  // by weekday, -1 for none
  for (int day = 0; day < 7; ++day)
    at[day] = week[day].kind == schedule::WeekDay::kOff   ? -1
              : week[day].kind == schedule::WeekDay::kOwn ? week[day].minute
                                                          : setTime.value_or(-1);
  const Seconds first = (from + 59) / 60 * 60;
  for (Seconds start = first; start < first + 16 * kDay; start += 60) {
    const Seconds local = zone.LocalOf(start);
    if (at[(local / kDay + 3) % 7] == local % kDay / 60) return start;
  }
  return std::nullopt;
}

TEST(WeekPlan, TheNextFiringIsTheFirstMinuteTheWallClockReadsTheDaysTime) {
  // Rarely drawn: clocks set back from 00:30 to 23:30 read yesterday's 23:45
  // again a quarter of an hour after the change, before any time of today.
  Zone back;
  back.summer = 3600, back.autumn = 40 * kDay - 1800;
  const schedule::WeekDay late{schedule::WeekDay::kOwn, 23 * 60 + 45};
  EXPECT_EQ(schedule::NextFiring(back, {late, late, late, late, late, late, late}, std::nullopt, back.autumn - 1200),
            back.autumn + 900);
  EXPECT_TRUE(rc::check("next firing against a scan", [] {
    Zone zone;
    zone.standard = *rc::gen::inRange(-48, 57) * 15 * 60;
    zone.summer = *rc::gen::element<Seconds>(0, 30 * 60, 60 * 60, 60 * 60, -60 * 60);
    // The changes at one local minute of the day, often near midnight, two
    // days apart at least (no zone changes twice in two days).
    const int change = *rc::gen::oneOf(rc::gen::inRange(0, 1440), rc::gen::inRange(1380, 1500));
    zone.spring = 30 * kDay + change * 60 - zone.standard;
    zone.autumn = 30 * kDay + *rc::gen::inRange<Seconds>(3, 12) * kDay + change * 60 - zone.standard;
    // Times near midnight and the changes come often.
    const auto minute = rc::gen::oneOf(rc::gen::inRange(0, 1440), rc::gen::element(0, 1, 1410, 1439),
                                       rc::gen::map(rc::gen::inRange(-90, 90), [=](int m) { return (change + m + 1440) % 1440; }));
    schedule::Week week;
    for (schedule::WeekDay& day : week) {
      const int kind = *rc::gen::inRange(0, 3);
      day = {static_cast<schedule::WeekDay::Kind>(kind), kind == schedule::WeekDay::kOwn ? *minute : 0};
    }
    const rc::Maybe<int> set = *rc::gen::maybe(minute);
    const std::optional<int> setTime = set ? std::optional(*set) : std::nullopt;
    // Asked anywhere in three weeks, or more often in the hours before a change.
    const Seconds from = *rc::gen::inRange(0, 3)
                             ? *rc::gen::element(zone.spring, zone.autumn) + *rc::gen::inRange<Seconds>(-2 * 3600, 1800)
                             : zone.spring + *rc::gen::inRange<Seconds>(-10 * kDay, 12 * kDay);
    RC_ASSERT(schedule::NextFiring(zone, week, setTime, from) == Scan(zone, week, setTime, from));
  }));
}

}  // namespace
