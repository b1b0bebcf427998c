#include "platform/graphics/stroke_polyline.h"

#include <cmath>

#include "platform/graphics/stroke_caps.h"
#include "platform/graphics/stroke_joins.h"
#include "platform/graphics/stroke_vector_math.h"

namespace platform::stroke {

namespace {

// The counter-clockwise quad covering a segment's stroke.
void appendSegmentQuad(BezierPath& out, Point from, Point to, Point direction, double halfWidth) {
  const Point across = times(leftNormal(direction), halfWidth);
  out.moveTo(minus(from, across));
  out.lineTo(minus(to, across));
  out.lineTo(plus(to, across));
  out.lineTo(plus(from, across));
  out.closePath();
}

}  // namespace

void appendDistinctPoint(std::vector<Point>& points, Point point) {
  if (!std::isfinite(point.x) || !std::isfinite(point.y)) return;
  if (!points.empty() && !unitDirection(points.back(), point)) return;
  points.push_back(point);
}

void dropPointsRepeatingStart(std::vector<Point>& points) {
  while (points.size() > 1 && !unitDirection(points.back(), points.front())) points.pop_back();
}

void appendPolylineStroke(BezierPath& out, std::span<const Point> points, bool closed, Point dotDirection,
                          const StrokeStyle& style) {
  const double halfWidth = style.width / 2;
  const std::size_t count = points.size();
  if (count == 0) return;
  if (count == 1) {
    appendDot(out, points[0], dotDirection, style.cap, halfWidth);
    return;
  }
  const std::size_t segmentCount = closed ? count : count - 1;
  Point firstDirection;
  Point previousDirection;
  for (std::size_t i = 0; i < segmentCount; ++i) {
    const Point from = points[i];
    const Point to = points[(i + 1) % count];
    // Distinct neighbours always give a direction; the fallback only keeps a broken caller from reaching NaN.
    const Point direction = unitDirection(from, to).value_or(Point{1, 0});
    appendSegmentQuad(out, from, to, direction, halfWidth);
    if (i == 0) {
      firstDirection = direction;
    } else {
      appendJoin(out, from, previousDirection, direction, style.join, style.miterLimit, halfWidth);
    }
    previousDirection = direction;
  }
  if (closed) {
    appendJoin(out, points[0], previousDirection, firstDirection, style.join, style.miterLimit, halfWidth);
  } else {
    appendCap(out, points[0], times(firstDirection, -1), style.cap, halfWidth);
    appendCap(out, points[count - 1], previousDirection, style.cap, halfWidth);
  }
}

}  // namespace platform::stroke
