#include "platform/graphics/rect_functions.h"

#include <algorithm>
#include <cmath>

namespace platform {

bool pointInRect(Point point, const Rect& rect) {
  return point.x >= minX(rect) && point.x < maxX(rect) && point.y >= minY(rect) && point.y < maxY(rect);
}

bool intersectsRect(const Rect& a, const Rect& b) {
  if (isEmptyRect(a) || isEmptyRect(b)) return false;
  return minX(a) < maxX(b) && minX(b) < maxX(a) && minY(a) < maxY(b) && minY(b) < maxY(a);
}

bool containsRect(const Rect& outer, const Rect& inner) {
  if (isEmptyRect(inner)) return false;
  return minX(outer) <= minX(inner) && maxX(inner) <= maxX(outer) && minY(outer) <= minY(inner) &&
         maxY(inner) <= maxY(outer);
}

Rect unionRect(const Rect& a, const Rect& b) {
  if (isEmptyRect(a)) return isEmptyRect(b) ? Rect{} : b;
  if (isEmptyRect(b)) return a;
  const double x0 = std::min(minX(a), minX(b)), y0 = std::min(minY(a), minY(b));
  const double x1 = std::max(maxX(a), maxX(b)), y1 = std::max(maxY(a), maxY(b));
  return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect intersectionRect(const Rect& a, const Rect& b) {
  // Checked first because std::min and std::max would quietly drop a NaN edge.
  if (isEmptyRect(a) || isEmptyRect(b)) return Rect{};
  const double x0 = std::max(minX(a), minX(b)), y0 = std::max(minY(a), minY(b));
  const double x1 = std::min(maxX(a), maxX(b)), y1 = std::min(maxY(a), maxY(b));
  if (!(x1 > x0 && y1 > y0)) return Rect{};
  return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect insetRect(const Rect& rect, double dx, double dy) {
  return Rect(rect.origin.x + dx, rect.origin.y + dy, rect.size.width - 2 * dx, rect.size.height - 2 * dy);
}

Rect offsetRect(const Rect& rect, double dx, double dy) {
  return Rect(rect.origin.x + dx, rect.origin.y + dy, rect.size.width, rect.size.height);
}

Rect integralRect(const Rect& rect) {
  if (isEmptyRect(rect)) return Rect{};
  const double x0 = std::floor(minX(rect)), y0 = std::floor(minY(rect));
  const double x1 = std::ceil(maxX(rect)), y1 = std::ceil(maxY(rect));
  return Rect(x0, y0, x1 - x0, y1 - y0);
}

}  // namespace platform
