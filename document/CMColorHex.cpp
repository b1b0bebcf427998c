#include "document/CMColorHex.h"

#include <cstdint>
#include <limits>

#include "platform/core/numeric.h"
#include "platform/core/string_utilities.h"

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int byteOf(double component) { return platform::saturatingTruncate<int>(component * 255.99998474121094); }

}  // namespace

// The string scanner's unsigned hexadecimal scan: saturates at 32 bits rather than wrapping.
std::uint32_t scanHexNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  // "0x" counts as a prefix only when a digit follows; otherwise its "0" is the number.
  const bool prefixed = i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
                        hexDigit(text[i + 2]) >= 0;
  if (prefixed) i += 2;
  std::uint64_t value = 0;
  for (; i < text.size() && hexDigit(text[i]) >= 0; ++i) {
    value = value * 16 + static_cast<std::uint64_t>(hexDigit(text[i]));
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
  }
  return static_cast<std::uint32_t>(value);
}

platform::Color colorFromHexRGB(std::optional<std::string_view> text) {
  const std::uint32_t value = text ? scanHexNumber(*text) : 0;
  return platform::Color::calibrated(((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                                     (value & 0xFF) / 255.0, 1);
}

std::optional<std::string> hexRGBFromColor(const platform::Color& color) {
  const std::optional<platform::Color> rgb = color.usingRGBSpace();
  if (!rgb) return std::nullopt;
  return platform::formatString("#%02x%02x%02x", byteOf(rgb->red()), byteOf(rgb->green()), byteOf(rgb->blue()));
}
