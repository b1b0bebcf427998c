#pragma once

// Reference curve arithmetic for the path tests, computed by de Casteljau
// subdivision so it shares nothing with the library's Bernstein evaluation.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "platform/graphics/bezier_path.h"

namespace platform::testing {

struct Cubic {
  Point p0, p1, p2, p3;
};

inline Point mix(Point a, Point b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

inline Point deCasteljau(const Cubic& c, double t) {
  const Point a = mix(c.p0, c.p1, t), b = mix(c.p1, c.p2, t), d = mix(c.p2, c.p3, t);
  const Point e = mix(a, b, t), f = mix(b, d, t);
  return mix(e, f, t);
}

inline double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

inline double distanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y, lengthSquared = dx * dx + dy * dy;
  if (lengthSquared == 0) return distance(p, a);
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
  return distance(p, {a.x + t * dx, a.y + t * dy});
}

// Distance from `p` to the curve: the nearest of `samples` parameters, refined by
// ternary search around it.
inline double distanceToCurve(Point p, const Cubic& c, int samples = 4000) {
  int best = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (int i = 0; i <= samples; ++i) {
    const double d = distance(p, deCasteljau(c, static_cast<double>(i) / samples));
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  double lo = std::max(0.0, (best - 1.0) / samples), hi = std::min(1.0, (best + 1.0) / samples);
  for (int i = 0; i < 100; ++i) {
    const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
    if (distance(p, deCasteljau(c, m1)) < distance(p, deCasteljau(c, m2))) {
      hi = m2;
    } else {
      lo = m1;
    }
  }
  return std::min(bestDistance, distance(p, deCasteljau(c, (lo + hi) / 2)));
}

// The curves of a path with their start points, in order.
inline std::vector<Cubic> curvesOf(const BezierPath& path) {
  std::vector<Cubic> curves;
  Point current, start, points[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    switch (path.elementAt(i, points)) {
      case PathElement::Move:
        start = current = points[0];
        break;
      case PathElement::Line:
        current = points[0];
        break;
      case PathElement::Curve:
        curves.push_back({current, points[0], points[1], points[2]});
        current = points[2];
        break;
      case PathElement::Close:
        current = start;
        break;
    }
  }
  return curves;
}

// The subpaths of a path without curves as closed point rings, for reference fill tests.
inline std::vector<std::vector<Point>> ringsOfFlatPath(const BezierPath& path) {
  std::vector<std::vector<Point>> rings;
  Point points[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    const PathElement kind = path.elementAt(i, points);
    if (kind == PathElement::Move) rings.emplace_back();
    if (kind == PathElement::Move || kind == PathElement::Line) rings.back().push_back(points[0]);
  }
  return rings;
}

// Winding number by summing the turning angle seen from `p`: unrelated to ray casting.
inline int windingByAngles(Point p, const std::vector<std::vector<Point>>& rings) {
  double total = 0;
  for (const auto& ring : rings) {
    for (size_t i = 0; i < ring.size(); ++i) {
      const Point a = ring[i], b = ring[(i + 1) % ring.size()];
      const double angleA = std::atan2(a.y - p.y, a.x - p.x), angleB = std::atan2(b.y - p.y, b.x - p.x);
      double turn = angleB - angleA;
      if (turn > std::numbers::pi) turn -= 2 * std::numbers::pi;
      if (turn < -std::numbers::pi) turn += 2 * std::numbers::pi;
      total += turn;
    }
  }
  return static_cast<int>(std::lround(total / (2 * std::numbers::pi)));
}

// Signed area of the rings (positive counter-clockwise with y up).
inline double signedArea(const std::vector<std::vector<Point>>& rings) {
  double area = 0;
  for (const auto& ring : rings) {
    for (size_t i = 0; i < ring.size(); ++i) {
      const Point a = ring[i], b = ring[(i + 1) % ring.size()];
      area += a.x * b.y - b.x * a.y;
    }
  }
  return area / 2;
}

}  // namespace platform::testing
