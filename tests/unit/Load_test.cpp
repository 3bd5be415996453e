// The load from two readings of the platform's counters, and how a rate reads.
#include "schedule/Load.h"

#include <gtest/gtest.h>

namespace {

TEST(Load, ComesFromTwoReadingsWhateverTheCountersDoAndReadsInItsUnit) {
  const struct {
    const char* what;
    schedule::LoadReading earlier, later;
    std::int64_t ms, percent, rate;
  } cases[] = {
      {"a quarter busy", {100, 1000, {{1, 500}, {2, 0}}}, {850, 2000, {{1, 1500}, {2, 1048}}}, 1000, 25, 2048},
      {"over two seconds", {0, 0, {{1, 0}}}, {0, 400, {{1, 4000}}}, 2000, 100, 2000},
      {"an adapter reset", {0, 0, {{1, 9000}, {2, 0}}}, {100, 100, {{1, 10}, {2, 300}}}, 1000, 0, 300},
      {"an interface came, another went", {0, 0, {{1, 100}}}, {50, 100, {{2, 7000}}}, 1000, 50, 0},
      {"processor counters gone back", {500, 1000, {}}, {400, 900, {}}, 1000, 0, 0},
      {"no time between them", {0, 0, {{1, 0}}}, {0, 0, {{1, 5}}}, 0, 0, 0},
      {"a huge jump", {0, 0, {{1, 0}}}, {0, 0, {{1, 1ull << 62}}}, 1000, 0, 1ll << 62},
  };
  for (const auto& c : cases) {
    const schedule::Load load = schedule::LoadBetween(c.earlier, c.later, c.ms);
    EXPECT_EQ((std::pair<std::int64_t, std::int64_t>(load.percent, load.bytesPerSecond)), std::pair(c.percent, c.rate)) << c.what;
  }
  const std::pair<std::uint64_t, const char*> rates[] = {{1023, "1023 B/s"}, {1024, "1 KB/s"}, {1536, "1.5 KB/s"},
                                                        {51200, "50 KB/s"}, {2202009, "2.1 MB/s"}, {10480000, "10 MB/s"}};
  for (const auto& [rate, text] : rates) EXPECT_EQ(schedule::RateText(rate), text);
}

}  // namespace
