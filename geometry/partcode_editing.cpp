#include "geometry/partcode_editing.h"

#include <cmath>
#include <numbers>

#include "geometry/cubic_segments.h"
#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"
#include "geometry/partcode_hit_testing.h"
#include "geometry/partcodes.h"
#include "geometry/subpath_queries.h"
#include "platform/core/numeric.h"
#include "platform/graphics/finite_geometry.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

float& constraintAngle() {
  static float angle = 0.2617994f;
  return angle;
}

// An angle step of 0 (or one that is not finite) constrains nothing.
Point snappedAbout(Point anchor, Point target) {
  const float step = constraintAngle();
  if (step == 0 || !std::isfinite(step)) return target;
  float angle = slopeBetweenPoints(anchor, target);
  const float radius = distanceBetweenPoints(anchor, target);
  const float remainder = std::fmod(angle, step);
  if (remainder > step * 0.5f) {
    angle += step - remainder;
  } else {
    angle -= remainder;
  }
  return pointAtAngleAndDistance(anchor, angle, radius);
}

// Moves point `index` of element `element` by d.
void shiftPoint(BezierPath& path, int element, int index, Point d) {
  const int partcode = partcodeForElementAndPoint(element, index);
  const Point p = controlPointForPartcode(path, partcode);
  setControlPoint(path, {p.x + d.x, p.y + d.y}, partcode);
}

PathElement kindAt(const BezierPath& path, int element) {
  return element >= 0 && element < path.elementCount() ? path.elementAt(element) : PathElement::Move;
}

struct OppositeControl {
  int partcode = 0;  // 0: none
  Point vertex;
};

OppositeControl oppositeControlPoint(const BezierPath& path, int element, int point, bool closed) {
  const int count = path.elementCount();
  if (point == 1) {
    const Point vertex = endPointOfElement(path, element);
    if (element < count - 1 && kindAt(path, element + 1) == PathElement::Curve)
      return {partcodeForElementAndPoint(element + 1, 0), vertex};
    const int first = subpathStartingElementForElement(path, element);
    if (closed && element == subpathEndingElementForElement(path, element) && kindAt(path, first + 1) == PathElement::Curve)
      return {partcodeForElementAndPoint(first + 1, 0), vertex};
    return {};
  }
  if (kindAt(path, element - 1) == PathElement::Curve)
    return {partcodeForElementAndPoint(element - 1, 1), endPointOfElement(path, element - 1)};
  const int last = subpathEndingElementForElement(path, element);
  if (closed && kindAt(path, element - 1) == PathElement::Move && kindAt(path, last) == PathElement::Curve)
    return {partcodeForElementAndPoint(last, 1), endPointOfElement(path, element - 1)};
  return {};
}

void moveAtDepth(BezierPath& path, int partcode, Point target, bool colinear, bool coradial, bool constrain,
                 int depth) {
  if (!isValidPartcode(path, partcode) || !platform::isFinitePoint(target)) return;
  const int element = elementIndexForPartcode(partcode), point = pointIndexForPartcode(partcode);
  const int count = path.elementCount();
  const PathElement kind = path.elementAt(element);
  const bool closed = subpathContainingElementIsClosed(path, element);
  const Point old = controlPointForPartcode(path, partcode);
  const PathElement nextKind = element < count - 1 ? path.elementAt(element + 1) : PathElement::Move;
  // Neighbouring control points follow the drag itself, not the snapped target.
  const Point d{platform::singlePrecision(target.x - old.x), platform::singlePrecision(target.y - old.y)};

  // Everything the move writes is worked out first: a displacement or distance beyond
  // single precision leaves the path as it was rather than writing infinities into it.
  OppositeControl opposite;
  Point mirrored;
  if (kind == PathElement::Curve && point != 2) {
    if (constrain)
      target = snappedAbout(point == 0 ? endPointOfElement(path, element - 1) : endPointOfElement(path, element), target);
    if (colinear) opposite = oppositeControlPoint(path, element, point, closed);
    if (opposite.partcode != 0) {
      const Point current = controlPointForPartcode(path, opposite.partcode);
      mirrored = coradial ? colinearPointForPoint(target, opposite.vertex)
                          : colinearPointForPoint(target, opposite.vertex, distanceBetweenPoints(current, opposite.vertex));
    }
  } else if (kind != PathElement::Curve && constrain && element > 0) {
    // The path's first move has no anchor to snap about.
    target = snappedAbout(endPointOfElement(path, element - 1), target);
  }
  if (!platform::isFinitePoint(d) || !platform::isFinitePoint(target) || !platform::isFinitePoint(mirrored)) return;

  if (kind == PathElement::Curve) {
    if (point == 2) {
      if (nextKind == PathElement::Curve) shiftPoint(path, element + 1, 0, d);
      shiftPoint(path, element, 1, d);
    } else if (opposite.partcode != 0) {
      setControlPoint(path, mirrored, opposite.partcode);
    }
    setControlPoint(path, target, partcode);
    return;
  }
  setControlPoint(path, target, partcode);
  if (nextKind == PathElement::Curve) shiftPoint(path, element + 1, 0, d);
  if (depth == 1 && kind == PathElement::Move && closed) {
    const int last = subpathEndingElementForElement(path, element);
    const int lastPartcode = partcodeForElementAndPoint(last, kindAt(path, last) == PathElement::Curve ? 2 : 0);
    moveAtDepth(path, lastPartcode, target, colinear, coradial, constrain, depth + 1);
  }
}

}  // namespace

void setConstraintAngle(float radians) { constraintAngle() = radians; }

Point colinearPointForPoint(Point p, Point centre, float radius) {
  const float angle = slopeBetweenPoints(centre, p) + std::numbers::pi_v<float>;
  return pointAtAngleAndDistance(centre, angle, radius);
}

Point colinearPointForPoint(Point p, Point centre) {
  return colinearPointForPoint(p, centre, distanceBetweenPoints(p, centre));
}

void colineariseVertex(const Point points[3], Point* a, Point* b) {
  const Point in = subtractPoints(points[1], points[0]), out = subtractPoints(points[2], points[1]);
  const double inLength = std::hypot(in.x, in.y), outLength = std::hypot(out.x, out.y);
  Point mean;
  if (inLength > 0) mean = addPoints(mean, {in.x / inLength, in.y / inLength});
  if (outLength > 0) mean = addPoints(mean, {out.x / outLength, out.y / outLength});
  const float angle = static_cast<float>(std::atan2(mean.y, mean.x));
  const Point backwards{std::cos(angle + std::numbers::pi_v<float>), std::sin(angle + std::numbers::pi_v<float>)};
  if (a) {
    const float distance = distanceBetweenPoints(points[0], points[1]);
    *a = {points[1].x + distance * backwards.x, points[1].y + distance * backwards.y};
  }
  if (b) {
    const float distance = distanceBetweenPoints(points[2], points[1]);
    *b = {points[1].x - distance * backwards.x, points[1].y - distance * backwards.y};
  }
}

void moveControlPointPartcode(BezierPath& path, int partcode, Point target, bool colinear, bool coradial,
                              bool constrainAngle) {
  moveAtDepth(path, partcode, target, colinear, coradial, constrainAngle, 1);
}

BezierPath deleteControlPointForPartcode(const BezierPath& path, int partcode) {
  const int deleted = elementIndexForPartcode(partcode);
  if (!isValidPartcode(path, partcode) || !isOnPathPartcode(path, partcode)) return path;
  const Point deletedPoint0 = firstPointOfElement(path, deleted);
  BezierPath result;
  walkElements(path, [&](const WalkedElement& element) {
    if (element.index == deleted) return true;
    if (deleted == 0 && element.index == 1) {
      result.moveTo(element.end);
    } else if (element.index == deleted + 1 && element.kind == PathElement::Curve) {
      result.curveTo(element.points[2], deletedPoint0, element.points[1]);
    } else {
      appendElement(result, element.kind, element.points);
    }
    return true;
  });
  return result;
}

std::optional<BezierPath> insertControlPointAtPoint(const BezierPath& path, Point p, float tolerance, int type) {
  float t = 0;
  const int hit = elementHitByPoint(path, p, tolerance, &t);
  if (hit < 1) return std::nullopt;
  const bool straightFirstPart = type == 1 || type == 3;
  const bool curvedHalves = type == 2 || type == 3;
  BezierPath result;
  walkElements(path, [&](const WalkedElement& element) {
    if (element.index != hit) {
      appendElement(result, element.kind, element.points);
      return true;
    }
    if (element.kind == PathElement::Curve) {
      const Point segment[4] = {element.start, element.points[0], element.points[1], element.points[2]};
      Point left[4], right[4];
      splitCubicAtParameter(segment, t, left, right);
      if (straightFirstPart) {
        result.lineTo(left[3]);
      } else {
        result.curveTo(left[3], left[1], left[2]);
      }
      result.curveTo(right[3], right[1], right[2]);
      return true;
    }
    // A line or a close, measured from its end point.
    const Point s = element.start, end = element.end;
    const Point m = interpolatePoints(end, s, t);
    if (curvedHalves) {
      result.curveTo(m, interpolatePoints(s, m, 0.25f), interpolatePoints(s, m, 0.75f));
      result.curveTo(end, interpolatePoints(m, end, 0.25f), interpolatePoints(m, end, 0.75f));
    } else {
      result.lineTo(m);
      result.lineTo(end);
    }
    if (element.kind == PathElement::Close) result.closePath();
    return true;
  });
  return result;
}
