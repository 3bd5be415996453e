// Password scrambling. Each value is the previous one plus the character,
// modulo 255, XORed with the next key byte; the first "previous" value is
// random, so the same password scrambles differently every time.
#include "protection/PasswordScrambler.h"

#include "ui/Convert.h"

namespace protection {

namespace {

std::string Hex2(int value) {
  static const char digits[] = "0123456789ABCDEF";
  return {digits[value >> 4], digits[value & 15]};
}

// Through the program's conversion, so lowercase digits are read as well.
int ReadPair(const std::string& text, std::size_t at) {
  return ui::StrToInt("$" + (at < text.size() ? text.substr(at, 2) : std::string()));
}

// The key's bytes in turn, first to last, then from the first again.
class KeyStream {
 public:
  explicit KeyStream(const std::string& key) : key_(key) {}
  int Next() {
    if (k_ == key_.size()) k_ = 0;
    return static_cast<unsigned char>(key_[k_++]);
  }

 private:
  const std::string& key_;
  std::size_t k_ = 0;
};

std::string Scramble(const std::string& plain, const std::string& key, RandomSource& random) {
  random.Seed();
  int prev = random.Next();
  std::string result = Hex2(prev);
  KeyStream keyBytes(key);
  for (const unsigned char c : plain) {
    prev = ((prev + c) % 255) ^ keyBytes.Next();
    result += Hex2(prev);
  }
  return result;
}

std::string Unscramble(const std::string& text, const std::string& key) {
  int prev = ReadPair(text, 0);
  std::string result;
  KeyStream keyBytes(key);
  // The first pair is read whatever the length (one digit in a text of
  // three); later ones only when complete, so a lone last digit is ignored.
  std::size_t at = 2;
  do {
    const int c = ReadPair(text, at);
    const int t = c ^ keyBytes.Next();
    int plain = t > prev ? t - prev : t + 255 - prev;
    // Codes 0 and 255 scramble alike. A password typed into an edit never
    // holds a NUL, so the value stands for 255; read as 0 it would make a
    // stored password unmatchable.
    if (plain == 0) plain = 255;
    result += static_cast<char>(plain);
    prev = c;
    at += 2;
  } while (text.size() > at + 1);
  return result;
}

}  // namespace

std::string ScramblePassword(const std::string& mode, const std::string& data,
                             const std::string& key, RandomSource& random) {
  if (mode == "E") return Scramble(data, key, random);
  if (mode == "D") return Unscramble(data, key);
  return {};
}

}  // namespace protection
