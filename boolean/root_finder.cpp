#include "boolean/root_finder.h"

#include <algorithm>
#include <cmath>

#include "boolean/line_equation.h"

using platform::Point;

int PBRootSign(double value) { return value < 0 ? -1 : 1; }

int PBRootCrossingCount(const Point* points, int degree) {
  int count = 0;
  int sign = PBRootSign(points[0].y);
  for (int i = 1; i <= degree; ++i) {
    const int next = PBRootSign(points[i].y);
    if (next != sign) ++count;
    sign = next;
  }
  return count;
}

bool PBRootFlatIntercept(const Point* points, int degree, Point* intercept) {
  const PBLineEquation chord = PBLineEquationThroughPoints(points[0], points[degree]);
  double upper = 0;
  double lower = 0;
  for (int i = 1; i < degree; ++i) {
    const double distance = PBLineEquationDistance(chord, points[i]);
    upper = std::max(upper, distance);
    lower = std::min(lower, distance);
  }
  const PBLineEquation axis = PBLineEquationMake(0, 1, 0);
  const double intercept1 = PBLineEquationsMeet(PBLineEquationShifted(chord, -upper), axis).x;
  const double intercept2 = PBLineEquationsMeet(PBLineEquationShifted(chord, -lower), axis).x;
  // The tolerance is formed in single precision, as the search was first tuned with it.
  const double tolerance = static_cast<double>(std::ldexp(1.0f, -63));
  if (!(std::max(intercept1, intercept2) - std::min(intercept1, intercept2) < tolerance)) return false;
  const PBLineMeeting meeting = PBLineEquationsMeet(chord, axis);
  *intercept = {meeting.x, -meeting.negatedY};
  return true;
}

namespace {

// De Casteljau at 0.5 on both coordinates.
void splitInHalf(const Point* points, int degree, Point* left, Point* right) {
  Point work[PBRootMaximumDegree + 1];
  std::copy(points, points + degree + 1, work);
  left[0] = work[0];
  right[degree] = work[degree];
  for (int level = 1; level <= degree; ++level) {
    for (int i = 0; i <= degree - level; ++i) {
      work[i] = {(work[i].x + work[i + 1].x) / 2, (work[i].y + work[i + 1].y) / 2};
    }
    left[level] = work[0];
    right[degree - level] = work[degree - level];
  }
}

}  // namespace

void PBRootSearch(const Point* points, int degree, int depth, const PBRootBlock& block) {
  const int changes = PBRootCrossingCount(points, degree);
  if (changes == 0) return;
  // Several changes stop at the same depth as one, so a polygon that keeps them cannot recurse forever;
  // at that depth the piece is narrower than any double step and its middle is the root.
  if (depth >= PBRootMaximumDepth) {
    block((points[0].x + points[degree].x) / 2);
    return;
  }
  if (changes == 1) {
    Point intercept;
    if (PBRootFlatIntercept(points, degree, &intercept)) {
      block(intercept.x);
      return;
    }
  }
  Point left[PBRootMaximumDegree + 1];
  Point right[PBRootMaximumDegree + 1];
  splitInHalf(points, degree, left, right);
  PBRootSearch(left, degree, depth + 1, block);
  PBRootSearch(right, degree, depth + 1, block);
}

void PBRootsOfControlPolygon(const Point* points, int degree, const PBRootBlock& block) {
  if (degree < 1 || degree > PBRootMaximumDegree) return;
  PBRootSearch(points, degree, 0, block);
}
