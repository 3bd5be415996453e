// The stored password format: fixed vectors, unscrambling of every accepted
// form, round trips, the error texts, and the mode table.
#include "protection/PasswordScrambler.h"

#include <gtest/gtest.h>

#include <string>

#include "support/UnitHelpers.h"

namespace {

using protection::ScrambleKey;
using protection::ScramblePassword;
using testing_support::FixedRandom;

std::string Unscramble(const std::string& text, const std::string& key = ScrambleKey) {
  FixedRandom unused;
  return ScramblePassword("D", text, key, unused);
}

// Each fixed vector but the empty one unscrambles back too.
TEST(ScramblePassword, ScramblesToTheStartingValueThenOnePairPerCharacter) {
  const struct {
    const char* plain;
    std::string key;
    int start;
    const char* scrambled;
  } cases[] = {
      {"", ScrambleKey, 0x5A, "5A"},
      {"A", ScrambleKey, 0x10, "103C"},
      {"secret password", ScrambleKey, 0xC7, "C756D25AA87A8BD924E835C458B343D5"},
      {"secret password", ScrambleKey, 0x00, "001EEA22F022F366B877839A769161B7"},
      {"\xFF\xFE\x01", ScrambleKey, 0xFF, "FF6D056A"},  // the first character after a start of 255
      {"abc", "k", 200, "C841C847"},
  };
  for (const auto& c : cases) {
    FixedRandom random(c.start);
    EXPECT_EQ(ScramblePassword("E", c.plain, c.key, random), c.scrambled) << c.plain;
    EXPECT_EQ(random.seeds, 1) << "seeded afresh for every scrambling";
    if (*c.plain) {  // a starting value alone is too short to unscramble
      EXPECT_EQ(Unscramble(c.scrambled, c.key), c.plain) << c.scrambled;
    }
  }
}

TEST(ScramblePassword, UnscramblesEveryOtherAcceptedForm) {
  const struct {
    const char* scrambled;
    const char* plain;
  } cases[] = {
      {"c756d25aa87a8bd924e835c458b343d5", "secret password"},
      {"C756D25aa87A8bd924E835C458B343D5", "secret password"},
      {"C756D25AA87A8BD924E835C458B343D57", "secret password"},
      {"103CF", "A"},
      {"103", "^"},
  };
  for (const auto& c : cases) EXPECT_EQ(Unscramble(c.scrambled), c.plain) << c.scrambled;
}

// The error names the first pair that is not hexadecimal, none when the text is too short.
TEST(ScramblePassword, ABadPairOrAShortTextFailsWithTheConversionError) {
  const struct {
    const char* scrambled;
    const char* pair;
  } cases[] = {
      {"", ""}, {"1", ""}, {"10", ""}, {"G03C", "G0"}, {"10G3", "G3"},
      {"103CZZ", "ZZ"}, {"10 3", " 3"}, {"103C-1", "-1"}, {" 103C", " 1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(testing_support::ErrorOf([&] { Unscramble(c.scrambled); }),
              std::string("'$") + c.pair + "' is not a valid integer value")
        << '"' << c.scrambled << '"';
}

TEST(ScramblePassword, OnlyTheCapitalModesDoAnything) {
  for (const char* mode : {"e", "d", "X", "", "EE", "DE", " E", "E "}) {
    FixedRandom random(0x10);
    EXPECT_EQ(ScramblePassword(mode, "103C", ScrambleKey, random), "") << '"' << mode << '"';
    EXPECT_EQ(random.seeds, 0) << mode;
  }
}

TEST(ScramblePassword, EveryCodeFrom1To254ComesBackWithAnyStartingValue) {
  std::string plain;
  for (int code = 1; code <= 254; ++code) plain += static_cast<char>(code);
  for (int start = 0; start <= 255; ++start) {
    FixedRandom random(start);
    const std::string scrambled = ScramblePassword("E", plain, ScrambleKey, random);
    ASSERT_EQ(scrambled.size(), 2 + 2 * plain.size());
    ASSERT_EQ(scrambled.find_first_not_of("0123456789ABCDEF"), std::string::npos) << scrambled;
    ASSERT_EQ(Unscramble(scrambled), plain) << "start " << start;
  }
}

// 0 and 255 scramble to the same value. Every value before them is tried
// (starting values and scrambled ones, 255 among them): both come back as
// 255, never as a NUL that no typed password could match.
TEST(ScramblePassword, Codes0And255BothComeBackAs255) {
  for (int start = 0; start <= 255; ++start) {
    for (int first = 0; first <= 255; ++first) {
      const char c = static_cast<char>(first);
      FixedRandom random(start);
      const std::string scrambled =
          ScramblePassword("E", std::string{c, '\0', '\xFF', c}, ScrambleKey, random);
      const char back = first == 0 ? '\xFF' : c;
      ASSERT_EQ(Unscramble(scrambled), (std::string{back, '\xFF', '\xFF', back}))
          << "start " << start << ", first " << first;
    }
  }
}

}  // namespace
