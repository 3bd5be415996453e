// The integer conversion against a reference written from its rules: leading
// spaces, an optional sign, decimal digits or hexadecimal ones after "$",
// "x" or "0x", and a value in the signed 32-bit range. Every other text fails
// with the conversion error naming the whole text.
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "Check.h"
#include "ui/Convert.h"
#include "ui/Error.h"

namespace {

std::optional<std::int32_t> Reference(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                            : static_cast<std::int64_t>(magnitude));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> expected = Reference(text);
  try {
    const std::int32_t value = ui::StrToInt(text);
    FUZZ_CHECK(expected && value == *expected);
  } catch (const ui::Error& error) {
    FUZZ_CHECK(!expected);
    // Compared as what() is read, up to a NUL.
    const std::string message = "'" + text + "' is not a valid integer value";
    FUZZ_CHECK(std::strcmp(error.what(), message.c_str()) == 0);
  }
  return 0;
}
