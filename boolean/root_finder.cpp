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
  // 2^-63: the single-precision ldexp the search was first tuned with gives exactly this.
  constexpr double tolerance = 0x1p-63;
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

// The search itself. Below `stopDepth` a piece that still has sign changes is handed to `onPiece` whole instead
// of being split further; every step above it is the full search's own, so the full search's roots from that
// piece lie within its x span. A piece `prune` rejects is dropped with all its roots.
template <typename OnRoot, typename OnPiece, typename Prune>
void searchRoots(const Point* points, int degree, int depth, int stopDepth, const OnRoot& onRoot,
                 const OnPiece& onPiece, const Prune& prune) {
  const int changes = PBRootCrossingCount(points, degree);
  if (changes == 0 || prune(points[0].x, points[degree].x)) return;
  // Several changes stop at the same depth as one, so a polygon that keeps them cannot recurse forever;
  // at that depth the piece is narrower than any double step and its middle is the root.
  if (depth >= PBRootMaximumDepth) {
    onRoot((points[0].x + points[degree].x) / 2);
    return;
  }
  if (changes == 1) {
    Point intercept;
    if (PBRootFlatIntercept(points, degree, &intercept)) {
      onRoot(intercept.x);
      return;
    }
  }
  if (depth >= stopDepth) {
    onPiece(points[0].x, points[degree].x, changes == 1);
    return;
  }
  Point left[PBRootMaximumDegree + 1];
  Point right[PBRootMaximumDegree + 1];
  splitInHalf(points, degree, left, right);
  searchRoots(left, degree, depth + 1, stopDepth, onRoot, onPiece, prune);
  searchRoots(right, degree, depth + 1, stopDepth, onRoot, onPiece, prune);
}

}  // namespace

void PBRootSearch(const Point* points, int degree, int depth, const PBRootBlock& block) {
  searchRoots(
      points, degree, depth, PBRootMaximumDepth, block, [](double, double, bool) {},
      [](double, double) { return false; });
}

void PBRootsOfControlPolygon(const Point* points, int degree, const PBRootBlock& block) {
  if (degree < 1 || degree > PBRootMaximumDegree) return;
  PBRootSearch(points, degree, 0, block);
}

void PBRootSpansOfControlPolygon(const Point* points, int degree, int stopDepth, const PBRootBlock& rootBlock,
                                 const PBRootSpanBlock& spanBlock, const PBRootPruneBlock& pruneBlock) {
  if (degree < 1 || degree > PBRootMaximumDegree) return;
  searchRoots(points, degree, 0, stopDepth, rootBlock, spanBlock, pruneBlock);
}
