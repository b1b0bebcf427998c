#pragma once

// The dash a stroke style record draws, decided here for every output: the canvas, pictures, pages and SVG files.

#include <optional>
#include <vector>

#include "platform/core/value.h"

struct CMStrokeDash {
  std::vector<double> lengths;  // on, off, on, ... in page units: none below 0, some above
  double offset = 0;            // where along the pattern the stroke starts
};

// The pattern a stroke of "dashStyle" 1 draws without "dashPoints": the style panel's "Dots" sets only the style.
inline constexpr double kCMDotsPattern[] = {5, 5};

// Nothing for a solid stroke: a "dashStyle" other than 1, or "dashPoints" none of which is above 0. Otherwise the
// "dashPoints" (kCMDotsPattern when there are none), each negative or non-finite one as 0, started
// "stroke-dashoffset" along the pattern.
std::optional<CMStrokeDash> strokeDashOf(const platform::DictRef& record);
