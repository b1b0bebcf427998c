#include "io/svg/VDSVGOpacity.h"

#include <algorithm>
#include <cmath>

#include "platform/core/string_conversions.h"

float SVGOpacity(std::string_view text) {
  double value = 0;
  std::size_t used = platform::scanDouble(text, value);
  if (used > 0 && used < text.size() && text[used] == '%') {
    value /= 100;
    ++used;
  }
  // What is no number or percentage ("0.1mm") is an error, which leaves the initial opacity.
  if (used == 0 || used != text.size() || std::isnan(value)) return 1.0f;
  return static_cast<float>(std::clamp(value, 0.0, 1.0));
}
