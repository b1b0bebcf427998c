#pragma once

// Caps at the loose ends of a stroke, and the dot a zero-length stroke leaves.

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

namespace platform::stroke {

// Appends the cap beyond the end `point` of a stroke, `outward` being the unit
// vector pointing away from the stroke: a half disc (round), a half-width
// extension (square) or nothing (butt). Contours run counter-clockwise.
void appendCap(BezierPath& out, Point point, Point outward, LineCap cap, double halfWidth);

// Appends what a stroke of zero length paints at `point`: a disc (round), a
// square with sides along the unit vector `direction` (square) or nothing (butt).
void appendDot(BezierPath& out, Point point, Point direction, LineCap cap, double halfWidth);

}  // namespace platform::stroke
