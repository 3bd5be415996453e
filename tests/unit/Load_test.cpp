// The load second by second from the platform's counters, and how a rate reads.
#include "schedule/Load.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Up = std::map<std::uint64_t, std::uint64_t>;  // the interfaces up, by id

struct Machine : schedule::LoadSampler {
  schedule::ProcessorTimes times;
  Up up;
  bool unlisted = false;  // the interfaces cannot be listed
  int lists = 0, reads = 0;
  std::optional<schedule::ProcessorTimes> Processor() override { return times; }
  bool Interfaces(std::vector<std::uint64_t>& ids) override {
    if (++lists, unlisted) return false;
    ids.clear();
    for (const auto& [id, octets] : up) ids.push_back(id);
    return true;
  }
  std::optional<std::uint64_t> Octets(std::uint64_t id) override {
    ++reads;
    const auto found = up.find(id);
    return found == up.end() ? std::nullopt : std::optional(found->second);
  }
};

TEST(Load, ReadsEachSecondAtTheLeastCostAndNeverCallsASecondQuietOnAGuess) {
  struct Second {
    std::uint64_t busyMs;  // of the processor's 1000
    Up up;
    std::uint64_t rate;
    int lists, reads;  // the sampler's calls in this second
    std::int64_t ms = 1000;
    bool unlisted = false;
  };
  const struct {
    const char* what;
    Up up;
    bool unlisted;
    std::vector<Second> seconds;
  } cases[] = {
      {"listed once, read one by one", {{1, 0}, {2, 0}}, false,
       {{0, {{1, 500}, {2, 100}}, 600, 0, 2}, {50, {{1, 700}, {2, 100}}, 200, 0, 2}}},
      {"a busy second reads no network, the next counts its bytes too", {{1, 0}}, false,
       {{0, {{1, 100}}, 100, 0, 1}, {500, {{1, 400}}, 100, 0, 0}, {0, {{1, 1000}}, 900, 0, 1}}},
      {"an interface gone: listed again at once, the new one counted from the next second", {{1, 0}, {2, 0}}, false,
       {{0, {{1, 100}, {3, 50}}, 100, 1, 4}, {0, {{1, 100}, {3, 250}}, 200, 0, 2}}},
      {"an adapter reset adds nothing", {{1, 9000}}, false, {{0, {{1, 10}}, 0, 0, 1}, {0, {{1, 310}}, 300, 0, 1}}},
      {"not listed: tried again each second", {{1, 0}}, true,
       {{0, {{1, 100}}, 0, 1, 0, 1000, true}, {0, {{1, 200}}, 0, 1, 1}, {0, {{1, 500}}, 300, 0, 1}}},
      {"listed again after a minute: one come up", {{1, 0}}, false,
       {{0, {{1, 59000}}, 1000, 0, 1, 59000}, {0, {{1, 60000}, {2, 5}}, 1000, 1, 2}, {0, {{1, 61000}, {2, 1005}}, 2000, 0, 2}}},
      {"a huge jump", {{1, 0}}, false, {{0, {{1, 1ull << 62}}, 1ull << 62, 0, 1}}},
  };
  constexpr schedule::LoadLimits kLimits{10, 1000};
  for (const auto& c : cases) {
    auto owned = std::make_unique<Machine>();
    Machine& machine = *owned;
    machine.up = c.up, machine.unlisted = c.unlisted;
    schedule::LoadMeter meter(std::move(owned));
    for (std::size_t i = 0; i < c.seconds.size(); ++i) {
      const Second& s = c.seconds[i];
      machine.times.total += 1000, machine.times.idle += 1000 - s.busyMs;
      machine.up = s.up, machine.unlisted = s.unlisted, machine.lists = machine.reads = 0;
      const schedule::Load load = meter.Next(s.ms, kLimits);
      EXPECT_EQ(std::tuple(load.percent, load.bytesPerSecond, machine.lists, machine.reads),
                std::tuple(static_cast<int>(s.busyMs / 10), s.rate, s.lists, s.reads))
          << c.what << ", second " << i + 1;
    }
  }
  const std::pair<std::uint64_t, const char*> rates[] = {{1023, "1023 B/s"}, {1024, "1 KB/s"}, {1536, "1.5 KB/s"},
                                                        {51200, "50 KB/s"}, {2202009, "2.1 MB/s"}, {10480000, "10 MB/s"}};
  for (const auto& [rate, text] : rates) EXPECT_EQ(schedule::RateText(rate), text);
}

}  // namespace
