#include "io/svg/VDSVGLength.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>

#include "platform/core/string_conversions.h"
#include "platform/graphics/font.h"

namespace {

bool isSeparator(char c) { return c == ',' || std::isspace(static_cast<unsigned char>(c)); }

// The length of a unit in user units, or nothing for an unknown one.
std::optional<double> unitLength(std::string_view unit, const SVGLengthBasis& basis) {
  struct Unit {
    std::string_view name;
    double length;
  };
  static constexpr std::array<Unit, 6> kAbsolute{
      {{"px", 1}, {"in", 96}, {"cm", 96 / 2.54}, {"mm", 96 / 25.4}, {"pt", 96.0 / 72}, {"pc", 16}}};
  std::string lower(unit);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.empty()) return 1.0;
  if (lower == "%") return basis.percentBase / 100;
  if (lower == "em") return basis.fontSize;
  if (lower == "ex") return basis.fontSize / 2;
  for (const Unit& known : kAbsolute) {
    if (known.name == lower) return known.length;
  }
  return std::nullopt;
}

// The number and unit at the start of the text; `used` gets what they took.
std::optional<double> lengthAt(std::string_view text, const SVGLengthBasis& basis, std::size_t& used) {
  double value = 0;
  used = platform::scanDouble(text, value);
  if (used == 0) return std::nullopt;
  std::size_t end = used;
  while (end < text.size() && (std::isalpha(static_cast<unsigned char>(text[end])) || text[end] == '%')) ++end;
  const std::optional<double> unit = unitLength(text.substr(used, end - used), basis);
  used = end;
  if (!unit) return std::nullopt;
  return value * *unit;
}

}  // namespace

std::optional<double> SVGLength(std::string_view text, const SVGLengthBasis& basis) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  std::size_t used = 0;
  return lengthAt(text, basis, used);
}

std::vector<double> SVGLengthList(std::string_view text, const SVGLengthBasis& basis) {
  std::vector<double> lengths;
  while (true) {
    while (!text.empty() && isSeparator(text.front())) text.remove_prefix(1);
    std::size_t used = 0;
    const std::optional<double> length = lengthAt(text, basis, used);
    if (!length) return lengths;
    lengths.push_back(*length);
    text.remove_prefix(used);
  }
}

std::optional<double> SVGFontSize(std::string_view text, double inherited) {
  static constexpr std::array<std::string_view, 7> kKeywords{"xx-small", "x-small", "small",  "medium",
                                                             "large",    "x-large", "xx-large"};
  constexpr double kStep = 1.2, kMedium = 16;
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  std::optional<double> size;
  if (text == "larger") {
    size = inherited * kStep;
  } else if (text == "smaller") {
    size = inherited / kStep;
  } else if (const auto keyword = std::find(kKeywords.begin(), kKeywords.end(), text); keyword != kKeywords.end()) {
    size = kMedium * std::pow(kStep, static_cast<double>(keyword - kKeywords.begin()) - 3);
  } else {
    size = SVGLength(text, {inherited, inherited});
  }
  if (!size || !(*size > 0)) return std::nullopt;
  return SVGClampedFontSize(*size);
}

double SVGClampedFontSize(double size) {
  return std::clamp(size, platform::Font::kSmallestSize, platform::Font::kLargestSize);
}
