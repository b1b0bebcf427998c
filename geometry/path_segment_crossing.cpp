#include "geometry/path_segment_crossing.h"

#include <algorithm>
#include <cmath>

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

// Twice the signed area of the triangle (a, b, c): positive when c lies left of a→b.
double orientation(Point a, Point b, Point c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }

// For c on the line through a and b: whether it lies within their box.
bool withinBox(Point a, Point b, Point c) {
  return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
         c.y <= std::max(a.y, b.y);
}

bool oppositeSides(double first, double second) { return (first > 0 && second < 0) || (first < 0 && second > 0); }

bool isFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool segmentsTouch(Point a, Point b, Point c, Point d) {
  if (!isFinite(a) || !isFinite(b) || !isFinite(c) || !isFinite(d)) return false;
  const double c1 = orientation(a, b, c);
  const double c2 = orientation(a, b, d);
  const double c3 = orientation(c, d, a);
  const double c4 = orientation(c, d, b);
  if (oppositeSides(c1, c2) && oppositeSides(c3, c4)) return true;
  return (c1 == 0 && withinBox(a, b, c)) || (c2 == 0 && withinBox(a, b, d)) || (c3 == 0 && withinBox(c, d, a)) ||
         (c4 == 0 && withinBox(c, d, b));
}

// Cheap rejection before flattening; NaN boxes reject everything.
bool boxesOverlap(const platform::Rect& box, Point a, Point b) {
  return box.origin.x <= std::max(a.x, b.x) && std::min(a.x, b.x) <= box.origin.x + box.size.width &&
         box.origin.y <= std::max(a.y, b.y) && std::min(a.y, b.y) <= box.origin.y + box.size.height;
}

}  // namespace

bool segmentCrossesPath(Point from, Point to, const BezierPath& path) {
  if (path.isEmpty() || !boxesOverlap(path.controlPointBounds(), from, to)) return false;
  const BezierPath flat = path.bezierPathByFlatteningPath();
  Point current;
  Point subpathStart;
  for (int i = 0; i < flat.elementCount(); ++i) {
    Point points[3];
    const PathElement kind = flat.elementAt(i, points);
    if (kind == PathElement::Move) {
      current = subpathStart = points[0];
      continue;
    }
    // Flattening leaves lines only; a close draws the side back to the subpath's start.
    const Point end = kind == PathElement::Close ? subpathStart : kind == PathElement::Curve ? points[2] : points[0];
    if (segmentsTouch(from, to, current, end)) return true;
    current = end;
  }
  return false;
}
