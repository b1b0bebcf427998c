#include "platform/core/string_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "platform/core/numeric.h"
#include "platform/core/value.h"

namespace platform {
namespace {

TEST(StringConversions, FloatReadsTheLeadingNumberOnly) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {
      {"12.5", 12.5},  {"10%", 10},       {"abc", 0},       {"", 0},         {"  \t\n7", 7},   {".5", 0.5},
      {"-.5", -0.5},   {"+3", 3},         {"1e3", 1000},    {"1E-2", 0.01},  {"1e", 1},        {"1e+", 1},
      {"2.5e2px", 250}, {"-0", 0},        {"5.", 5},        {"--5", 0},      {"+-5", 0},       {"x1", 0},
      {"1,5", 1},      {"0x10", 0},       {"1e-999", 0},    {" - 3", 0},     {"007.25", 7.25},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(stringDoubleValue(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(stringFloatValue(c.text), static_cast<float>(c.expected)) << '"' << c.text << '"';
  }
  EXPECT_TRUE(std::signbit(stringDoubleValue("-0")));
}

TEST(StringConversions, FloatOverflowGivesInfinityOfTheRightSign) {
  EXPECT_EQ(stringDoubleValue("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(stringDoubleValue("-1e999"), -std::numeric_limits<double>::infinity());
  // Fits a double but not a float.
  EXPECT_EQ(stringFloatValue("1e300"), std::numeric_limits<float>::infinity());
}

TEST(StringConversions, IntegersStopAtTheFirstNonDigitAndSaturate) {
  EXPECT_EQ(stringIntValue("1.9"), 1);
  EXPECT_EQ(stringIntValue("-1.9"), -1);
  EXPECT_EQ(stringIntValue("  42px"), 42);
  EXPECT_EQ(stringIntValue("+17"), 17);
  EXPECT_EQ(stringIntValue("1e3"), 1);
  EXPECT_EQ(stringIntValue("abc"), 0);
  EXPECT_EQ(stringIntValue("2147483647"), INT32_MAX);
  EXPECT_EQ(stringIntValue("2147483648"), INT32_MAX);
  EXPECT_EQ(stringIntValue("-2147483648"), INT32_MIN);
  EXPECT_EQ(stringIntValue("-2147483649"), INT32_MIN);
  EXPECT_EQ(stringIntValue("99999999999999999999999"), INT32_MAX);
  EXPECT_EQ(stringIntegerValue("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(stringIntegerValue("9223372036854775808"), INT64_MAX);
  EXPECT_EQ(stringIntegerValue("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(stringIntegerValue("-9223372036854775809"), INT64_MIN);
  EXPECT_EQ(stringIntegerValue("4294967296"), 4294967296LL);
}

TEST(StringConversions, IntegerParsingMatchesWideArithmeticOnRandomDigits) {
  std::mt19937_64 random(7);
  for (int n = 0; n < 2000; ++n) {
    int digits = 1 + static_cast<int>(random() % 12);
    std::string text = random() % 2 ? "-" : "";
    for (int i = 0; i < digits; ++i) text += static_cast<char>('0' + random() % 10);
    long double exact = std::strtold(text.c_str(), nullptr);
    long double clamped = std::fmin(std::fmax(exact, static_cast<long double>(INT32_MIN)), INT32_MAX);
    EXPECT_EQ(stringIntValue(text), static_cast<std::int32_t>(clamped)) << text;
  }
}

TEST(StringConversions, BoolLooksAtTheFirstSignificantCharacter) {
  for (const char* yes : {"YES", "yes", "Y", "true", "True", "t", "1", "0001", "9", " +1", "-1", "  TRUE"})
    EXPECT_TRUE(stringBoolValue(yes)) << yes;
  for (const char* no : {"NO", "no", "false", "0", "000", "", " ", "N", "abc", "0x1", "-0", "+"})
    EXPECT_FALSE(stringBoolValue(no)) << no;
}

TEST(StringConversions, FormattedDoublesReadBackExactly) {
  std::mt19937_64 random(11);
  for (int n = 0; n < 20000; ++n) {
    std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    std::string text = formatDouble(value);
    double back = 0;
    ASSERT_EQ(scanDouble(text, back), text.size()) << text;
    EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
  }
}

TEST(StringConversions, FormatWritesIntegersPlainlyAndNeverNaNOrInfinity) {
  EXPECT_EQ(formatDouble(3), "3");
  EXPECT_EQ(formatDouble(-120), "-120");
  EXPECT_EQ(formatDouble(0.1), "0.1");
  EXPECT_EQ(formatDouble(std::nan("")), "0");
  double back = 0;
  std::string huge = formatDouble(std::numeric_limits<double>::infinity());
  scanDouble(huge, back);
  EXPECT_EQ(back, std::numeric_limits<double>::max());
  scanDouble(formatDouble(-std::numeric_limits<double>::infinity()), back);
  EXPECT_EQ(back, std::numeric_limits<double>::lowest());
}

TEST(SaturatingTruncate, TruncatesTowardZeroAndClamps) {
  EXPECT_EQ(saturatingTruncate<std::int32_t>(2.9), 2);
  EXPECT_EQ(saturatingTruncate<std::int32_t>(-2.9), -2);
  EXPECT_EQ(saturatingTruncate<std::int32_t>(1e10), INT32_MAX);
  EXPECT_EQ(saturatingTruncate<std::int32_t>(-1e10), INT32_MIN);
  EXPECT_EQ(saturatingTruncate<std::int32_t>(2147483647.9), INT32_MAX);
  EXPECT_EQ(saturatingTruncate<std::int32_t>(std::nan("")), 0);
  EXPECT_EQ(saturatingTruncate<std::int32_t>(std::numeric_limits<double>::infinity()), INT32_MAX);
  EXPECT_EQ(saturatingTruncate<std::int64_t>(9.3e18), INT64_MAX);
  EXPECT_EQ(saturatingTruncate<std::int64_t>(-9.3e18), INT64_MIN);
  EXPECT_EQ(saturatingTruncate<std::int64_t>(-9223372036854775808.0), INT64_MIN);
  EXPECT_EQ(saturatingTruncate<std::uint8_t>(-3.0), 0);
  EXPECT_EQ(saturatingTruncate<std::uint8_t>(255.9), 255);
  EXPECT_EQ(saturatingTruncate<std::uint8_t>(300.0), 255);
}

}  // namespace
}  // namespace platform
