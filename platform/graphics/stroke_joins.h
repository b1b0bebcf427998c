#pragma once

// The wedge that fills the outer side of a turn between two stroked segments.

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

namespace platform::stroke {

// Appends the join at `vertex` between a segment arriving along `directionIn` and
// one leaving along `directionOut` (unit vectors) as a counter-clockwise contour.
// A miter beyond `miterLimit` (miter length over width, 1/sin(θ/2)) becomes a bevel.
// Nothing is appended when the path runs straight on.
void appendJoin(BezierPath& out, Point vertex, Point directionIn, Point directionOut, LineJoin join, double miterLimit,
                double halfWidth);

}  // namespace platform::stroke
