#include "io/svg/VDSVGColorValue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "io/svg/VDSVGColor.h"
#include "platform/core/string_conversions.h"

namespace {

struct Component {
  double value = 0;
  bool percent = false;
};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::string lowerCased(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "#" and 3, 4, 6 or 8 hexadecimal digits (lower case).
std::optional<SVGColorValue> hexColor(std::string_view digits) {
  std::vector<int> values;
  for (const char c : digits) {
    if (hexDigit(c) < 0) return std::nullopt;
    values.push_back(hexDigit(c));
  }
  const bool shortForm = values.size() == 3 || values.size() == 4;
  if (!shortForm && values.size() != 6 && values.size() != 8) return std::nullopt;
  const auto channel = [&](std::size_t i) {
    return shortForm ? values[i] * 17 : values[2 * i] * 16 + values[2 * i + 1];
  };
  const std::size_t channels = shortForm ? values.size() : values.size() / 2;
  return SVGColorValue{channel(0), channel(1), channel(2), channels == 4 ? channel(3) / 255.0 : 1.0};
}

// The arguments of a colour function: numbers, each perhaps a percentage, separated by commas, blanks or "/".
std::optional<std::vector<Component>> arguments(std::string_view text) {
  std::vector<Component> components;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == ',' || text[i] == '/')) {
      ++i;
    }
    if (i == text.size()) return components;
    Component component;
    const std::size_t used = platform::scanDouble(text.substr(i), component.value);
    if (used == 0 || !std::isfinite(component.value)) return std::nullopt;
    i += used;
    // An angle may carry its unit.
    if (text.substr(i, 3) == "deg") i += 3;
    if (i < text.size() && text[i] == '%') {
      component.percent = true;
      ++i;
    }
    components.push_back(component);
  }
}

int byteOf(double value) { return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0))); }

double alphaOf(const std::vector<Component>& components) {
  return components.size() < 4 ? 1 : std::clamp(components[3].value, 0.0, 1.0);
}

std::optional<SVGColorValue> rgbColor(const std::vector<Component>& c) {
  // The channels are all numbers or all percentages, and the alpha a number, as SVG 1.1 and CSS 3 have them.
  if (c[1].percent != c[0].percent || c[2].percent != c[0].percent || (c.size() == 4 && c[3].percent)) {
    return std::nullopt;
  }
  const auto channel = [](const Component& component) {
    return byteOf(component.percent ? component.value * 255 / 100 : component.value);
  };
  return SVGColorValue{channel(c[0]), channel(c[1]), channel(c[2]), alphaOf(c)};
}

std::optional<SVGColorValue> hslColor(const std::vector<Component>& c) {
  const double hue = std::fmod(std::fmod(c[0].value, 360.0) + 360.0, 360.0) / 60.0;
  const double saturation = std::clamp(c[1].value / 100, 0.0, 1.0);
  const double lightness = std::clamp(c[2].value / 100, 0.0, 1.0);
  const double chroma = (1 - std::fabs(2 * lightness - 1)) * saturation;
  const double second = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
  const double rgb[6][3] = {{chroma, second, 0}, {second, chroma, 0}, {0, chroma, second},
                            {0, second, chroma}, {second, 0, chroma}, {chroma, 0, second}};
  const double* sector = rgb[std::min(static_cast<int>(hue), 5)];
  const double base = lightness - chroma / 2;
  return SVGColorValue{byteOf((sector[0] + base) * 255), byteOf((sector[1] + base) * 255),
                       byteOf((sector[2] + base) * 255), alphaOf(c)};
}

}  // namespace

SVGPaintReference SVGPaintReferenceOf(std::string_view paint) {
  const std::size_t url = paint.find("url(");
  const std::size_t close = paint.find(')', url);
  if (url == std::string_view::npos || close == std::string_view::npos) return {};
  std::string_view inside = trimmed(paint.substr(url + 4, close - url - 4));
  if (inside.size() >= 2 && (inside.front() == '\'' || inside.front() == '"') && inside.back() == inside.front()) {
    inside = trimmed(inside.substr(1, inside.size() - 2));
  }
  if (!inside.empty() && inside.front() == '#') inside.remove_prefix(1);
  return {std::string(inside), std::string(trimmed(paint.substr(close + 1)))};
}

std::optional<SVGColorValue> SVGColorValueOf(std::string_view text, const SVGColorValue& currentColor) {
  const std::string lower = lowerCased(trimmed(text));
  if (lower == "transparent") return SVGColorValue{0, 0, 0, 0};
  if (lower == "currentcolor") return currentColor;
  const std::string keyword = SVGColorText(lower);
  if (!keyword.empty() && keyword.front() == '#') return hexColor(std::string_view(lowerCased(keyword)).substr(1));
  const std::size_t open = lower.find('(');
  if (open == std::string::npos || lower.back() != ')') return std::nullopt;
  const std::string name = lower.substr(0, open);
  const std::optional<std::vector<Component>> components =
      arguments(std::string_view(lower).substr(open + 1, lower.size() - open - 2));
  if (!components || components->size() < 3 || components->size() > 4) return std::nullopt;
  if (name == "rgb" || name == "rgba") return rgbColor(*components);
  if (name == "hsl" || name == "hsla") return hslColor(*components);
  return std::nullopt;
}
