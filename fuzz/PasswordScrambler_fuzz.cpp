// The stored password format. The starting value and the key's length (1-16)
// come from the end, the key from the front (the program's key when nothing
// is left), and the rest is both a password to scramble and a stored text to
// unscramble.
//
// Scrambling gives 2 + 2n capital hexadecimal digits beginning with the
// starting value, and unscrambling them gives the password back, a NUL as
// code 255. Any stored text unscrambles to max(1, (length - 2) / 2)
// characters, the same in either letter case, or fails with the conversion
// error.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "Check.h"
#include "protection/PasswordScrambler.h"
#include "ui/Error.h"

namespace {

using protection::ScramblePassword;

class FixedRandom : public protection::RandomSource {
 public:
  explicit FixedRandom(int value) : value_(value) {}
  void Seed() override {}
  int Next() override { return value_; }

 private:
  int value_;
};

bool IsCapitalHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

std::optional<std::string> Unscramble(const std::string& text, const std::string& key) {
  FixedRandom unused(0);
  try {
    return ScramblePassword("D", text, key, unused);
  } catch (const ui::Error& error) {
    // what() ends at a NUL of the pair.
    const std::string_view what = error.what();
    FUZZ_CHECK(what.starts_with("'$"));
    FUZZ_CHECK(what.ends_with("' is not a valid integer value") || text.find('\0') != text.npos);
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int start = input.ConsumeIntegral<std::uint8_t>();
  std::string key = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(1, 16));
  if (key.empty()) key = protection::ScrambleKey;
  const std::string text = input.ConsumeRemainingBytesAsString();

  FixedRandom random(start);
  const std::string scrambled = ScramblePassword("E", text, key, random);
  FUZZ_CHECK(scrambled.size() == 2 + 2 * text.size());
  for (const char c : scrambled) FUZZ_CHECK(IsCapitalHex(c));
  char first[3];
  std::snprintf(first, sizeof first, "%02X", start);
  FUZZ_CHECK(scrambled.compare(0, 2, first) == 0);
  if (!text.empty()) {
    std::string expected = text;
    for (char& c : expected)
      if (c == '\0') c = '\xFF';
    FUZZ_CHECK(Unscramble(scrambled, key) == expected);
  }

  const std::optional<std::string> plain = Unscramble(text, key);
  if (plain) FUZZ_CHECK(plain->size() == (text.size() <= 4 ? 1 : (text.size() - 2) / 2));
  std::string lower = text;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  FUZZ_CHECK(Unscramble(lower, key) == plain);
  return 0;
}
