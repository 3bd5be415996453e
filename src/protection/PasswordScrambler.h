// The form in which the protection password is stored: a reversible
// scrambling with a fixed key and a random starting value, written as
// capital hexadecimal pairs. It keeps the password out of the settings in
// plain text; it is not a cipher.
#pragma once
#include <string>

namespace protection {

// The key both the loading and the saving of the settings pass.
inline const std::string ScrambleKey = "mildtern";

// Where the starting value of a scrambled text comes from.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Seeds the generator afresh; called once before every scrambling.
  virtual void Seed() = 0;
  // A value drawn uniformly from 0 to 255.
  virtual int Next() = 0;
};

// The program's source: seeded from the performance counter (the tick count
// when there is none). Win32 only.
RandomSource& ProgramRandom();

// Mode "E" scrambles `data`, mode "D" unscrambles it; any other mode (the
// lowercase letters included) gives the empty text. The key must not be
// empty. Unscrambling a text with a pair that is not hexadecimal, or of
// fewer than three characters, fails with ui::Error "'$<pair>' is not a
// valid integer value".
std::string ScramblePassword(const std::string& mode, const std::string& data,
                             const std::string& key, RandomSource& random = ProgramRandom());

}  // namespace protection
