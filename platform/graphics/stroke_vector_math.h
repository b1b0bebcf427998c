#pragma once

// Small vector helpers for the stroke outliner. Named functions rather than
// operators so they never collide with operators declared on Point elsewhere.

#include <cmath>
#include <optional>

#include "platform/core/geometry.h"

namespace platform::stroke {

constexpr Point plus(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
constexpr Point minus(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
constexpr Point times(Point a, double s) { return {a.x * s, a.y * s}; }
constexpr double dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
constexpr double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
// Rotated a quarter turn counter-clockwise (y up).
constexpr Point leftNormal(Point direction) { return {-direction.y, direction.x}; }

// The unit vector from `from` to `to`; nothing when the two coincide, so no
// direction is ever NaN.
inline std::optional<Point> unitDirection(Point from, Point to) {
  const Point delta = minus(to, from);
  const double length = std::hypot(delta.x, delta.y);
  if (!(length > 0) || !std::isfinite(length)) return std::nullopt;
  // Divided rather than multiplied by 1 / length, which overflows for a subnormal length.
  return Point{delta.x / length, delta.y / length};
}

}  // namespace platform::stroke
