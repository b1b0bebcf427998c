#include "io/svg/VDSVGInheritance.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "io/svg/VDSVGLength.h"
#include "platform/core/string_conversions.h"

namespace {

// SVG's initial font size ("medium").
constexpr double kMediumFontSize = 16;

constexpr std::array<std::string_view, 16> kInherited{
    "fill",           "fill-opacity",     "stroke",          "stroke-width", "stroke-opacity", "stroke-dasharray",
    "stroke-dashoffset", "stroke-linecap", "stroke-linejoin", "color",        "font-family",    "font-size",
    "font-weight",    "font-style",       "text-anchor",     "visibility"};

bool inherits(std::string_view key) { return std::find(kInherited.begin(), kInherited.end(), key) != kInherited.end(); }

// A font size relative to the outer one ("1.5em", "120%") as a number of user units.
std::optional<double> relativeFontSize(std::string_view own, const platform::DictRef& outer) {
  const bool relative = own.find('%') != std::string_view::npos || own.find("em") != std::string_view::npos ||
                        own.find("ex") != std::string_view::npos;
  if (!relative) return std::nullopt;
  const platform::Value* given = outer->find("font-size");
  const double base = given ? SVGLength(given->string(), {kMediumFontSize, kMediumFontSize}).value_or(kMediumFontSize)
                            : kMediumFontSize;
  return SVGLength(own, {base, base});
}

}  // namespace

void setSVGAttribute(const platform::DictRef& result, std::string_view key, const platform::Value& own) {
  if (own.isString() && own.string() == "inherit") return;
  if (key == "font-size" && own.isString()) {
    if (const std::optional<double> size = relativeFontSize(own.string(), result)) {
      result->set(key, platform::formatDouble(*size));
      return;
    }
  }
  result->set(key, own);
}

platform::DictRef SVGInheritedAttributes(const platform::DictRef& outer, const platform::DictRef& own) {
  const platform::DictRef inherited = outer ? outer->mutableCopy() : platform::Dictionary::make();
  inherited->remove("transform");
  for (const auto& [key, value] : *own) {
    if (inherits(key)) setSVGAttribute(inherited, key, value);
  }
  return inherited;
}
