#include "geometry/partcode_hit_testing.h"

#include <algorithm>
#include <cmath>

#include "geometry/cubic_segments.h"
#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"
#include "geometry/partcodes.h"
#include "geometry/rect_geometry.h"
#include "geometry/subpath_queries.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::Rect;

namespace {

bool usableTolerance(float tolerance) { return tolerance >= 0 && std::isfinite(tolerance); }

bool grownRectContains(const Rect& rect, float grow, Point p) {
  return platform::pointInRect(p, platform::insetRect(rect, -grow, -grow));
}

void addOnce(std::vector<Rect>& set, const Rect& rect) {
  if (std::find(set.begin(), set.end(), rect) == set.end()) set.push_back(rect);
}

// The nearest point of the element to p with its parameter (see elementHitByPoint).
Point candidateOnElement(const WalkedElement& element, Point p, float& t) {
  if (element.kind == PathElement::Curve) {
    const Point segment[4] = {element.start, element.points[0], element.points[1], element.points[2]};
    double parameter = 0;
    const Point nearest = nearestPointOnCurve(segment, &parameter, p);
    t = static_cast<float>(parameter);
    return nearest;
  }
  const Point end = element.end;
  const Point projection = nearestPointOnLine(p, end, element.start);
  const float length = distanceBetweenPoints(element.start, end);
  t = length == 0 ? 0 : distanceBetweenPoints(projection, end) / length;
  return projection;
}

}  // namespace

int pointInPointArray(Point p, std::span<const Point> points, float tolerance) {
  if (!usableTolerance(tolerance)) return -1;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Rect square(points[i].x - tolerance / 2, points[i].y - tolerance / 2, tolerance, tolerance);
    if (platform::pointInRect(p, square)) return static_cast<int>(i);
  }
  return -1;
}

int partcodeHitByPoint(const BezierPath& path, Point p, float tolerance, int start) {
  // Compared without forming start + 1, which overflows for the largest index.
  if (!usableTolerance(tolerance) || start < 0 || start >= path.elementCount() - 1) return 0;
  if (!grownRectContains(path.controlPointBounds(), tolerance / 2, p)) return 0;
  const int count = path.elementCount(), next = start + 1;
  Point points[3];
  if (path.elementAt(next, points) == PathElement::Curve) {
    const int hit = pointInPointArray(p, std::span<const Point>(points, next == count - 1 ? 3 : 2), tolerance);
    if (hit >= 0) return partcodeForElementAndPoint(next, hit);
  }
  const bool startIsCurve = path.elementAt(start) == PathElement::Curve;
  const Point vertex = endPointOfElement(path, start);
  if (pointInPointArray(p, std::span<const Point>(&vertex, 1), tolerance) < 0) return 0;
  return partcodeForElementAndPoint(start, startIsCurve ? 2 : 0);
}

int elementHitByPoint(const BezierPath& path, Point p, float tolerance, float* t, Point* nearest) {
  if (!usableTolerance(tolerance) || !isMeasurablePoint(p) || !isMeasurablePath(path)) return -1;
  if (!grownRectContains(path.bounds(), tolerance, p)) return -1;
  int best = -1;
  float bestDistance = INFINITY, bestT = 0;
  Point bestPoint;
  walkElements(path, [&](const WalkedElement& element) {
    if (element.kind == PathElement::Move || element.index == 0) return true;
    const Rect box = element.kind == PathElement::Curve ? boundingBoxForElement(path, element.index)
                                                        : rectFromPoints(element.start, element.end);
    if (!grownRectContains(box, tolerance, p)) return true;
    float parameter = 0;
    const Point candidate = candidateOnElement(element, p, parameter);
    const float distance = distanceBetweenPoints(candidate, p);
    if (distance <= tolerance && distance < bestDistance) {
      best = element.index;
      bestDistance = distance;
      bestT = parameter;
      bestPoint = candidate;
    }
    return true;
  });
  if (best < 0) return -1;
  if (t) *t = bestT;
  if (nearest) *nearest = bestPoint;
  return best;
}

Point nearestPointToPoint(const BezierPath& path, Point p, float tolerance) {
  Point nearest;
  return elementHitByPoint(path, p, tolerance, nullptr, &nearest) > 0 ? nearest : p;
}

int elementBoundsContainsPoint(const BezierPath& path, Point p, float tolerance) {
  if (!usableTolerance(tolerance)) return -1;
  for (int i = 0; i < path.elementCount(); ++i) {
    if (grownRectContains(boundingBoxForElement(path, i), tolerance, p)) return i;
  }
  return -1;
}

Rect boundingBoxForElement(const BezierPath& path, int element) {
  if (element < 0 || element >= path.elementCount()) return {};
  Point points[3];
  switch (path.elementAt(element, points)) {
    case PathElement::Move:
      return {};
    case PathElement::Line:
    case PathElement::Close:
      return rectFromPoints(endPointOfElement(path, element - 1), endPointOfElement(path, element));
    case PathElement::Curve:
      break;
  }
  const Point start = endPointOfElement(path, element - 1);
  float left = float(start.x), right = left, bottom = float(start.y), top = bottom;
  for (const Point& point : points) {
    left = std::min(left, float(point.x));
    right = std::max(right, float(point.x));
    bottom = std::min(bottom, float(point.y));
    top = std::max(top, float(point.y));
  }
  return Rect(left, bottom, right - left, top - bottom);
}

std::vector<Rect> boundingBoxesForPartcode(const BezierPath& path, int partcode) {
  const int count = path.elementCount();
  const int element = elementIndexForPartcode(partcode);
  if (partcode < 4 || element >= count) return {};
  std::vector<Rect> boxes{boundingBoxForElement(path, element)};
  const bool firstControlPoint = path.elementAt(element) == PathElement::Curve && pointIndexForPartcode(partcode) == 0;
  if (partcode >= 8 && firstControlPoint) {
    addOnce(boxes, boundingBoxForElement(path, element - 1));
  } else if (element < count - 1) {
    addOnce(boxes, boundingBoxForElement(path, element + 1));
  }
  if (isPathClosed(path)) {
    if (element >= 2 && element == count - 1) {
      addOnce(boxes, boundingBoxForElement(path, subpathStartingElementForElement(path, element) + 1));
    } else if (element <= 1) {
      addOnce(boxes, boundingBoxForElement(path, subpathEndingElementForElement(path, element)));
    }
  }
  return boxes;
}

std::vector<Rect> allBoundingBoxes(const BezierPath& path) {
  std::vector<Rect> boxes;
  for (int i = 0; i < path.elementCount(); ++i) addOnce(boxes, boundingBoxForElement(path, i));
  return boxes;
}

void drawElementsBoundingBoxes(const BezierPath& path) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Color red(1, 0, 0, 1);
  context->setFillColor(red);
  context->setStrokeColor(red);
  for (const Rect& box : allBoundingBoxes(path)) {
    BezierPath outline = BezierPath::rect(box);
    outline.setLineWidth(0);  // the thinnest visible line: one device pixel
    context->strokePath(outline);
  }
}
