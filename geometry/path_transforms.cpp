#include "geometry/path_transforms.h"

#include <cmath>
#include <numbers>

#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"
#include "geometry/subpath_queries.h"
#include "platform/graphics/rect_functions.h"

using platform::AffineTransform;
using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

BezierPath scaledAbout(const BezierPath& path, double sx, double sy, Point about) {
  if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(about.x) || !std::isfinite(about.y)) return path;
  AffineTransform transform;
  transform.translate(about.x, about.y);
  transform.scaleXBy(sx, sy);
  transform.translate(-about.x, -about.y);
  BezierPath copy = path;
  copy.transformUsingAffineTransform(transform);
  return copy;
}

float wrappedTurn(float turn) {
  constexpr float pi = std::numbers::pi_v<float>;
  if (turn > pi) return turn - 2 * pi;
  if (turn <= -pi) return turn + 2 * pi;
  return turn;
}

}  // namespace

Point centreOfBounds(const BezierPath& path) {
  const platform::Rect bounds = path.bounds();
  return {platform::midX(bounds), platform::midY(bounds)};
}

BezierPath scaledPath(const BezierPath& path, float factor) { return scaledPath(path, factor, centreOfBounds(path)); }

BezierPath scaledPath(const BezierPath& path, float factor, Point about) {
  if (factor == 1) return path;
  return scaledAbout(path, factor, factor, about);
}

BezierPath rotatedPath(const BezierPath& path, float radians) { return rotatedPath(path, radians, centreOfBounds(path)); }

BezierPath rotatedPath(const BezierPath& path, float radians, Point about) {
  if (radians == 0 || !std::isfinite(radians) || !std::isfinite(about.x) || !std::isfinite(about.y)) return path;
  BezierPath copy = path;
  copy.transformUsingAffineTransform(rotationAboutPoint(radians, about));
  return copy;
}

BezierPath insetPathBy(const BezierPath& path, float amount) {
  const platform::Rect bounds = path.bounds();
  if (amount == 0 || !std::isfinite(amount) || bounds.size.width == 0 || bounds.size.height == 0) return path;
  const platform::Rect inner = platform::insetRect(bounds, amount, amount);
  const float sx = static_cast<float>(inner.size.width / bounds.size.width);
  const float sy = static_cast<float>(inner.size.height / bounds.size.height);
  return scaledAbout(path, sx, sy, centreOfBounds(path));
}

BezierPath horizontallyFlippedPath(const BezierPath& path, Point about) { return scaledAbout(path, -1, 1, about); }

BezierPath verticallyFlippedPath(const BezierPath& path, Point about) { return scaledAbout(path, 1, -1, about); }

BezierPath horizontallyFlippedPath(const BezierPath& path) { return horizontallyFlippedPath(path, centreOfBounds(path)); }

BezierPath verticallyFlippedPath(const BezierPath& path) { return verticallyFlippedPath(path, centreOfBounds(path)); }

float minimumCornerAngle(const BezierPath& path) {
  constexpr float pi = std::numbers::pi_v<float>;
  const int count = path.elementCount();
  if (count < 2) return pi;
  float smallest = pi;
  Point previous;
  walkElements(path, [&](const WalkedElement& element) {
    if (element.kind == PathElement::Move) {
      previous = element.end;
      return true;
    }
    const int next = element.index + 1;
    if (next < count && path.elementAt(next) != PathElement::Move) {
      // The next element shares this subpath, so its end (a close's included) is known here.
      Point points[3];
      const PathElement kind = path.elementAt(next, points);
      const Point after = kind == PathElement::Curve ? points[2] : kind == PathElement::Close ? element.subpathStart : points[0];
      const float turn = std::abs(wrappedTurn(turnAngle(previous, element.end, after)));
      if (turn < smallest) smallest = turn;
    }
    previous = element.end;
    return true;
  });
  return smallest;
}

std::optional<BezierPath> bezierPathByIteratingWithDelegate(const BezierPath& path, PathIterationDelegate* delegate,
                                                            void* contextInfo) {
  if (!delegate || path.isEmpty()) return std::nullopt;
  BezierPath result;
  int subpathIndex = -1;
  bool closed = false;
  Point points[4];
  walkElements(path, [&](const WalkedElement& element) {
    if (element.kind == PathElement::Curve) {
      points[0] = element.points[2];
      points[1] = element.points[0];
      points[2] = element.points[1];
    } else {
      if (element.kind == PathElement::Move) {
        closed = subpathContainingElementIsClosed(path, element.index);
        const int last = subpathEndingElementForElement(path, element.index);
        const int lastDrawing = closed && last > element.index ? last - 1 : last;
        points[3] = endPointOfElement(path, lastDrawing);
        ++subpathIndex;
      }
      points[0] = points[1] = points[2] = element.end;
    }
    delegate->path(result, element.index, element.kind, points, subpathIndex, closed, contextInfo);
    return true;
  });
  return result;
}
