#pragma once

// Independent evaluations used as oracles: Bernstein form instead of de Casteljau,
// adaptive Simpson instead of Gauss-Legendre.

#include <cmath>
#include <functional>

#include "boolean/bezier_curve_data.h"
#include "platform/core/geometry.h"

namespace oracle {

inline platform::Point bernstein(const PBBezierCurveData& c, double t) {
  const double u = 1 - t;
  const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
  return {b0 * c.endPoint1.x + b1 * c.controlPoint1.x + b2 * c.controlPoint2.x + b3 * c.endPoint2.x,
          b0 * c.endPoint1.y + b1 * c.controlPoint1.y + b2 * c.controlPoint2.y + b3 * c.endPoint2.y};
}

inline platform::Point derivative(const PBBezierCurveData& c, double t) {
  const double u = 1 - t;
  const double d0 = 3 * u * u, d1 = 6 * u * t, d2 = 3 * t * t;
  return {d0 * (c.controlPoint1.x - c.endPoint1.x) + d1 * (c.controlPoint2.x - c.controlPoint1.x) +
              d2 * (c.endPoint2.x - c.controlPoint2.x),
          d0 * (c.controlPoint1.y - c.endPoint1.y) + d1 * (c.controlPoint2.y - c.controlPoint1.y) +
              d2 * (c.endPoint2.y - c.controlPoint2.y)};
}

inline double distance(platform::Point a, platform::Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

inline double simpson(const std::function<double(double)>& f, double a, double b, double fa, double fm, double fb,
                      double whole, double tolerance, int depth) {
  const double m = (a + b) / 2;
  const double lm = (a + m) / 2, rm = (m + b) / 2;
  const double flm = f(lm), frm = f(rm);
  const double left = (m - a) / 6 * (fa + 4 * flm + fm);
  const double right = (b - m) / 6 * (fm + 4 * frm + fb);
  if (depth <= 0 || std::fabs(left + right - whole) <= 15 * tolerance)
    return left + right + (left + right - whole) / 15;
  return simpson(f, a, m, fa, flm, fm, left, tolerance / 2, depth - 1) +
         simpson(f, m, b, fm, frm, fb, right, tolerance / 2, depth - 1);
}

// Arc length from 0 to `t` by adaptive Simpson on the speed.
inline double arcLength(const PBBezierCurveData& c, double t = 1, double tolerance = 1e-12) {
  const auto speed = [&c](double u) {
    const platform::Point d = derivative(c, u);
    return std::hypot(d.x, d.y);
  };
  const double fa = speed(0), fm = speed(t / 2), fb = speed(t);
  return simpson(speed, 0, t, fa, fm, fb, t / 6 * (fa + 4 * fm + fb), tolerance, 50);
}

}  // namespace oracle
