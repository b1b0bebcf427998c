#include "platform/core/geometry_strings.h"

#include <array>

#include "platform/core/string_conversions.h"

namespace platform {
namespace {

bool startsNumber(std::string_view text, std::size_t i) {
  auto digitAt = [&](std::size_t j) { return j < text.size() && text[j] >= '0' && text[j] <= '9'; };
  char c = text[i];
  if (c >= '0' && c <= '9') return true;
  if (c == '.') return digitAt(i + 1);
  if (c == '+' || c == '-') return digitAt(i + 1) || (i + 1 < text.size() && text[i + 1] == '.' && digitAt(i + 2));
  return false;
}

// Reads up to count numbers found anywhere in the text; missing ones stay 0.
template <std::size_t count>
std::array<double, count> scanNumbers(std::string_view text) {
  std::array<double, count> numbers{};
  std::size_t found = 0;
  for (std::size_t i = 0; i < text.size() && found < count;) {
    if (!startsNumber(text, i)) {
      ++i;
      continue;
    }
    double value = 0;
    std::size_t used = scanDouble(text.substr(i), value);
    if (used == 0) {
      ++i;
      continue;
    }
    numbers[found++] = value;
    i += used;
  }
  return numbers;
}

std::string pair(double a, double b) {
  std::string text = "{";
  text.append(formatDouble(a)).append(", ").append(formatDouble(b)).push_back('}');
  return text;
}

}  // namespace

std::string stringFromPoint(Point point) { return pair(point.x, point.y); }

std::string stringFromSize(Size size) { return pair(size.width, size.height); }

std::string stringFromRect(const Rect& rect) {
  std::string text = "{";
  text.append(stringFromPoint(rect.origin)).append(", ").append(stringFromSize(rect.size)).push_back('}');
  return text;
}

Point pointFromString(std::string_view text) {
  auto n = scanNumbers<2>(text);
  return {n[0], n[1]};
}

Size sizeFromString(std::string_view text) {
  auto n = scanNumbers<2>(text);
  return {n[0], n[1]};
}

Rect rectFromString(std::string_view text) {
  auto n = scanNumbers<4>(text);
  return Rect(n[0], n[1], n[2], n[3]);
}

}  // namespace platform
