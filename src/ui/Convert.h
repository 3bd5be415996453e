// The program's one conversion of text to an integer: the message time of the
// notice, the settings' numbers, and the pairs of a scrambled password all
// go through it, so they accept and refuse the same texts.
#pragma once
#include <cstdint>
#include <string>

namespace ui {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal
// digits (either case) after "$", "x" or "0x". The sign applies to either
// kind, so "-$10" is -16. Anything else, an empty text, or a value outside
// -2147483648..2147483647 (hexadecimal ones included: "$FFFFFFFF" is not -1)
// fails with ui::Error "'<text>' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);

}  // namespace ui
