#pragma once

// Foundation's lenient readings of numbers from strings, in the C locale.
// Leading blanks are skipped; reading stops at the first character that does
// not fit, and a string with no number reads as 0.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// [+-]digits[.digits][e[+-]digits]: "10%" is 10, "abc" is 0. Overflow gives
// plus or minus infinity.
double stringDoubleValue(std::string_view text) noexcept;
float stringFloatValue(std::string_view text) noexcept;
// [+-]digits, saturating: "1.9" is 1.
std::int32_t stringIntValue(std::string_view text) noexcept;
std::int64_t stringIntegerValue(std::string_view text) noexcept;
// True on a leading Y, y, T or t, or a digit 1-9 after an optional sign and zeros.
bool stringBoolValue(std::string_view text) noexcept;

// The whole text, blanks around it aside, read as one number of that grammar ("1e9" is a billion): nothing when
// the text holds no number or anything after it. Overflow gives plus or minus infinity.
std::optional<double> wholeNumberValue(std::string_view text) noexcept;

// Parses one number at the start of text with the grammar above (no blank
// skipping). Returns the characters consumed, 0 when there is no number.
std::size_t scanDouble(std::string_view text, double& value) noexcept;

// The shortest text that reads back as exactly this value: integers without
// ".0", C locale. NaN is written as 0 and infinities as the largest finite value.
std::string formatDouble(double value);

}  // namespace platform
