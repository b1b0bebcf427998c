#include "platform/core/property_list_text.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void appendUtf16Unit(char16_t unit, Bytes& out) {
  out.push_back(static_cast<std::uint8_t>(unit >> 8));
  out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
}

bool isHighSurrogate(char32_t u) noexcept { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char32_t u) noexcept { return u >= 0xDC00 && u <= 0xDFFF; }

// Decodes one UTF-8 sequence at text[i], advancing i. Overlong forms,
// surrogates and values past U+10FFFF are malformed and read as U+FFFD.
char32_t decodeUtf8(std::string_view text, std::size_t& i) noexcept {
  const auto lead = static_cast<std::uint8_t>(text[i++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t c;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return kReplacement;
    const auto next = static_cast<std::uint8_t>(text[i]);
    if ((next & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (next & 0x3F);
    ++i;
  }
  if (c < minimum || c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c)) return kReplacement;
  return c;
}

}  // namespace

bool isAscii(std::string_view text) noexcept {
  for (char c : text) {
    if (static_cast<std::uint8_t>(c) >= 0x80) return false;
  }
  return true;
}

void appendUtf8FromUtf16BigEndian(std::span<const std::uint8_t> utf16, std::string& out) {
  const std::size_t units = utf16.size() / 2;
  out.reserve(out.size() + units);
  auto unitAt = [&](std::size_t k) -> char32_t { return (char32_t{utf16[2 * k]} << 8) | utf16[2 * k + 1]; };
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t unit = unitAt(k);
    if (isHighSurrogate(unit) && k + 1 < units && isLowSurrogate(unitAt(k + 1))) {
      appendUtf8(0x10000 + ((unit - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00), out);
      ++k;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(kReplacement, out);
    } else {
      appendUtf8(unit, out);
    }
  }
}

std::string wellFormedUtf8(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) appendUtf8(decodeUtf8(text, i), out);
  return out;
}

std::size_t appendUtf16BigEndianFromUtf8(std::string_view utf8, Bytes& out) {
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const char32_t c = decodeUtf8(utf8, i);
    if (c >= 0x10000) {
      appendUtf16Unit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), out);
      appendUtf16Unit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), out);
      units += 2;
    } else {
      appendUtf16Unit(static_cast<char16_t>(c), out);
      ++units;
    }
  }
  return units;
}

}  // namespace platform
