// Text to integer conversion.
#include "ui/Convert.h"

#include "ui/Error.h"

namespace ui {

namespace {

// The digit's value, or -1 when it is no digit of `base`.
int DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  return value < base ? value : -1;
}

}  // namespace

std::int32_t StrToInt(const std::string& text) {
  const auto fail = [&text] { return Error("'" + text + "' is not a valid integer value"); };
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) throw fail();
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) throw fail();
  // Refused as soon as it passes the limit, the magnitude never overflows.
  const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) throw fail();
    magnitude = magnitude * base + digit;
    if (magnitude > limit) throw fail();
  }
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                            : static_cast<std::int64_t>(magnitude));
}

}  // namespace ui
