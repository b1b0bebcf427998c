#pragma once

// Rectangle helpers of the engine. Rectangles here keep origin = min and size = max - min.

#include <algorithm>

#include "boolean/tolerance_functions.h"
#include "platform/core/geometry.h"
#include "platform/graphics/rect_functions.h"

// Lowers `minimum` and raises `maximum` so that they include `point`.
void PBExpandBoundsByPoint(platform::Point* minimum, platform::Point* maximum, platform::Point point);
// Smallest rectangle holding both; a rectangle of zero width or height still counts.
platform::Rect PBUnionRect(const platform::Rect& rect1, const platform::Rect& rect2);
// One axis of PBRectsOverlap, for the edge-pair sweep, which tests spans it keeps at hand.
inline bool PBSpansOverlap(double minimum1, double maximum1, double minimum2, double maximum2) {
  const double gap = std::max(minimum1, minimum2) - std::min(maximum1, maximum2);
  return gap <= PBRectOverlapThreshold;
}
// The x spans and the y spans each overlap, a gap of at most 1e-6 counting as overlap. Inline: every edge pair
// the crossing search looks at is tested twice.
inline bool PBRectsOverlap(const platform::Rect& rect1, const platform::Rect& rect2) {
  return PBSpansOverlap(platform::minX(rect1), platform::maxX(rect1), platform::minX(rect2), platform::maxX(rect2)) &&
         PBSpansOverlap(platform::minY(rect1), platform::maxY(rect1), platform::minY(rect2), platform::maxY(rect2));
}
