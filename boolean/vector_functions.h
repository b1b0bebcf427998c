#pragma once

// Point and vector arithmetic shared by the whole engine. Inline: the clipping and
// root finding call these in their innermost loops.

#include <cmath>

#include "platform/core/geometry.h"

inline double PBDistanceBetweenPoints(platform::Point point1, platform::Point point2) {
  return std::hypot(point2.x - point1.x, point2.y - point1.y);
}

inline platform::Point PBAddPoint(platform::Point point1, platform::Point point2) {
  return {point1.x + point2.x, point1.y + point2.y};
}

inline platform::Point PBSubtractPoint(platform::Point point1, platform::Point point2) {
  return {point1.x - point2.x, point1.y - point2.y};
}

inline platform::Point PBScalePoint(platform::Point point, double scale) { return {point.x * scale, point.y * scale}; }

inline double PBDotMultiplyPoint(platform::Point point1, platform::Point point2) {
  return point1.x * point2.x + point1.y * point2.y;
}

// The vector scaled to `length`; the zero vector stays zero.
inline platform::Point PBScaleVector(platform::Point vector, double length) {
  const double current = std::hypot(vector.x, vector.y);
  if (current == 0) return vector;
  return PBScalePoint(vector, length / current);
}

// The unit vector; the zero vector stays zero.
inline platform::Point PBNormalizePoint(platform::Point vector) { return PBScaleVector(vector, 1); }

// (-dy, dx) of the vector from `from` to `to`, divided by its length unless that is 0.
inline platform::Point PBLineNormal(platform::Point from, platform::Point to) {
  const platform::Point normal{-(to.y - from.y), to.x - from.x};
  const double length = std::hypot(normal.x, normal.y);
  if (length == 0) return normal;
  return PBScalePoint(normal, 1 / length);
}

inline platform::Point PBLineMidpoint(platform::Point point1, platform::Point point2) {
  return {(point1.x + point2.x) / 2, (point1.y + point2.y) / 2};
}

// cross(A, B, P) = (B.x - A.x)(P.y - A.y) - (P.x - A.x)(B.y - A.y): positive when P lies left of A→B.
inline double PBCounterClockwiseTurn(platform::Point point1, platform::Point point2, platform::Point point3) {
  return (point2.x - point1.x) * (point3.y - point1.y) - (point3.x - point1.x) * (point2.y - point1.y);
}
