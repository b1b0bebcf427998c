#include "geometry/path_cleanup.h"

#include <algorithm>

#include "geometry/element_walk.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

BezierPath bezierPathByRemovingTrailingElements(const BezierPath& path, int count) {
  BezierPath result = emptyCopy(path);
  const int kept = path.elementCount() - std::clamp(count, 0, path.elementCount());
  walkElements(path, [&](const WalkedElement& element) {
    if (element.index >= kept) return false;
    appendElement(result, element.kind, element.points);
    return true;
  });
  return result;
}

BezierPath bezierPathByStrippingRedundantElements(const BezierPath& path) {
  BezierPath result = emptyCopy(path);
  Point previous{-1, -1};
  const int last = path.elementCount() - 1;
  walkElements(path, [&](const WalkedElement& element) {
    switch (element.kind) {
      case PathElement::Move:
        if (element.index != last) result.moveTo(element.points[0]);
        previous = element.points[0];
        break;
      case PathElement::Line:
        if (element.points[0] != previous) result.lineTo(element.points[0]);
        previous = element.points[0];
        break;
      case PathElement::Curve:
        if (element.points[0] != previous || element.points[1] != previous || element.points[2] != previous)
          result.curveTo(element.points[2], element.points[0], element.points[1]);
        previous = element.points[2];
        break;
      case PathElement::Close:
        result.closePath();
        break;
    }
    return true;
  });
  return result;
}
