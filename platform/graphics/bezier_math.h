#pragma once

// Cubic Bezier arithmetic shared by the path's bounds, flattening and fill test.

#include <algorithm>

#include "platform/core/geometry.h"

namespace platform::bezier {

inline Point lerp(Point a, Point b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// B(t) in Bernstein form, exact at t = 0 and t = 1.
inline Point cubicPoint(Point p0, Point p1, Point p2, Point p3, double t) {
  const double s = 1 - t;
  const double b0 = s * s * s, b1 = 3 * s * s * t, b2 = 3 * s * t * t, b3 = t * t * t;
  return {b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x, b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y};
}

// Parameters in the open interval (0, 1) where one coordinate of a cubic with
// coefficients a, b, c, d (the four control values) has a zero derivative.
// Writes up to two into `roots` and returns how many.
int cubicExtremaParameters(double a, double b, double c, double d, double roots[2]);

// How many equal parameter steps keep the chords of the cubic within `flatness`
// of it: at least 1, at most 10,000. A flatness that is not positive counts as 1e-3.
int flatteningSegmentCount(Point p0, Point p1, Point p2, Point p3, double flatness);

// The smallest box around the points added; the zero rectangle when none were.
class BoundsAccumulator {
 public:
  void add(Point p) {
    if (!any_) {
      minX_ = maxX_ = p.x;
      minY_ = maxY_ = p.y;
      any_ = true;
      return;
    }
    minX_ = std::min(minX_, p.x);
    maxX_ = std::max(maxX_, p.x);
    minY_ = std::min(minY_, p.y);
    maxY_ = std::max(maxY_, p.y);
  }
  Rect rect() const { return Rect(minX_, minY_, maxX_ - minX_, maxY_ - minY_); }

 private:
  bool any_ = false;
  double minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
};

}  // namespace platform::bezier
