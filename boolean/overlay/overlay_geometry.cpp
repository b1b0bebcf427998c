#include "boolean/overlay/overlay_geometry.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using platform::Point;
using platform::Rect;

void PBOverlayForEachPairOfNearRects(const std::vector<Rect>& rects, double gap,
                                     const std::function<void(std::size_t, std::size_t)>& block) {
  std::vector<std::size_t> order(rects.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&rects](std::size_t a, std::size_t b) {
    return rects[a].origin.x < rects[b].origin.x || (rects[a].origin.x == rects[b].origin.x && a < b);
  });
  std::vector<std::size_t> active;
  for (std::size_t index : order) {
    const Rect& rect = rects[index];
    // Later rectangles start further right: one ending too far left of this one meets none of them.
    std::erase_if(active, [&](std::size_t other) {
      return rect.origin.x - (rects[other].origin.x + rects[other].size.width) > gap;
    });
    for (std::size_t other : active) {
      const Rect& near = rects[other];
      if (std::max(rect.origin.y, near.origin.y) -
              std::min(rect.origin.y + rect.size.height, near.origin.y + near.size.height) >
          gap) {
        continue;
      }
      block(std::min(index, other), std::max(index, other));
    }
    active.push_back(index);
  }
}

namespace {

double cross(Point origin, Point a, Point b) {
  return (a.x - origin.x) * (b.y - origin.y) - (a.y - origin.y) * (b.x - origin.x);
}

}  // namespace

bool PBOverlayLinesCross(Point p0, Point p1, Point q0, Point q1, Point* crossing, double* alongP, double* alongQ) {
  const double q0Side = cross(p0, p1, q0), q1Side = cross(p0, p1, q1);
  const double p0Side = cross(q0, q1, p0), p1Side = cross(q0, q1, p1);
  if (!(q0Side * q1Side < 0 && p0Side * p1Side < 0)) return false;
  *alongQ = q0Side / (q0Side - q1Side);
  *alongP = p0Side / (p0Side - p1Side);
  *crossing = {q0.x + *alongQ * (q1.x - q0.x), q0.y + *alongQ * (q1.y - q0.y)};
  return true;
}

namespace {

struct Piece {
  Point points[4];
  double from, to;  // its parameters on the whole curve
};

// Distance from the point to the segment, and where along it (0 to 1).
double distanceToSegment(Point a, Point b, Point point, double* along) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  *along = lengthSquared > 0 ? std::clamp(((point.x - a.x) * dx + (point.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0;
  const double x = a.x + *along * dx - point.x, y = a.y + *along * dy - point.y;
  return std::sqrt(x * x + y * y);
}

}  // namespace

bool PBOverlayPassesWithin(const PBBezierCurveData& curve, Point point, double distance, double* parameter) {
  double along = 0;
  if (curve.isStraightLine) {
    const bool within = distanceToSegment(curve.endPoint1, curve.endPoint2, point, &along) <= distance;
    *parameter = along;
    return within;
  }
  double nearest = INFINITY;
  Piece stack[64];
  int count = 0;
  stack[count++] = {{curve.endPoint1, curve.controlPoint1, curve.controlPoint2, curve.endPoint2}, 0, 1};
  while (count > 0) {
    const Piece piece = stack[--count];
    const Point* p = piece.points;
    if (point.x < std::min({p[0].x, p[1].x, p[2].x, p[3].x}) - distance ||
        point.x > std::max({p[0].x, p[1].x, p[2].x, p[3].x}) + distance ||
        point.y < std::min({p[0].y, p[1].y, p[2].y, p[3].y}) - distance ||
        point.y > std::max({p[0].y, p[1].y, p[2].y, p[3].y}) + distance) {
      continue;
    }
    // How far the controls stray from the chord bounds how far the piece does.
    double unused;
    const double flatness = std::max(distanceToSegment(p[0], p[3], p[1], &unused), distanceToSegment(p[0], p[3], p[2], &unused));
    const double chordDistance = distanceToSegment(p[0], p[3], point, &along);
    if (chordDistance - flatness > distance) continue;
    if (flatness <= distance / 64 || count + 2 > 64) {
      if (chordDistance <= distance && chordDistance < nearest) {
        nearest = chordDistance;
        *parameter = piece.from + along * (piece.to - piece.from);
      }
      continue;
    }
    auto middle = [](Point a, Point b) { return Point{0.5 * (a.x + b.x), 0.5 * (a.y + b.y)}; };
    const Point p01 = middle(p[0], p[1]), p12 = middle(p[1], p[2]), p23 = middle(p[2], p[3]);
    const Point p012 = middle(p01, p12), p123 = middle(p12, p23), p0123 = middle(p012, p123);
    const double half = 0.5 * (piece.from + piece.to);
    stack[count++] = {{p0123, p123, p23, p[3]}, half, piece.to};
    stack[count++] = {{p[0], p01, p012, p0123}, piece.from, half};
  }
  return nearest <= distance;
}

bool PBOverlayHugsChord(const PBBezierCurveData& curve, double distance) {
  double along;
  return distanceToSegment(curve.endPoint1, curve.endPoint2, curve.controlPoint1, &along) <= distance &&
         distanceToSegment(curve.endPoint1, curve.endPoint2, curve.controlPoint2, &along) <= distance;
}

int PBOverlayFlatTurns(const PBBezierCurveData& curve, double distance, double turns[2]) {
  const Point start = curve.endPoint1;
  const double dx = curve.endPoint2.x - start.x, dy = curve.endPoint2.y - start.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0)) return -1;
  auto across = [&](Point p) { return std::fabs((p.x - start.x) * dy - (p.y - start.y) * dx) / length; };
  if (across(curve.controlPoint1) > distance || across(curve.controlPoint2) > distance) return -1;
  // The distance along the line is a cubic of the parameter; it turns where its derivative, a quadratic, is zero.
  auto along = [&](Point p) { return ((p.x - start.x) * dx + (p.y - start.y) * dy) / length; };
  const double a = along(curve.controlPoint1), b = along(curve.controlPoint2) - a, c = length - along(curve.controlPoint2);
  const double square = a - 2 * b + c, linear = 2 * (b - a);
  int count = 0;
  auto keep = [&](double t) {
    if (t > 1e-9 && t < 1 - 1e-9) turns[count++] = t;
  };
  if (std::fabs(square) < 1e-12 * (std::fabs(a) + std::fabs(b) + std::fabs(c))) {
    if (linear != 0) keep(-a / linear);
  } else {
    const double discriminant = linear * linear - 4 * square * a;
    if (discriminant > 0) {
      // The stable pair of roots: no cancellation between nearly equal terms.
      const double q = -(linear + std::copysign(std::sqrt(discriminant), linear)) / 2;
      double first = q / square, second = q != 0 ? a / q : first;
      if (first > second) std::swap(first, second);
      keep(first);
      if (second != first) keep(second);
    }
  }
  return count;
}

double PBOverlayPolygonLength(const PBBezierCurveData& curve) {
  auto distance = [](Point a, Point b) { return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y)); };
  if (curve.isStraightLine) return distance(curve.endPoint1, curve.endPoint2);
  return distance(curve.endPoint1, curve.controlPoint1) + distance(curve.controlPoint1, curve.controlPoint2) +
         distance(curve.controlPoint2, curve.endPoint2);
}

Point PBOverlayPointAt(const PBBezierCurveData& curve, double parameter) {
  if (parameter <= 0) return curve.endPoint1;
  if (parameter >= 1) return curve.endPoint2;
  if (curve.isStraightLine) {
    return {curve.endPoint1.x + parameter * (curve.endPoint2.x - curve.endPoint1.x),
            curve.endPoint1.y + parameter * (curve.endPoint2.y - curve.endPoint1.y)};
  }
  return PBBezierCurveDataPointAtParameter(curve, parameter, nullptr, nullptr);
}

double PBOverlayAreaTerm(const PBBezierCurveData& curve) {
  const Point p0 = curve.endPoint1, p3 = curve.endPoint2;
  if (curve.isStraightLine) return 0.5 * (p0.x * p3.y - p3.x * p0.y);
  // x·y' − y·x' is a polynomial of degree 5: three Gauss–Legendre nodes integrate it exactly.
  static const double nodes[3] = {0.5 - 0.5 * std::sqrt(0.6), 0.5, 0.5 + 0.5 * std::sqrt(0.6)};
  static const double weights[3] = {5.0 / 18.0, 8.0 / 18.0, 5.0 / 18.0};
  double total = 0;
  for (int i = 0; i < 3; ++i) {
    const Point at = PBBezierCurveDataPointAtParameter(curve, nodes[i], nullptr, nullptr);
    const Point d = PBBezierCurveDataDerivative(curve, nodes[i]);
    total += weights[i] * (at.x * d.y - at.y * d.x);
  }
  return 0.5 * total;
}

int PBOverlayCrossingsLeftOf(const PBBezierCurveData& curve, Point point) {
  // Counted half-open, a curve wholly above the ray or wholly at or below it does not cross it.
  if (point.y < std::min({curve.endPoint1.y, curve.controlPoint1.y, curve.controlPoint2.y, curve.endPoint2.y}) ||
      point.y >= std::max({curve.endPoint1.y, curve.controlPoint1.y, curve.controlPoint2.y, curve.endPoint2.y})) {
    return 0;
  }
  // Cut where y turns, so that each piece meets the ray's height at most once.
  std::vector<double> cuts{0};
  if (!curve.isStraightLine) {
    const double y0 = curve.endPoint1.y, y1 = curve.controlPoint1.y, y2 = curve.controlPoint2.y, y3 = curve.endPoint2.y;
    const double a = -y0 + 3 * y1 - 3 * y2 + y3, b = 2 * (y0 - 2 * y1 + y2), c = y1 - y0;
    double roots[2];
    int count = 0;
    if (std::fabs(a) <= 1e-12 * (std::fabs(b) + std::fabs(c))) {
      if (b != 0) roots[count++] = -c / b;
    } else if (const double discriminant = b * b - 4 * a * c; discriminant >= 0) {
      const double root = std::sqrt(discriminant);
      roots[count++] = (-b + root) / (2 * a);
      roots[count++] = (-b - root) / (2 * a);
    }
    std::sort(roots, roots + count);
    for (int i = 0; i < count; ++i) {
      if (roots[i] > 0 && roots[i] < 1) cuts.push_back(roots[i]);
    }
  }
  cuts.push_back(1);
  int crossings = 0;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    double low = cuts[i], high = cuts[i + 1];
    const Point from = PBOverlayPointAt(curve, low), to = PBOverlayPointAt(curve, high);
    if ((from.y <= point.y) == (to.y <= point.y)) continue;
    // A piece lies within its curve's control points: wholly to one side of the point, it needs no more.
    const double minX = std::min({curve.endPoint1.x, curve.controlPoint1.x, curve.controlPoint2.x, curve.endPoint2.x});
    const double maxX = std::max({curve.endPoint1.x, curve.controlPoint1.x, curve.controlPoint2.x, curve.endPoint2.x});
    if (maxX < point.x) {
      ++crossings;
      continue;
    }
    if (minX >= point.x) continue;
    double x;
    if (curve.isStraightLine) {
      x = from.x + (point.y - from.y) * (to.x - from.x) / (to.y - from.y);
    } else {
      const bool rising = to.y > from.y;
      for (int step = 0; step < 60 && high - low > 1e-15; ++step) {
        const double middle = 0.5 * (low + high);
        ((PBOverlayPointAt(curve, middle).y <= point.y) == rising ? low : high) = middle;
      }
      x = PBOverlayPointAt(curve, 0.5 * (low + high)).x;
    }
    if (x < point.x) ++crossings;
  }
  return crossings;
}

double PBOverlayLeavingAngle(const PBBezierCurveData& curve) {
  const Point start = curve.endPoint1;
  Point toward = curve.endPoint2;
  if (!curve.isStraightLine) {
    // Some sixty-fourth of a unit of the working frame along it, or a quarter of a short curve.
    const double parameter = std::min(0.25, 0x1p-6 / PBOverlayPolygonLength(curve));
    toward = PBOverlayPointAt(curve, parameter);
  }
  return std::atan2(toward.y - start.y, toward.x - start.x);
}

double PBOverlayLeavingAngleAtReach(const PBBezierCurveData& curve) {
  const Point start = curve.endPoint1;
  Point toward = curve.endPoint2;
  // A sixty-fourth of a unit of the working frame from the start, the same distance for every curve at a vertex: at
  // equal distances, curves that leave in nearly one direction are told apart by where they are, not by how fast
  // they get there. A curve that ends nearer is taken at its end.
  constexpr double kReach = 0x1p-6;
  auto offset = [&](double t) {
    const Point p = PBOverlayPointAt(curve, t);
    return Point{p.x - start.x, p.y - start.y};
  };
  const Point whole = offset(1);
  if (!curve.isStraightLine && whole.x * whole.x + whole.y * whole.y > kReach * kReach) {
    // Newton's method on |B(t) − B(0)|² = reach², from where the speed at the start would take it; near the start
    // the distance grows with t, and a step is kept within (0, 1].
    const Point speed = PBBezierCurveDataDerivative(curve, 0);
    const double startSpeed = std::hypot(speed.x, speed.y);
    double t = startSpeed > 0 ? std::min(1.0, kReach / startSpeed) : std::min(1.0, kReach / PBOverlayPolygonLength(curve));
    // The first guess is off by about the curve's bend over the reach; three steps take that to rounding.
    for (int step = 0; step < 3; ++step) {
      const Point d = offset(t), velocity = PBBezierCurveDataDerivative(curve, t);
      const double excess = d.x * d.x + d.y * d.y - kReach * kReach, slope = 2 * (d.x * velocity.x + d.y * velocity.y);
      if (!(slope > 0)) break;
      t = std::clamp(t - excess / slope, 0.5 * t, std::min(1.0, 2 * t));
    }
    toward = PBOverlayPointAt(curve, t);
  }
  return std::atan2(toward.y - start.y, toward.x - start.x);
}
