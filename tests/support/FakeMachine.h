// A machine for the one-off countdown: its clocks, advanced by hand, in a
// zone with daylight saving, and the host's calls journalled.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "schedule/Countdown.h"
#include "schedule/TimeOfDay.h"

namespace testing_support {

using schedule::Seconds;

constexpr Seconds kHour = 3600, kDay = 24 * kHour;
// A zone an hour ahead of UTC, two in summer. Summer begins at 01:00 UTC on
// Sun 11 Jan 1970 (the clock goes 02:00 -> 03:00) and ends at 01:00 UTC on
// Wed 21 Jan (03:00 -> 02:00).
constexpr Seconds kSpring = 10 * kDay + kHour, kAutumn = 20 * kDay + kHour;

// The zone's wall clock at a UTC instant.
constexpr Seconds ZoneLocal(Seconds at) { return at + (at >= kSpring && at < kAutumn ? 2 : 1) * kHour; }

struct FakeMachine : schedule::TimeBase, schedule::CountdownHost {
  std::int64_t ticks = 0, awake = 0, lastInput = 0;
  Seconds utc = 0, zone = 0;  // zone: seconds the zone's rules were moved by
  std::vector<std::string> journal;

  std::int64_t Ticks() override { return ticks; }
  std::int64_t AwakeTicks() override { return awake; }
  Seconds UtcNow() override { return utc; }
  Seconds LocalOf(Seconds at) override { return ZoneLocal(at) + zone; }
  std::int64_t IdleMs() override { return ticks - lastInput; }
  void RunJob(const schedule::Job& job) override {
    const Seconds local = LocalOf(utc) % kDay;
    journal.push_back("run " + job.name + " " + schedule::TimeText({int(local / 3600), int(local % 3600 / 60)}) +
                      ":" + std::to_string(local % 60));
  }
  bool NoticeShown() override { return false; }
  void AnswerNotice() override {}
  void ShowCaption(const std::string& caption) override {
    if (!caption.empty()) journal.push_back(caption);
  }
  void ReportMissed(const std::string& text) override { journal.push_back(text); }
  void Pass(Seconds seconds, bool asleep) {
    ticks += seconds * 1000;
    utc += seconds;
    if (!asleep) awake += seconds * 1000;
  }
};

// Programs that end when the machine's ticks reach `end`.
struct FakePrograms : schedule::Programs {
  FakePrograms(const FakeMachine& machine, std::int64_t end) : machine(machine), end(end) {}
  bool Running() override { return machine.ticks < end; }
  const FakeMachine& machine;
  std::int64_t end;
};

// Load counters that a test drives (shared): a busy second at full use, no
// network.
struct FakeLoad : schedule::LoadSampler {
  struct Counters {
    bool busy = false, ticking = false;  // ticking: a second passes at each reading
    int reads = 0;
    schedule::ProcessorTimes times;
    void Pass(Seconds s) { times.total += s * 1000, times.idle += busy ? 0 : s * 1000; }
  };
  explicit FakeLoad(std::shared_ptr<Counters> c) : counters(std::move(c)) {}
  std::optional<schedule::ProcessorTimes> Processor() override {
    if (++counters->reads, counters->ticking) counters->Pass(1);
    return counters->times;
  }
  bool Interfaces(std::vector<std::uint64_t>& ids) override { return ids.clear(), true; }
  std::optional<std::uint64_t> Octets(std::uint64_t) override { return std::nullopt; }
  std::shared_ptr<Counters> counters;
};

}  // namespace testing_support
