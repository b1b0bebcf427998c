#include "platform/core/string_conversions.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/core/numeric.h"

namespace platform {
namespace {

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Foundation skips white space and newlines before a number.
std::string_view skipBlanks(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f'))
    ++i;
  return text.substr(i);
}

template <class T>
T stringIntegral(std::string_view text) noexcept {
  text = skipBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  T value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    T digit = text[i] - '0';
    if (negative) {
      if (value < (std::numeric_limits<T>::min() + digit) / 10) return std::numeric_limits<T>::min();
      value = value * 10 - digit;
    } else {
      if (value > (std::numeric_limits<T>::max() - digit) / 10) return std::numeric_limits<T>::max();
      value = value * 10 + digit;
    }
  }
  return value;
}

}  // namespace

std::size_t scanDouble(std::string_view text, double& value) noexcept {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t mantissaStart = i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  std::size_t end = i;
  // An exponent counts only when digits follow it: "1e" reads as 1.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      end = j;
    }
  }
  double magnitude = 0;
  const char* first = text.data() + mantissaStart;
  const char* last = text.data() + end;
  // from_chars rejects a leading '+' and parses in the C locale.
  if (first != last && *first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Tell overflow from underflow by the sign of the exponent.
    bool tiny = false;
    for (const char* p = first; p != last; ++p) {
      if (*p == 'e' || *p == 'E') {
        tiny = p + 1 != last && p[1] == '-';
        break;
      }
    }
    magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (ec != std::errc()) {
    return 0;
  }
  (void)ptr;
  value = negative ? -magnitude : magnitude;
  return end;
}

double stringDoubleValue(std::string_view text) noexcept {
  double value = 0;
  return scanDouble(skipBlanks(text), value) ? value : 0.0;
}

std::optional<double> wholeNumberValue(std::string_view text) noexcept {
  text = skipBlanks(text);
  double value = 0;
  const std::size_t read = scanDouble(text, value);
  if (read == 0 || !skipBlanks(text.substr(read)).empty()) return std::nullopt;
  return value;
}

float stringFloatValue(std::string_view text) noexcept { return static_cast<float>(stringDoubleValue(text)); }

std::int32_t stringIntValue(std::string_view text) noexcept { return stringIntegral<std::int32_t>(text); }

std::int64_t stringIntegerValue(std::string_view text) noexcept { return stringIntegral<std::int64_t>(text); }

bool stringBoolValue(std::string_view text) noexcept {
  text = skipBlanks(text);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  while (i < text.size() && text[i] == '0') ++i;
  if (i >= text.size()) return false;
  char c = text[i];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::string formatDouble(double value) {
  if (std::isnan(value)) value = 0;
  if (std::isinf(value)) value = value > 0 ? std::numeric_limits<double>::max() : std::numeric_limits<double>::lowest();
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;  // 32 bytes always hold the shortest form of a double
  return std::string(buffer, end);
}

}  // namespace platform
