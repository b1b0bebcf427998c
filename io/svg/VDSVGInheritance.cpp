#include "io/svg/VDSVGInheritance.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "io/svg/VDSVGLength.h"
#include "platform/core/string_conversions.h"

namespace {

constexpr std::array<std::string_view, 16> kInherited{
    "fill",           "fill-opacity",     "stroke",          "stroke-width", "stroke-opacity", "stroke-dasharray",
    "stroke-dashoffset", "stroke-linecap", "stroke-linejoin", "color",        "font-family",    "font-size",
    "font-weight",    "font-style",       "text-anchor",     "visibility"};

bool inherits(std::string_view key) { return std::find(kInherited.begin(), kInherited.end(), key) != kInherited.end(); }

}  // namespace

void setSVGAttribute(const platform::DictRef& result, std::string_view key, const platform::Value& own) {
  if (own.isString() && own.string() == "inherit") return;
  if (key == "font-size" && own.isString()) {
    // Held as a number of user units, against which the sizes inside are taken; an invalid size keeps the outer one.
    const platform::Value* outer = result->find("font-size");
    const double inherited = outer ? SVGLength(outer->string(), {}).value_or(kSVGInitialFontSize) : kSVGInitialFontSize;
    if (const std::optional<double> size = SVGFontSize(own.string(), inherited)) {
      result->set(key, platform::formatDouble(*size));
    }
    return;
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
