#include "io/svg/VDSVGNumberList.h"

#include "platform/core/string_conversions.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

}  // namespace

std::vector<double> SVGNumberList(std::string_view text) {
  std::vector<double> numbers;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && isBlank(text[i])) ++i;
    // One comma may stand between two numbers, but not before the first.
    if (!numbers.empty() && i < text.size() && text[i] == ',') {
      ++i;
      while (i < text.size() && isBlank(text[i])) ++i;
    }
    double value = 0;
    const std::size_t used = platform::scanDouble(text.substr(i), value);
    if (used == 0) return numbers;
    numbers.push_back(value);
    i += used;
  }
}
