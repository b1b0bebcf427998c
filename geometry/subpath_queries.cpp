#include "geometry/subpath_queries.h"

#include <numbers>

#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

bool inPath(const BezierPath& path, int element) { return element >= 0 && element < path.elementCount(); }

}  // namespace

int subpathStartingElementForElement(const BezierPath& path, int element) {
  if (!inPath(path, element)) return -1;
  for (int i = element; i >= 0; --i) {
    if (path.elementAt(i) == PathElement::Move) return i;
  }
  return -1;
}

int subpathEndingElementForElement(const BezierPath& path, int element) {
  if (!inPath(path, element)) return -1;
  const int count = path.elementCount();
  const int from = path.elementAt(element) == PathElement::Move ? element + 1 : element;
  for (int i = from; i < count; ++i) {
    if (path.elementAt(i) == PathElement::Move) return i - 1;
  }
  return count - 1;
}

bool subpathContainingElementIsClosed(const BezierPath& path, int element) {
  const int last = subpathEndingElementForElement(path, element);
  if (last < 0) return false;
  if (path.elementAt(last) == PathElement::Close) return true;
  const int first = subpathStartingElementForElement(path, element);
  if (first < 0) return false;
  return endPointOfElement(path, last) == firstPointOfElement(path, first);
}

bool isPathClosed(const BezierPath& path) { return subpathContainingElementIsClosed(path, 0); }

float tangentAtStartOfSubpath(const BezierPath& path, int element) {
  const int first = subpathStartingElementForElement(path, element);
  if (first < 0 || first + 1 >= path.elementCount()) return 0;
  return slopeBetweenPoints(firstPointOfElement(path, first), firstPointOfElement(path, first + 1)) +
         std::numbers::pi_v<float>;
}

float tangentAtEndOfSubpath(const BezierPath& path, int element) {
  const int last = subpathEndingElementForElement(path, element);
  if (last < 1) return 0;
  Point points[3];
  if (path.elementAt(last, points) == PathElement::Curve) return slopeBetweenPoints(points[1], points[2]);
  return slopeBetweenPoints(endPointOfElement(path, last - 1), firstPointOfElement(path, last));
}
