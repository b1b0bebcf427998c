#include "platform/graphics/finite_geometry.h"

#include <cmath>

namespace platform {

bool isFinitePoint(Point point) { return std::isfinite(point.x) && std::isfinite(point.y); }

bool isFiniteRect(const Rect& rect) {
  return isFinitePoint(rect.origin) && std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
}

bool isFinitePath(const BezierPath& path) {
  Point points[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    const int count = path.elementAt(i, points) == PathElement::Curve ? 3 : 1;
    for (int k = 0; k < count; ++k) {
      if (!isFinitePoint(points[k])) return false;
    }
  }
  return true;
}

}  // namespace platform
