#pragma once

// Stroking one run of straight segments: a quad per segment, a join at every
// inner vertex (and at the start of a closed run), caps at the ends of an open one.

#include <span>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/stroke_style.h"

namespace platform::stroke {

// Consecutive points distinct and finite; when closed, the last differs from the first too.
struct Polyline {
  std::vector<Point> points;
  bool closed = false;
};

// Appends `point` unless it is not finite or gives no direction from the last
// point (a repeat), so zero-length segments never reach the stroker.
void appendDistinctPoint(std::vector<Point>& points, Point point);
// Drops trailing points that repeat the first, as a closed run must not end where it starts.
void dropPointsRepeatingStart(std::vector<Point>& points);

// Appends the outline of a run of points kept distinct by the two functions
// above. A single point is a zero-length stroke: a dot oriented along `dotDirection`.
void appendPolylineStroke(BezierPath& out, std::span<const Point> points, bool closed, Point dotDirection,
                          const StrokeStyle& style);

}  // namespace platform::stroke
