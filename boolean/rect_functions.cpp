#include "boolean/rect_functions.h"

#include <algorithm>

#include "boolean/tolerance_functions.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;

void PBExpandBoundsByPoint(Point* minimum, Point* maximum, Point point) {
  minimum->x = std::min(minimum->x, point.x);
  minimum->y = std::min(minimum->y, point.y);
  maximum->x = std::max(maximum->x, point.x);
  maximum->y = std::max(maximum->y, point.y);
}

Rect PBUnionRect(const Rect& rect1, const Rect& rect2) {
  const double left = std::min(platform::minX(rect1), platform::minX(rect2));
  const double bottom = std::min(platform::minY(rect1), platform::minY(rect2));
  const double right = std::max(platform::maxX(rect1), platform::maxX(rect2));
  const double top = std::max(platform::maxY(rect1), platform::maxY(rect2));
  return {left, bottom, right - left, top - bottom};
}
