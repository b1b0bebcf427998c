#include "io/svg/VDSVGTransformList.h"

#include <cctype>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "io/svg/VDSVGNumberList.h"

namespace {

using platform::AffineTransform;

// SVG's matrix(a b c d e f): x' = a·x + c·y + e, y' = b·x + d·y + f.
AffineTransform matrix(double a, double b, double c, double d, double e, double f) { return {a, b, c, d, e, f}; }

AffineTransform rotation(double degrees) {
  const double radians = degrees * std::numbers::pi / 180;
  return matrix(std::cos(radians), std::sin(radians), -std::sin(radians), std::cos(radians), 0, 0);
}

std::optional<AffineTransform> entry(const std::string& name, const std::vector<double>& n) {
  const std::size_t count = n.size();
  if (name == "matrix" && count == 6) return matrix(n[0], n[1], n[2], n[3], n[4], n[5]);
  if (name == "translate" && (count == 1 || count == 2)) return matrix(1, 0, 0, 1, n[0], count == 2 ? n[1] : 0);
  if (name == "scale" && (count == 1 || count == 2)) return matrix(n[0], 0, 0, count == 2 ? n[1] : n[0], 0, 0);
  if (name == "rotate" && count == 1) return rotation(n[0]);
  if (name == "rotate" && count == 3) {
    // About (cx, cy): there, turned, and back.
    AffineTransform turned = matrix(1, 0, 0, 1, -n[1], -n[2]);
    turned.appendTransform(rotation(n[0]));
    turned.appendTransform(matrix(1, 0, 0, 1, n[1], n[2]));
    return turned;
  }
  if (name == "skewx" && count == 1) return matrix(1, 0, std::tan(n[0] * std::numbers::pi / 180), 1, 0, 0);
  if (name == "skewy" && count == 1) return matrix(1, std::tan(n[0] * std::numbers::pi / 180), 0, 1, 0, 0);
  return std::nullopt;
}

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == ','; }

}  // namespace

void applySVGTransformList(std::string_view text, AffineTransform& transform, bool& found) {
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    std::string name;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
    }
    while (i < text.size() && isSeparator(text[i]) && text[i] != ',') ++i;
    if (name.empty() || i >= text.size() || text[i] != '(') return;
    const std::size_t close = text.find(')', i);
    if (close == std::string_view::npos) return;
    if (const std::optional<AffineTransform> parsed = entry(name, SVGNumberList(text.substr(i + 1, close - i - 1)))) {
      transform.prependTransform(*parsed);
      found = true;
    }
    i = close + 1;
  }
}
