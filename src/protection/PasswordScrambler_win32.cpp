// The scrambler's starting values on Windows: a generator seeded afresh from
// the performance counter (the tick count when there is none) for every
// scrambling, so no sequence carries over from one saved password to the next.
#include <windows.h>

#include <cstdint>
#include <random>

#include "protection/PasswordScrambler.h"

namespace protection {

namespace {

class PerformanceCounterRandom : public RandomSource {
 public:
  void Seed() override {
    LARGE_INTEGER counter;
    generator_.seed(QueryPerformanceCounter(&counter) ? static_cast<std::uint32_t>(counter.QuadPart)
                                                      : GetTickCount());
  }
  int Next() override { return std::uniform_int_distribution<int>(0, 255)(generator_); }

 private:
  std::mt19937 generator_;
};

}  // namespace

RandomSource& ProgramRandom() {
  static PerformanceCounterRandom random;
  return random;
}

}  // namespace protection
