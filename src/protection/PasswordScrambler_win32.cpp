// The scrambler's starting values on Windows: a generator seeded afresh from
// the performance counter (the tick count when there is none) for every
// scrambling, so no sequence carries over from one saved password to the next.
#include <windows.h>

#include <cstdint>

#include "protection/PasswordScrambler.h"

namespace protection {

namespace {

// A 32-bit linear congruential generator whose values are its top byte: one
// step carries every bit of the counter into it. Only the starting value of
// a scrambling is drawn, so a larger generator would buy nothing but size.
class PerformanceCounterRandom : public RandomSource {
 public:
  void Seed() override {
    LARGE_INTEGER counter;
    state_ = QueryPerformanceCounter(&counter) ? static_cast<std::uint32_t>(counter.QuadPart) : GetTickCount();
  }
  int Next() override {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>(state_ >> 24);
  }

 private:
  std::uint32_t state_ = 0;
};

}  // namespace

RandomSource& ProgramRandom() {
  static PerformanceCounterRandom random;
  return random;
}

}  // namespace protection
