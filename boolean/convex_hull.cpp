#include "boolean/convex_hull.h"

#include <algorithm>

#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"

using platform::Point;

namespace {

bool sortsAfter(Point first, Point second) {
  if (PBAreValuesClose(first.x, second.x)) return first.y > second.y;
  return first.x > second.x;
}

// Neighbour swaps: four points, and the x tie rule is not a strict weak ordering.
void sortByX(Point* points) {
  int lastSwap = PBConvexHullInputCount - 1;
  while (lastSwap > 0) {
    int newLastSwap = 0;
    for (int i = 0; i < lastSwap; ++i) {
      if (sortsAfter(points[i], points[i + 1])) {
        std::swap(points[i], points[i + 1]);
        newLastSwap = i;
      }
    }
    lastSwap = newLastSwap;
  }
}

bool turnsRightOrStraight(Point point1, Point point2, Point point3) {
  const double turn = PBCounterClockwiseTurn(point1, point2, point3);
  return turn < 0 || PBAreValuesClose(turn, 0);
}

}  // namespace

int PBConvexHullBuildFromPoints(const Point points[PBConvexHullInputCount], Point hull[PBConvexHullInputCount + 1]) {
  // The chains hold indices into the sorted points: the clipping builds two hulls per clip, and copying and
  // clearing point arrays cost more than the tests themselves.
  Point sorted[PBConvexHullInputCount] = {points[0], points[1], points[2], points[3]};
  sortByX(sorted);

  // The two chains together visit at most 2n - 1 points before the tail is dropped.
  int chain[2 * PBConvexHullInputCount];
  int count = 0;
  for (int i = 0; i < PBConvexHullInputCount; ++i) {
    while (count >= 2 && turnsRightOrStraight(sorted[chain[count - 2]], sorted[chain[count - 1]], sorted[i])) --count;
    chain[count++] = i;
  }
  const int lowerCount = count + 1;
  for (int i = PBConvexHullInputCount - 2; i >= 0; --i) {
    while (count >= lowerCount && turnsRightOrStraight(sorted[chain[count - 2]], sorted[chain[count - 1]], sorted[i])) {
      --count;
    }
    chain[count++] = i;
  }
  // The upper chain ends on the first point, which is the wanted repetition. A convex hull of four
  // points has at most four corners; the bound keeps tolerance quirks from overrunning `hull`.
  count = std::min(count, PBConvexHullInputCount + 1);
  for (int i = 0; i < count; ++i) hull[i] = sorted[chain[i]];
  return count - 1;
}
