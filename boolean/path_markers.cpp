#include "boolean/path_markers.h"

#include <cmath>

using platform::BezierPath;
using platform::Point;
using platform::Rect;

BezierPath PBCircleAtPoint(Point point) { return BezierPath::ovalInRect(Rect(point.x - 5, point.y - 5, 10, 10)); }

BezierPath PBRectAtPoint(Point point) { return BezierPath::rect(Rect(point.x - 6.5, point.y - 6.5, 13, 13)); }

BezierPath PBSmallCircleAtPoint(Point point) {
  return BezierPath::ovalInRect(Rect(point.x - 1.5, point.y - 1.5, 3, 3));
}

BezierPath PBSmallRectAtPoint(Point point) { return BezierPath::rect(Rect(point.x - 1.5, point.y - 1.5, 3, 3)); }

BezierPath PBTriangleAtPoint(Point point, Point direction) {
  const Point tip{point.x + direction.x * 15.0, point.y + direction.y * 15.0};
  Point normal{-(tip.y - point.y), tip.x - point.x};
  const double length = std::hypot(normal.x, normal.y);
  if (length > 0) normal = {normal.x / length, normal.y / length};
  const Point left{point.x + 5 * normal.x, point.y + 5 * normal.y};
  BezierPath path;
  path.moveTo(left);
  path.lineTo(tip);
  path.lineTo(Point{point.x - 5 * normal.x, point.y - 5 * normal.y});
  path.lineTo(left);
  path.closePath();
  return path;
}
