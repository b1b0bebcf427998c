#include "boolean_judge.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "boolean/path_boolean_operations.h"
#include "platform/core/string_utilities.h"

namespace booleancheck {

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

const char* name(Operation operation) {
  switch (operation) {
    case Operation::Union: return "union";
    case Operation::Intersect: return "intersection";
    case Operation::Difference: return "difference";
    case Operation::Xor: return "exclusive-or";
  }
  return "?";
}

BezierPath apply(Operation operation, const BezierPath& a, const BezierPath& b) {
  switch (operation) {
    case Operation::Union: return pb_union(a, b);
    case Operation::Intersect: return pb_intersect(a, b);
    case Operation::Difference: return pb_difference(a, b);
    case Operation::Xor: return pb_xor(a, b);
  }
  return {};
}

std::pair<Cubic, Cubic> cutAt(const Cubic& c, double t) {
  auto at = [t](Point p, Point q) { return Point{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)}; };
  const Point p01 = at(c[0], c[1]), p12 = at(c[1], c[2]), p23 = at(c[2], c[3]);
  const Point p012 = at(p01, p12), p123 = at(p12, p23), middle = at(p012, p123);
  return {{c[0], p01, p012, middle}, {middle, p123, p23, c[3]}};
}

namespace {

bool combine(Operation operation, bool inA, bool inB) {
  switch (operation) {
    case Operation::Union: return inA || inB;
    case Operation::Intersect: return inA && inB;
    case Operation::Difference: return inA && !inB;
    case Operation::Xor: return inA != inB;
  }
  return false;
}

// One piece of a closed outline: a line when `line`, else the cubic p0 p1 p2 p3.
struct Segment {
  Point p[4];
  bool line;
  Point at(double t) const {
    if (line) return {p[0].x + t * (p[3].x - p[0].x), p[0].y + t * (p[3].y - p[0].y)};
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x, a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
  }
  Point derivative(double t) const {
    if (line) return {p[3].x - p[0].x, p[3].y - p[0].y};
    const double u = 1 - t;
    return {3 * (u * u * (p[1].x - p[0].x) + 2 * u * t * (p[2].x - p[1].x) + t * t * (p[3].x - p[2].x)),
            3 * (u * u * (p[1].y - p[0].y) + 2 * u * t * (p[2].y - p[1].y) + t * t * (p[3].y - p[2].y))};
  }
};

// Per subpath, its outline read as closed, as a fill reads it.
std::vector<std::vector<Segment>> contours(const BezierPath& path) {
  std::vector<std::vector<Segment>> list;
  Point start, current;
  bool open = false;
  auto lineTo = [&](Point to) {
    if (to != current) list.back().push_back({{current, current, to, to}, true});
    current = to;
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    const PathElement kind = path.elementAt(i, points);
    if (kind != PathElement::Move && list.empty()) continue;
    switch (kind) {
      case PathElement::Move:
        if (open) lineTo(start);
        list.emplace_back();
        start = current = points[0];
        open = true;
        break;
      case PathElement::Line: lineTo(points[0]); break;
      case PathElement::Curve:
        list.back().push_back({{current, points[0], points[1], points[2]}, false});
        current = points[2];
        break;
      case PathElement::Close:
        lineTo(start);
        open = false;
        break;
    }
  }
  if (open) lineTo(start);
  return list;
}

std::vector<Segment> segments(const BezierPath& path) {
  std::vector<Segment> list;
  for (const std::vector<Segment>& outline : contours(path)) list.insert(list.end(), outline.begin(), outline.end());
  return list;
}

// The parameters in (0, 1) where the cubic's y turns, ascending; returns how many.
int yTurns(const Segment& s, double turns[2]) {
  const double a = -s.p[0].y + 3 * s.p[1].y - 3 * s.p[2].y + s.p[3].y;
  const double b = 2 * (s.p[0].y - 2 * s.p[1].y + s.p[2].y);
  const double c = s.p[1].y - s.p[0].y;
  double roots[2];
  int found = 0;
  if (std::fabs(a) < 1e-14 * (std::fabs(b) + std::fabs(c) + 1e-300)) {
    if (b != 0) roots[found++] = -c / b;
  } else if (const double discriminant = b * b - 4 * a * c; discriminant >= 0) {
    roots[found++] = (-b + std::sqrt(discriminant)) / (2 * a);
    roots[found++] = (-b - std::sqrt(discriminant)) / (2 * a);
  }
  int count = 0;
  for (int i = 0; i < found; ++i) {
    if (roots[i] > 0 && roots[i] < 1) turns[count++] = roots[i];
  }
  if (count == 2 && turns[0] > turns[1]) std::swap(turns[0], turns[1]);
  return count;
}

int crossingsRightOf(const Segment& s, Point point) {
  double cuts[4] = {0, 1, 1, 1};
  int pieces = 1;
  if (!s.line) {
    if (point.y < std::min({s.p[0].y, s.p[1].y, s.p[2].y, s.p[3].y}) ||
        point.y > std::max({s.p[0].y, s.p[1].y, s.p[2].y, s.p[3].y})) {
      return 0;
    }
    pieces += yTurns(s, cuts + 1);
    cuts[pieces] = 1;
  }
  int count = 0;
  for (int i = 0; i < pieces; ++i) {
    double low = cuts[i], high = cuts[i + 1];
    const Point from = s.at(low), to = s.at(high);
    if ((from.y <= point.y) == (to.y <= point.y)) continue;
    double x;
    const double minX = std::min({s.p[0].x, s.p[1].x, s.p[2].x, s.p[3].x});
    const double maxX = std::max({s.p[0].x, s.p[1].x, s.p[2].x, s.p[3].x});
    if (s.line) {
      x = from.x + (point.y - from.y) * (to.x - from.x) / (to.y - from.y);
    } else if (point.x < minX || point.x > maxX) {
      x = minX;  // the whole curve lies to one side: where exactly does not matter
    } else {
      const bool rising = to.y > from.y;
      for (int step = 0; step < 80; ++step) {
        const double middle = 0.5 * (low + high);
        ((s.at(middle).y <= point.y) == rising ? low : high) = middle;
      }
      x = s.at(0.5 * (low + high)).x;
    }
    if (x > point.x) ++count;
  }
  return count;
}

bool contains(const std::vector<Segment>& outline, Point point) {
  int count = 0;
  for (const Segment& s : outline) count += crossingsRightOf(s, point);
  return count % 2 == 1;
}

// How far q lies from the segment a b.
double chordDistance(Point a, Point b, Point q) {
  const double dx = b.x - a.x, dy = b.y - a.y, lengthSquared = dx * dx + dy * dy;
  const double t = lengthSquared > 0 ? std::clamp(((q.x - a.x) * dx + (q.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0;
  return std::hypot(a.x + t * dx - q.x, a.y + t * dy - q.y);
}

// Whether some segment passes within `limit` of the point: halves whose control points all lie further away in x or
// y are passed over, and a half as flat as a quarter of the limit is measured as its chord. Exact however a cubic
// loops, where searching about the nearest of some samples can miss the branch that passes the point.
bool nearOutlines(const std::vector<Segment>& outline, Point point, double limit) {
  for (const Segment& s : outline) {
    std::vector<Cubic> stack{{s.p[0], s.p[1], s.p[2], s.p[3]}};
    while (!stack.empty()) {
      const Cubic p = stack.back();
      stack.pop_back();
      auto beyond = [&](double Point::*axis) {
        return std::all_of(p.begin(), p.end(), [&](Point q) { return q.*axis < point.*axis - limit; }) ||
               std::all_of(p.begin(), p.end(), [&](Point q) { return q.*axis > point.*axis + limit; });
      };
      if (beyond(&Point::x) || beyond(&Point::y)) continue;
      const double bend = std::max(chordDistance(p[0], p[3], p[1]), chordDistance(p[0], p[3], p[2]));
      if (bend > limit / 4 && stack.size() < 200) {
        const auto [first, second] = cutAt(p, 0.5);
        stack.push_back(second);
        stack.push_back(first);
      } else if (chordDistance(p[0], p[3], point) <= limit) {
        return true;
      }
    }
  }
  return false;
}

bool polygonal(const BezierPath& path) {
  for (int i = 0; i < path.elementCount(); ++i) {
    if (path.elementAt(i) == PathElement::Curve) return false;
  }
  return true;
}

// The length across the slab's middle, at height y, of where the operation of the two even-odd polygons holds.
double lengthAcross(Operation operation, const std::vector<Segment>& a, const std::vector<Segment>& b, double y) {
  std::vector<std::pair<double, int>> crossings;  // x, and which polygon's outline
  for (int which = 0; which < 2; ++which) {
    for (const Segment& s : which == 0 ? a : b) {
      const Point p = s.p[0], q = s.p[3];
      if ((p.y <= y) != (q.y <= y)) crossings.push_back({p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y), which});
    }
  }
  std::sort(crossings.begin(), crossings.end());
  double length = 0;
  bool inside[2] = {false, false};
  for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
    inside[crossings[i].second] = !inside[crossings[i].second];
    if (combine(operation, inside[0], inside[1])) length += crossings[i + 1].first - crossings[i].first;
  }
  return length;
}

// The area where the operation of two even-odd polygons holds, exactly: between consecutive heights of the
// vertices and of the points where edges cross, each polygon is a set of trapezoids, so the length across is linear
// in the height and its value at the middle of a slab times the slab's height is the slab's area.
double exactArea(Operation operation, const std::vector<Segment>& a, const std::vector<Segment>& b) {
  std::vector<const Segment*> all;
  for (const Segment& s : a) all.push_back(&s);
  for (const Segment& s : b) all.push_back(&s);
  std::vector<double> heights;
  for (const Segment* s : all) heights.push_back(s->p[0].y);
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      const Point p0 = all[i]->p[0], p1 = all[i]->p[3], q0 = all[j]->p[0], q1 = all[j]->p[3];
      const double d = (p1.x - p0.x) * (q1.y - q0.y) - (p1.y - p0.y) * (q1.x - q0.x);
      if (d == 0) continue;
      const double t = ((q0.x - p0.x) * (q1.y - q0.y) - (q0.y - p0.y) * (q1.x - q0.x)) / d;
      const double u = ((q0.x - p0.x) * (p1.y - p0.y) - (q0.y - p0.y) * (p1.x - p0.x)) / d;
      if (t > 0 && t < 1 && u > 0 && u < 1) heights.push_back(p0.y + t * (p1.y - p0.y));
    }
  }
  std::sort(heights.begin(), heights.end());
  double area = 0;
  for (std::size_t i = 0; i + 1 < heights.size(); ++i) {
    if (heights[i + 1] > heights[i]) {
      area += (heights[i + 1] - heights[i]) * lengthAcross(operation, a, b, 0.5 * (heights[i] + heights[i + 1]));
    }
  }
  return area;
}

// Green's theorem on a closed outline, cubics by sixteen chords each (enough to tell a hairline from a shape),
// about the outline's first point so that a tiny piece far out keeps its digits.
double signedArea(const std::vector<Segment>& outline) {
  if (outline.empty()) return 0;
  const Point o = outline.front().p[0];
  double total = 0;
  for (const Segment& s : outline) {
    const int chords = s.line ? 1 : 16;
    for (int i = 0; i < chords; ++i) {
      const Point p = s.at(double(i) / chords), q = s.at(double(i + 1) / chords);
      total += 0.5 * ((p.x - o.x) * (q.y - o.y) - (q.x - o.x) * (p.y - o.y));
    }
  }
  return total;
}

// The outline in sixteen chords a cubic.
std::vector<Segment> chords(const std::vector<Segment>& outline) {
  std::vector<Segment> lines;
  for (const Segment& s : outline) {
    const int count = s.line ? 1 : 16;
    for (int i = 0; i < count; ++i) {
      const Point p = s.at(double(i) / count), q = s.at(double(i + 1) / count);
      lines.push_back({{p, p, q, q}, true});
    }
  }
  return lines;
}

double perimeter(const std::vector<Segment>& outline) {
  double total = 0;
  for (const Segment& s : outline) {
    constexpr int kChords = 16;
    for (int i = 0; i < kChords; ++i) {
      const Point p = s.at(double(i) / kChords), q = s.at(double(i + 1) / kChords);
      total += std::hypot(q.x - p.x, q.y - p.y);
    }
  }
  return total;
}

std::string at(const char* what, Point point) { return platform::formatString("%s at %.17g %.17g", what, point.x, point.y); }

}  // namespace

bool evenOddContains(const BezierPath& path, Point point) { return contains(segments(path), point); }

std::string judge(Operation operation, const BezierPath& a, const BezierPath& b, const BezierPath& result,
                  std::mt19937& random, const Tolerance& tolerance) {
  for (int i = 0; i < result.elementCount(); ++i) {
    Point points[3];
    const PathElement kind = result.elementAt(i, points);
    for (int k = 0; k < (kind == PathElement::Curve ? 3 : kind == PathElement::Close ? 0 : 1); ++k) {
      if (!std::isfinite(points[k].x) || !std::isfinite(points[k].y)) return "a coordinate is not finite";
    }
  }
  BezierPath both = a;
  both.appendPath(b);
  if (both.isEmpty()) return result.isEmpty() ? "" : "a result from nothing";
  const platform::Rect frame = both.controlPointBounds();
  const double size = std::max(frame.size.width, frame.size.height);
  // Far from the origin, coordinates hold the shapes to their last digits only: no distance finer than a few of
  // those is told.
  const double magnitude = std::max({std::fabs(frame.origin.x), std::fabs(frame.origin.y),
                                     std::fabs(frame.origin.x + frame.size.width),
                                     std::fabs(frame.origin.y + frame.size.height)});
  const double grain = 8 * (std::nextafter(magnitude, INFINITY) - magnitude);
  const double apart = std::max(tolerance.apartness * size, grain);
  const double near = std::max(tolerance.nearness * size, grain);
  const std::vector<Segment> outlineA = segments(a), outlineB = segments(b), outlineResult = segments(result);
  std::vector<Segment> operands = outlineA;
  operands.insert(operands.end(), outlineB.begin(), outlineB.end());
  auto expected = [&](Point point) { return combine(operation, contains(outlineA, point), contains(outlineB, point)); };

  std::uniform_real_distribution<double> unit(-0.05, 1.05);
  for (int i = 0; i < 300; ++i) {
    const Point point{frame.origin.x + unit(random) * frame.size.width, frame.origin.y + unit(random) * frame.size.height};
    if (contains(outlineResult, point) != expected(point) && !nearOutlines(operands, point, apart)) {
      return at("fills wrongly", point);
    }
  }
  // A piece thinner than the tolerance on average, hugging an edge, passes every test of sides: its area tells. The
  // lobes of an outline that crosses itself cancel in its signed area, so a piece that looks thin is measured again
  // as its even-odd fill, in chords.
  for (const std::vector<Segment>& outline : contours(result)) {
    // A sliver's width is about twice its area over its perimeter.
    const double thin = perimeter(outline) / 2 * std::max(tolerance.hairline * size, grain);
    if (std::fabs(signedArea(outline)) < thin && exactArea(Operation::Union, chords(outline), {}) < thin) {
      return at("a piece without width starts", outline.front().p[0]);
    }
  }
  for (const Segment& s : outlineResult) {
    // A piece shorter than the tolerance has no side to tell; a closing line between two roundings of one point is.
    if (std::hypot(s.p[3].x - s.p[0].x, s.p[3].y - s.p[0].y) < near && s.line) continue;
    // Away from simple fractions, where outlines that touch at a point meet. Where two outlines part at a tiny angle,
    // the wedge between them is thinner than any bound near its tip, so a piece counts as without width only where
    // two of its three points are.
    int sameSides = 0;
    for (double t : {0.2718281828, 0.5772156649, 0.8414709848}) {
      const Point point = s.at(t);
      const Point d = s.derivative(t);
      const double length = std::hypot(d.x, d.y);
      if (length == 0) continue;
      const Point normal{-d.y / length, d.x / length};
      if (!nearOutlines(operands, point, apart)) return at("the outline leaves the operands' outlines", point);
      bool parts = false;
      // Down to the nearness itself, in steps fine enough not to step over a crescent just wider than it.
      const double finest = 0.4 * near;
      for (double h = 1e-3 * size; !parts; h = std::max(h / 4, finest)) {
        parts = expected({point.x + h * normal.x, point.y + h * normal.y}) !=
                expected({point.x - h * normal.x, point.y - h * normal.y});
        if (h == finest) break;
      }
      // Where the operands' outlines lie within the nearness of each other, either reading holds.
      if (!parts && !(nearOutlines(outlineA, point, near) && nearOutlines(outlineB, point, near)) && ++sameSides == 2) {
        return at("the outline has the same fill on both sides", point);
      }
    }
  }
  if (polygonal(a) && polygonal(b)) {
    if (!polygonal(result)) return "curves from straight operands";
    const double area = exactArea(operation, outlineA, outlineB);
    const double got = exactArea(Operation::Union, outlineResult, {});
    if (std::fabs(got - area) > perimeter(operands) * apart + 1e-12 * size * size) {
      return platform::formatString("area %.17g where %.17g is exact", got, area);
    }
  }
  return "";
}

}  // namespace booleancheck
