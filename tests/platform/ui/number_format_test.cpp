// Number fields' formatting and parsing, against values worked out by hand.

#include "platform/ui/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace platform {
namespace {

TEST(NumberFormat, TrimsZerosDownToTheMinimumFractionDigits) {
  NumberFormat format;
  format.minimumFractionDigits = 1;
  format.maximumFractionDigits = 3;
  EXPECT_EQ(format.format(2), "2.0");
  EXPECT_EQ(format.format(2.5), "2.5");
  EXPECT_EQ(format.format(2.12345), "2.123");
  EXPECT_EQ(format.format(-0.0001), "-0.0");
  format.minimumFractionDigits = 0;
  EXPECT_EQ(format.format(3.0004), "3");
  EXPECT_EQ(format.format(-0.0001), "0");
  EXPECT_EQ(format.format(1e300).size(), 301u);  // every digit, no exponent
}

TEST(NumberFormat, OutOfRangeDigitCountsAndNonFiniteValues) {
  NumberFormat format;
  format.minimumFractionDigits = 9;
  format.maximumFractionDigits = -4;  // clamped to 0, and the minimum with it
  EXPECT_EQ(format.format(7.6), "8");
  EXPECT_EQ(format.format(std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(format.format(std::nan("")), "");
}

TEST(NumberFormat, ParsesWholeNumbersWithAnOptionalSuffixAndClamps) {
  NumberFormat format;
  format.suffix = " px";
  format.minimum = -10;
  format.maximum = 10;
  EXPECT_EQ(format.parse("4.5"), 4.5);
  EXPECT_EQ(format.parse(" 4.5 px "), 4.5);
  EXPECT_EQ(format.parse("4.5px"), 4.5);
  EXPECT_EQ(format.parse("+3"), 3);
  EXPECT_EQ(format.parse("-30"), -10);
  EXPECT_EQ(format.parse("1e3"), std::nullopt);  // fixed notation only, as typed in a field
  EXPECT_EQ(format.parse("4.5 cm"), std::nullopt);
  EXPECT_EQ(format.parse("px"), std::nullopt);
  EXPECT_EQ(format.parse(""), std::nullopt);
  EXPECT_EQ(format.parse("nan"), std::nullopt);
  EXPECT_EQ(format.format(*format.parse("9.999")), "10 px");
}

}  // namespace
}  // namespace platform
