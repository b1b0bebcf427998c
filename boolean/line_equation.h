#pragma once

// Lines in normalised form a·x + b·y + c = 0 with a² + b² = 1, so that the left
// side is a signed distance. The all-zero record stands for "no line" (two equal
// points give it) and puts every point at distance 0. Inline: the root finder and
// the fat-line clipping call these in their innermost loops.

#include <cmath>

#include "platform/core/geometry.h"

struct PBLineEquation {
  double a = 0;
  double b = 0;
  double c = 0;
};

inline PBLineEquation PBLineEquationThroughPoints(platform::Point point1, platform::Point point2) {
  const double a = point1.y - point2.y;
  const double b = point2.x - point1.x;
  const double c = point1.x * point2.y - point2.x * point1.y;
  const double length = std::sqrt(a * a + b * b);
  if (length == 0) return {};
  return {a / length, b / length, c / length};
}

// Exactly these coefficients, not normalised.
inline PBLineEquation PBLineEquationMake(double a, double b, double c) { return {a, b, c}; }

inline PBLineEquation PBLineEquationShifted(const PBLineEquation& line, double offset) {
  return {line.a, line.b, line.c + offset};
}

inline double PBLineEquationDistance(const PBLineEquation& line, platform::Point point) {
  return line.a * point.x + line.b * point.y + line.c;
}

// The meeting point of two lines as (x, -y): the second value has its sign
// inverted, and callers negate it. Parallel lines give infinite or NaN values.
struct PBLineMeeting {
  double x = 0;
  double negatedY = 0;
};

inline PBLineMeeting PBLineEquationsMeet(const PBLineEquation& line1, const PBLineEquation& line2) {
  const double denominator = line1.a * line2.b - line2.a * line1.b;
  return {(line1.b * line2.c - line2.b * line1.c) / denominator, (line1.a * line2.c - line2.a * line1.c) / denominator};
}
