// The password scrambler with the program's own starting values: seeded
// afresh on every call, so saving the same password twice gives different
// texts, and every one of them unscrambles.
#include "protection/PasswordScrambler.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(ProgramRandom, EveryScramblingStartsAfreshAndUnscramblesBack) {
  const std::string password = "Tr0ub4dor&3";
  std::set<std::string> starts;
  for (int i = 0; i < 64; ++i) {
    const std::string scrambled =
        protection::ScramblePassword("E", password, protection::ScrambleKey);
    EXPECT_EQ(protection::ScramblePassword("D", scrambled, protection::ScrambleKey), password)
        << scrambled;
    starts.insert(scrambled.substr(0, 2));
  }
  EXPECT_GT(starts.size(), 8u) << "64 scramblings, hardly any different starting values";
}
