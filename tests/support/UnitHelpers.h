// Helpers several suites share: a random source that always answers the
// same value, and the text of the error a call raises.
#pragma once
#include <string>

#include "protection/PasswordScrambler.h"
#include "ui/Error.h"

namespace testing_support {

class FixedRandom : public protection::RandomSource {
 public:
  explicit FixedRandom(int value = 0) : value(value) {}
  void Seed() override { ++seeds; }
  int Next() override { return value; }
  int value;
  int seeds = 0;
};

// What `call` raises as a ui::Error, or "no error".
template <class Call>
std::string ErrorOf(Call&& call) {
  try {
    call();
  } catch (const ui::Error& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace testing_support
