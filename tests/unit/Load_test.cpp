// The load from two readings of the platform's counters, and how a rate reads.
#include "schedule/Load.h"

#include <gtest/gtest.h>

namespace {

using schedule::LoadReading;

TEST(Load, ComesFromTwoReadingsWhateverTheCountersDo) {
  const struct {
    const char* what;
    LoadReading earlier, later;
    std::int64_t ms;
    int percent;
    std::uint64_t rate;
  } cases[] = {
      {"a quarter busy, two interfaces", {100, 1000, {{1, 500}, {2, 0}}}, {850, 2000, {{1, 1500}, {2, 1048}}}, 1000, 25,
       2048},
      {"over two seconds", {0, 0, {{1, 0}}}, {0, 400, {{1, 4000}}}, 2000, 100, 2000},
      {"an adapter reset: its counter went back", {0, 0, {{1, 9000}, {2, 0}}}, {100, 100, {{1, 10}, {2, 300}}}, 1000,
       0, 300},
      {"an interface came, another went", {0, 0, {{1, 100}}}, {50, 100, {{2, 7000}}}, 1000, 50, 0},
      {"processor counters that did not move or went back", {500, 1000, {}}, {400, 900, {}}, 1000, 0, 0},
      {"idle counted above the total", {0, 0, {}}, {300, 200, {}}, 1000, 0, 0},
      {"no time between them", {0, 0, {{1, 0}}}, {0, 0, {{1, 5}}}, 0, 0, 0},
      {"a counter's huge jump", {0, 0, {{1, 0}}}, {0, 0, {{1, ~0ull}}}, 1000, 0, ~0ull},
  };
  for (const auto& c : cases) {
    const schedule::Load load = schedule::LoadBetween(c.earlier, c.later, c.ms);
    EXPECT_EQ(load.percent, c.percent) << c.what;
    EXPECT_EQ(load.bytesPerSecond, c.rate) << c.what;
  }
}

TEST(Load, RatesReadInTheirUnit) {
  const struct {
    std::uint64_t rate;
    const char* text;
  } cases[] = {{0, "0 B/s"},        {1023, "1023 B/s"},       {1024, "1 KB/s"},       {51200, "50 KB/s"},
               {1536, "1.5 KB/s"},  {2202009, "2.1 MB/s"},   {10480000, "10 MB/s"}, {~0ull, "17179869184 GB/s"}};
  for (const auto& c : cases) EXPECT_EQ(schedule::RateText(c.rate), c.text) << c.rate;
}

}  // namespace
