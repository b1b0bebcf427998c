#include "geometry/element_walk.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

bool isMeasurablePath(const BezierPath& path) {
  bool measurable = true;
  walkElements(path, [&](const WalkedElement& element) {
    for (int i = 0; i < pointCountOfElement(element.kind); ++i) measurable = measurable && isMeasurablePoint(element.points[i]);
    return measurable;
  });
  return measurable;
}

Point subpathStartPoint(const BezierPath& path, int index) {
  if (index >= path.elementCount()) return {};
  Point points[3];
  for (int i = index; i >= 0; --i) {
    if (path.elementAt(i, points) == PathElement::Move) return points[0];
  }
  return {};
}

Point endPointOfElement(const BezierPath& path, int index) {
  if (index < 0 || index >= path.elementCount()) return {};
  Point points[3];
  switch (path.elementAt(index, points)) {
    case PathElement::Move:
    case PathElement::Line:
      return points[0];
    case PathElement::Curve:
      return points[2];
    case PathElement::Close:
      break;
  }
  return subpathStartPoint(path, index);
}

Point firstPointOfElement(const BezierPath& path, int index) {
  if (index < 0 || index >= path.elementCount()) return {};
  Point points[3];
  if (path.elementAt(index, points) == PathElement::Close) return subpathStartPoint(path, index);
  return points[0];
}

void appendElement(BezierPath& path, PathElement kind, const Point points[3]) {
  switch (kind) {
    case PathElement::Move:
      path.moveTo(points[0]);
      break;
    case PathElement::Line:
      path.lineTo(points[0]);
      break;
    case PathElement::Curve:
      path.curveTo(points[2], points[0], points[1]);
      break;
    case PathElement::Close:
      path.closePath();
      break;
  }
}

BezierPath emptyCopy(const BezierPath& path) {
  BezierPath copy = path;
  copy.removeAllPoints();
  return copy;
}
