#include "platform/graphics/stroke_arcs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/core/numeric.h"
#include "platform/graphics/stroke_vector_math.h"

namespace platform::stroke {

namespace {

Point onCircle(Point center, double radius, double angle) {
  return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
}

}  // namespace

void appendArc(BezierPath& out, Point center, double radius, double startAngle, double sweep) {
  constexpr double quarterTurn = std::numbers::pi / 2;
  // The small allowance keeps an exact quarter or half turn from gaining a needless piece.
  const int pieces = std::clamp(saturatingTruncate<int>(std::ceil(std::abs(sweep) / quarterTurn - 1e-9)), 1, 4);
  const double step = sweep / pieces;
  // Control arm length that makes a cubic meet the circle at its ends and midpoint.
  const double arm = 4.0 / 3.0 * std::tan(step / 4) * radius;
  for (int i = 0; i < pieces; ++i) {
    const double a0 = startAngle + step * i;
    const double a1 = a0 + step;
    const Point p0 = onCircle(center, radius, a0);
    const Point p1 = onCircle(center, radius, a1);
    const Point tangent0{-std::sin(a0), std::cos(a0)};
    const Point tangent1{-std::sin(a1), std::cos(a1)};
    out.curveTo(p1, plus(p0, times(tangent0, arm)), minus(p1, times(tangent1, arm)));
  }
}

void appendCircle(BezierPath& out, Point center, double radius) {
  out.moveTo({center.x + radius, center.y});
  appendArc(out, center, radius, 0, 2 * std::numbers::pi);
  out.closePath();
}

}  // namespace platform::stroke
