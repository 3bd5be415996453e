// Text to integer: the accepted forms, the range, and the exact error text.
#include "ui/Convert.h"

#include <gtest/gtest.h>

#include <string>

#include "support/UnitHelpers.h"
#include "ui/Error.h"

TEST(StrToInt, AcceptsDecimalAndPrefixedHexadecimalWithSignAndLeadingBlanks) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"0", 0}, {"15", 15}, {"007", 7}, {"+15", 15}, {"-15", -15}, {"-0", 0}, {"   42", 42},
      {"  -42", -42}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
      {"000000000000000000002147483647", 2147483647}, {"$10", 16}, {"$ff", 255}, {"$FF", 255},
      {"$aBc", 0xABC}, {"x1F", 31}, {"X1f", 31}, {"0x1F", 31}, {"0X1f", 31}, {"-$10", -16},
      {"+0x10", 16}, {" -x10", -16}, {"$7FFFFFFF", 2147483647}, {"-$80000000", INT32_MIN},
      {"$00000000FF", 255},
  };
  for (const auto& c : cases) {
    try {
      EXPECT_EQ(ui::StrToInt(c.text), c.value) << '"' << c.text << '"';
    } catch (const ui::Error& e) {
      ADD_FAILURE() << '"' << c.text << "\" refused: " << e.what();
    }
  }
}

TEST(StrToInt, RefusesEverythingElseNamingTheTextInTheError) {
  const char* cases[] = {
      "", " ", "-", "+", "$", "x", "0x", "-$", "abc", "15 ", "1 5", "- 5", "+-5", "--5", "\t5",
      "5\n", "1.5", "1e3", "$G", "$-1", "$ 1", "$$1", "0x0x1", "00x10", "10h", "2147483648",
      "-2147483649", "99999999999999999999", "$80000000", "$FFFFFFFF", "-$80000001", "$100000000",
      "\xB9",
  };
  for (const std::string text : cases)
    EXPECT_EQ(testing_support::ErrorOf([&] { ui::StrToInt(text); }), "'" + text + "' is not a valid integer value");
}
