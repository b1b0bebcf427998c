#pragma once

// Circular arcs as cubic Beziers, for round joins, round caps and dots.

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

namespace platform::stroke {

// Appends curves from the point at `startAngle` on the circle (which must be the
// current point) through `sweep` radians, counter-clockwise when positive. Each
// curve spans at most a quarter turn, which keeps it within 0.03 % of the radius.
void appendArc(BezierPath& out, Point center, double radius, double startAngle, double sweep);

// A full counter-clockwise circle as its own closed contour.
void appendCircle(BezierPath& out, Point center, double radius);

}  // namespace platform::stroke
