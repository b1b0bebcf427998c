#include "geometry/cubic_segments.h"

#include <algorithm>
#include <cmath>

#include "geometry/geometry_functions.h"

using platform::Point;

namespace {

constexpr int kFormDegree = 5;
constexpr int kMaximumRootDepth = 64;

// Weights of the products of the derivative (rows) and the offset control points (columns).
constexpr double kProductWeights[3][4] = {{1.0, 0.6, 0.3, 0.1}, {0.4, 0.6, 0.6, 0.4}, {0.1, 0.3, 0.6, 1.0}};

// (1 − t)·a + t·b rather than a + t·(b − a): between a and b it cannot overflow.
Point lerp(Point a, Point b, double t) { return {(1 - t) * a.x + t * b.x, (1 - t) * a.y + t * b.y}; }

int signChanges(const Point form[6]) {
  int changes = 0;
  bool previousNegative = form[0].y < 0;
  for (int i = 1; i <= kFormDegree; ++i) {
    const bool negative = form[i].y < 0;
    if (negative != previousNegative) ++changes;
    previousNegative = negative;
  }
  return changes;
}

// The two lines parallel to the chord that hold every control point cross y = 0 close
// enough together that the chord's own crossing is the root.
bool flatEnough(const Point form[6]) {
  const double a = form[0].y - form[kFormDegree].y;
  const double b = form[kFormDegree].x - form[0].x;
  const double c = form[0].x * form[kFormDegree].y - form[kFormDegree].x * form[0].y;
  double above = 0, below = 0;
  for (int i = 1; i < kFormDegree; ++i) {
    const double value = a * form[i].x + b * form[i].y + c;
    above = std::max(above, value);
    below = std::min(below, value);
  }
  if (a == 0) return false;
  const double intercept1 = (above - c) / a, intercept2 = (below - c) / a;
  const double error = 0.5 * std::abs(intercept1 - intercept2);
  return error < std::ldexp(1.0, -65);
}

// Rounding may put the crossing just outside the interval searched; it is kept inside.
double chordIntercept(const Point form[6]) {
  const double dx = form[kFormDegree].x - form[0].x, dy = form[kFormDegree].y - form[0].y;
  return std::clamp(form[0].x - form[0].y * dx / dy, form[0].x, form[kFormDegree].x);
}

}  // namespace

void splitCubicAtParameter(const Point segment[4], float t, Point left[4], Point right[4]) {
  const double u = t;
  const Point q1 = lerp(segment[0], segment[1], u), q2 = lerp(segment[1], segment[2], u),
              q3 = lerp(segment[2], segment[3], u);
  const Point r1 = lerp(q1, q2, u), r2 = lerp(q2, q3, u);
  const Point m = lerp(r1, r2, u);
  const Point l[4] = {segment[0], q1, r1, m}, r[4] = {m, r2, q3, segment[3]};
  std::copy(l, l + 4, left);
  std::copy(r, r + 4, right);
}

Point evaluateBezier(const Point* controlPoints, int degree, Point* left, Point* right, double t) {
  if (degree < 0 || degree > kFormDegree) return {};
  Point triangle[kFormDegree + 1][kFormDegree + 1];
  std::copy(controlPoints, controlPoints + degree + 1, triangle[0]);
  for (int row = 1; row <= degree; ++row) {
    for (int j = 0; j <= degree - row; ++j) triangle[row][j] = lerp(triangle[row - 1][j], triangle[row - 1][j + 1], t);
  }
  for (int row = 0; row <= degree; ++row) {
    if (left) left[row] = triangle[row][0];
    if (right) right[row] = triangle[degree - row][row];
  }
  return triangle[degree][0];
}

int findCurveRoots(const Point form[6], double* roots, int capacity, int depth) {
  if (capacity <= 0) return 0;
  const int changes = signChanges(form);
  if (changes == 0) return 0;
  // Past the depth limit (reached only by a single root, or by input that overflowed) the
  // interval itself is the answer.
  if (depth >= kMaximumRootDepth) {
    roots[0] = (form[0].x + form[kFormDegree].x) * 0.5;
    return 1;
  }
  if (changes == 1 && flatEnough(form)) {
    roots[0] = chordIntercept(form);
    return 1;
  }
  Point left[kFormDegree + 1], right[kFormDegree + 1];
  evaluateBezier(form, kFormDegree, left, right, 0.5);
  const int leftCount = findCurveRoots(left, roots, capacity, depth + 1);
  return leftCount + findCurveRoots(right, roots + leftCount, capacity - leftCount, depth + 1);
}

Point nearestPointOnCurve(const Point segment[4], double* t, Point p) {
  for (int i = 0; i < 4; ++i) {
    if (!std::isfinite(segment[i].x) || !std::isfinite(segment[i].y) || !std::isfinite(p.x) || !std::isfinite(p.y)) {
      if (t) *t = 0;
      return segment[0];
    }
  }
  // The roots do not change with scale: at a power-of-two scale that brings the largest
  // coordinate near 1, the products neither overflow nor vanish at any magnitude.
  double largest = std::max(std::abs(p.x), std::abs(p.y));
  for (int i = 0; i < 4; ++i) largest = std::max({largest, std::abs(segment[i].x), std::abs(segment[i].y)});
  const double scale = largest > 0 ? std::ldexp(1.0, -std::ilogb(largest)) : 1;
  Point scaled[4];
  for (int i = 0; i < 4; ++i) scaled[i] = {segment[i].x * scale, segment[i].y * scale};
  const Point target{p.x * scale, p.y * scale};
  Point offsets[4], derivative[3];
  for (int i = 0; i < 4; ++i) offsets[i] = subtractPoints(scaled[i], target);
  for (int i = 0; i < 3; ++i) derivative[i] = {3 * (scaled[i + 1].x - scaled[i].x), 3 * (scaled[i + 1].y - scaled[i].y)};
  Point form[kFormDegree + 1];
  for (int i = 0; i <= kFormDegree; ++i) form[i] = {double(i) / kFormDegree, 0};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      const Point d = derivative[row], c = offsets[column];
      form[row + column].y += (d.x * c.x + d.y * c.y) * kProductWeights[row][column];
    }
  }
  double candidates[kFormDegree + 2];
  candidates[0] = 0;
  const int rootCount = findCurveRoots(form, candidates + 1, kFormDegree, 0);
  candidates[rootCount + 1] = 1;
  double bestT = 0, bestDistance = INFINITY;
  for (int i = 0; i < rootCount + 2; ++i) {
    const Point candidate = evaluateBezier(scaled, 3, nullptr, nullptr, candidates[i]);
    const double dx = candidate.x - target.x, dy = candidate.y - target.y;
    const double distance = dx * dx + dy * dy;
    if (distance < bestDistance) {
      bestDistance = distance;
      bestT = candidates[i];
    }
  }
  if (t) *t = bestT;
  return evaluateBezier(segment, 3, nullptr, nullptr, bestT);
}

float tangentAngleOfCurve(const Point segment[4], float t) {
  const double u = std::clamp(t, 0.0f, 1.0f);
  // The angle does not depend on the scale: the points are brought to magnitudes below 1 by a power of two (exact),
  // so that the derivative of a segment near the largest double does not overflow into infinity minus infinity.
  double largest = 0;
  for (int i = 0; i < 4; ++i) largest = std::max({largest, std::abs(segment[i].x), std::abs(segment[i].y)});
  int exponent = 0;
  std::frexp(largest, &exponent);
  Point s[4];
  for (int i = 0; i < 4; ++i) s[i] = {std::ldexp(segment[i].x, -exponent), std::ldexp(segment[i].y, -exponent)};
  const Point c{3 * (s[1].x - s[0].x), 3 * (s[1].y - s[0].y)};
  const Point b{3 * (s[2].x - s[1].x) - c.x, 3 * (s[2].y - s[1].y) - c.y};
  const Point a{s[3].x - s[0].x - c.x - b.x, s[3].y - s[0].y - c.y - b.y};
  const double dx = 3 * a.x * u * u + 2 * b.x * u + c.x, dy = 3 * a.y * u * u + 2 * b.y * u + c.y;
  return static_cast<float>(std::atan2(dy, dx));
}
