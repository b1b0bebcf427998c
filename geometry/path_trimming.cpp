#include "geometry/path_trimming.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/cubic_segments.h"
#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"
#include "geometry/path_length.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

// The parameter where the left part of the segment measures `remaining`, by bisection.
float cutParameter(const Point segment[4], float remaining, float error) {
  float lower = 0, upper = 1, t = 0.5f;
  for (;;) {
    Point left[4], right[4];
    splitCubicAtParameter(segment, t, left, right);
    const float leftLength = cubicSegmentLength(left, error / 2);
    if (std::abs(remaining - leftLength) < error) return t;
    float next;
    if (remaining > leftLength) {
      lower = t;
      next = (t + upper) / 2;
    } else {
      upper = t;
      next = (lower + t) / 2;
    }
    if (next == t) return t;
    t = next;
  }
}

// The element cut where `remaining` of its length `d` is used up: the cut point and, for
// a curve, both parts.
struct Cut {
  Point point;
  Point left[4], right[4];
};

Cut cutElement(const WalkedElement& element, float remaining, float d, float error) {
  Cut cut;
  if (element.kind == PathElement::Curve) {
    const Point segment[4] = {element.start, element.points[0], element.points[1], element.points[2]};
    splitCubicAtParameter(segment, cutParameter(segment, remaining, error), cut.left, cut.right);
    cut.point = cut.left[3];
  } else {
    cut.point = interpolatePoints(element.start, element.end, remaining / d);
  }
  return cut;
}

// Walks the elements with their lengths and the length accumulated before each, against
// `length` clamped to 0…the path's length; visit(element, d, accumulated, limit, error)
// returns whether to go on. Nothing is visited when the path cannot be measured.
template <typename Visit>
void walkAgainstLength(const BezierPath& path, float length, float error, Visit&& visit) {
  if (std::isnan(length) || !isMeasurablePath(path)) return;
  const float limit = std::clamp(length, 0.0f, lengthWithMaximumError(path, error));
  error = usableLengthError(error);
  float accumulated = 0;
  walkElements(path, [&](const WalkedElement& element) {
    const float d = walkedElementLength(element, error);
    const bool goOn = visit(element, d, accumulated, limit, error);
    accumulated += d;
    return goOn;
  });
}

}  // namespace

BezierPath bezierPathByTrimmingToLength(const BezierPath& path, float length, float error) {
  BezierPath result;
  walkAgainstLength(path, length, error, [&](const WalkedElement& element, float d, float accumulated, float limit,
                                             float usableError) {
    if (accumulated + d <= limit) {
      appendElement(result, element.kind, element.points);
      return true;
    }
    // Only an element of positive length gets here: the accumulated length never passes the limit.
    const Cut cut = cutElement(element, limit - accumulated, d, usableError);
    if (element.kind == PathElement::Curve) {
      result.curveTo(cut.point, cut.left[1], cut.left[2]);
    } else {
      result.lineTo(cut.point);
    }
    return false;
  });
  return result;
}

BezierPath bezierPathByTrimmingFromLength(const BezierPath& path, float length, float error) {
  BezierPath result;
  walkAgainstLength(path, length, error, [&](const WalkedElement& element, float d, float accumulated, float limit,
                                             float usableError) {
    if (accumulated > limit) {
      if (element.kind == PathElement::Close) result.lineTo(element.end);
      appendElement(result, element.kind, element.points);
    } else if (element.kind != PathElement::Move && accumulated + d > limit) {
      const Cut cut = cutElement(element, limit - accumulated, d, usableError);
      result.moveTo(cut.point);
      if (element.kind == PathElement::Curve) {
        result.curveTo(cut.right[3], cut.right[1], cut.right[2]);
      } else {
        result.lineTo(element.end);
      }
    }
    return true;
  });
  return result;
}

BezierPath bezierPathByTrimmingFromBothEnds(const BezierPath& path, float length, float error) {
  const float total = ::length(path);
  const BezierPath reversed = bezierPathByTrimmingToLength(path, total - length, error).bezierPathByReversingPath();
  return bezierPathByTrimmingToLength(reversed, total - 2 * length, error);
}

BezierPath bezierPathByTrimmingFromCentre(const BezierPath& path, float length, float error) {
  const float total = ::length(path);
  BezierPath result = bezierPathByTrimmingToLength(path, total / 2 - length / 2, error);
  result.appendPath(bezierPathByTrimmingFromLength(path, total / 2 + length / 2, error));
  return result;
}

BezierPath bezierPathWithArrowHeadForStartOfLength(const BezierPath& path, float length, float degrees,
                                                   bool closingPath) {
  BezierPath stretch = bezierPathByTrimmingToLength(path, length, 0.1f);
  BezierPath result = stretch.bezierPathByReversingPath();
  const Point tip = firstPoint(path);
  const float radians = degrees * std::numbers::pi_v<float> / 180;
  stretch.transformUsingAffineTransform(rotationAboutPoint(radians, tip));
  result.transformUsingAffineTransform(rotationAboutPoint(-radians, tip));
  appendBezierPathRemovingInitialMoveToPoint(result, stretch);
  if (closingPath) result.closePath();
  return result;
}

BezierPath bezierPathWithArrowHeadForEndOfLength(const BezierPath& path, float length, float degrees,
                                                 bool closingPath) {
  return bezierPathWithArrowHeadForStartOfLength(path.bezierPathByReversingPath(), length, degrees, closingPath);
}

void appendBezierPathRemovingInitialMoveToPoint(BezierPath& path, const BezierPath& other) {
  walkElements(other, [&](const WalkedElement& element) {
    if (element.index > 0 || element.kind != PathElement::Move) appendElement(path, element.kind, element.points);
    return true;
  });
}
