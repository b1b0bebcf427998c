#include "io/svg/VDSVGFont.h"

#include <vector>

#include "platform/core/string_conversions.h"
#include "platform/core/string_utilities.h"
#include "platform/graphics/font.h"

namespace {

constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;

// "'Liberation Sans', Arial, sans-serif" as its families, without quotes and blanks around them.
std::vector<std::string> familiesOf(std::string_view list) {
  std::vector<std::string> families;
  for (std::string family : platform::componentsSeparatedByString(list, ",")) {
    const auto blankOrQuote = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '"' || c == '\''; };
    while (!family.empty() && blankOrQuote(family.front())) family.erase(family.begin());
    while (!family.empty() && blankOrQuote(family.back())) family.pop_back();
    if (!family.empty()) families.push_back(family);
  }
  return families;
}

// CSS weights: keywords, and numbers from 1 to 1000; "bolder" and "lighter" step from the regular weight.
int weightOf(const platform::DictRef& attributes) {
  const std::string& weight = attributes->get("font-weight").string();
  if (weight == "bold" || weight == "bolder") return kBoldWeight;
  if (weight == "lighter") return 300;
  const int number = platform::stringIntValue(weight);
  return number >= 1 && number <= 1000 ? number : kNormalWeight;
}

}  // namespace

std::optional<std::string> SVGFontName(const platform::DictRef& attributes) {
  const int weight = weightOf(attributes);
  const std::string& style = attributes->get("font-style").string();
  const bool slanted = style == "italic" || style == "oblique";
  const double size = 12;
  const std::vector<std::string> families = familiesOf(attributes->get("font-family").string());
  if (families.empty()) {
    if (weight == kNormalWeight && !slanted) return std::nullopt;
    const std::optional<platform::Font> face = platform::Font::face("sans-serif", weight, slanted, size);
    return face ? std::optional<std::string>(face->fontName()) : std::nullopt;
  }
  // The family of the list the match is drawn from; the first one when the system draws its own default.
  const std::string& family = families[platform::Font::matchedFamilies(families, weight, slanted).family];
  if (const std::optional<platform::Font> face = platform::Font::face(family, weight, slanted, size)) {
    return face->fontName();
  }
  return platform::Font::substitute(family, weight, slanted, size).fontName();
}
