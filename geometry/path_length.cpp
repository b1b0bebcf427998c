#include "geometry/path_length.h"

#include <cmath>
#include <limits>

#include "geometry/cubic_segments.h"
#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"
#include "geometry/partcode_hit_testing.h"
#include "geometry/path_trimming.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

constexpr int kMaximumLengthDepth = 48;
constexpr float kDefaultError = 0.1f;
constexpr float kLengthResolution = 8 * std::numeric_limits<float>::epsilon();

float cubicLengthAtDepth(const Point segment[4], float error, int depth) {
  const float polygon = distanceBetweenPoints(segment[0], segment[1]) + distanceBetweenPoints(segment[1], segment[2]) +
                        distanceBetweenPoints(segment[2], segment[3]);
  const float chord = distanceBetweenPoints(segment[0], segment[3]);
  // Below the float resolution of the lengths themselves, halving gains nothing and would
  // not stop before the depth limit on every branch.
  const float excess = polygon - chord;
  if (excess > error && excess > polygon * kLengthResolution && depth < kMaximumLengthDepth) {
    Point left[4], right[4];
    splitCubicAtParameter(segment, 0.5f, left, right);
    return cubicLengthAtDepth(left, error, depth + 1) + cubicLengthAtDepth(right, error, depth + 1);
  }
  return (chord + polygon) * 0.5f;
}

}  // namespace

float walkedElementLength(const WalkedElement& element, float error) {
  switch (element.kind) {
    case PathElement::Move:
      return 0;
    case PathElement::Line:
    case PathElement::Close:
      return distanceBetweenPoints(element.start, element.end);
    case PathElement::Curve:
      break;
  }
  const Point segment[4] = {element.start, element.points[0], element.points[1], element.points[2]};
  return cubicSegmentLength(segment, error);
}

float usableLengthError(float error) { return error > 0 ? error : 1e-6f; }

float cubicSegmentLength(const Point segment[4], float error) {
  return cubicLengthAtDepth(segment, usableLengthError(error), 0);
}

float length(const BezierPath& path) { return lengthWithMaximumError(path, kDefaultError); }

float lengthWithMaximumError(const BezierPath& path, float error) {
  if (!isMeasurablePath(path)) return 0;
  float total = 0;
  walkElements(path, [&](const WalkedElement& element) {
    total += walkedElementLength(element, error);
    return true;
  });
  return total;
}

float lengthOfElement(const BezierPath& path, int element) {
  if (element < 0 || element >= path.elementCount()) return -1;
  if (element == 0) return 0;
  WalkedElement walked;
  walked.kind = path.elementAt(element, walked.points);
  walked.start = endPointOfElement(path, element - 1);
  walked.end = endPointOfElement(path, element);
  for (int i = 0; i < pointCountOfElement(walked.kind); ++i) {
    if (!isMeasurablePoint(walked.points[i])) return 0;
  }
  if (!isMeasurablePoint(walked.start) || !isMeasurablePoint(walked.end)) return 0;
  return walkedElementLength(walked, kDefaultError);
}

float lengthOfPathFromElement(const BezierPath& path, int first, int last) {
  if (first < 0) first = 0;
  if (last >= path.elementCount()) last = path.elementCount() - 1;
  float total = 0;
  for (int i = first; i <= last; ++i) total += lengthOfElement(path, i);
  return total;
}

Point pointOnPathAtLength(const BezierPath& path, float distance, float* slope) {
  if (path.elementCount() < 2 || std::isnan(distance) || !isMeasurablePath(path)) return {};
  if (distance <= 0) {
    const Point start = endPointOfElement(path, 0);
    if (slope) *slope = slopeBetweenPoints(start, firstPointOfElement(path, 1));
    return start;
  }
  const BezierPath trimmed = bezierPathByTrimmingToLength(path, distance, kDefaultError);
  const int count = trimmed.elementCount();
  if (count < 2) {
    if (slope) *slope = 1.0f;
    return {};
  }
  Point points[3];
  const Point end = endPointOfElement(trimmed, count - 1);
  if (trimmed.elementAt(count - 1, points) == PathElement::Curve) {
    if (slope) *slope = slopeBetweenPoints(points[1], end);
  } else if (slope) {
    *slope = slopeBetweenPoints(endPointOfElement(trimmed, count - 2), end);
  }
  return end;
}

float slopeStartingPath(const BezierPath& path) {
  if (path.elementCount() < 2) return 0;
  return slopeBetweenPoints(endPointOfElement(path, 0), firstPointOfElement(path, 1));
}

float distanceFromStartOfPathAtPoint(const BezierPath& path, Point p, float tolerance) {
  float t = 0;
  const int hit = elementHitByPoint(path, p, tolerance, &t);
  if (hit < 1) return -1;
  float distance = lengthOfPathFromElement(path, 0, hit - 1);
  const Point start = endPointOfElement(path, hit - 1);
  Point points[3];
  if (path.elementAt(hit, points) == PathElement::Curve) {
    const Point segment[4] = {start, points[0], points[1], points[2]};
    Point left[4], right[4];
    splitCubicAtParameter(segment, t, left, right);
    return distance + cubicSegmentLength(left, kDefaultError);
  }
  const Point end = endPointOfElement(path, hit);
  return distance + distanceBetweenPoints(start, interpolatePoints(end, start, t));
}

Point firstPoint(const BezierPath& path) { return endPointOfElement(path, 0); }

Point lastPoint(const BezierPath& path) { return endPointOfElement(path, path.elementCount() - 1); }
