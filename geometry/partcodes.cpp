#include "geometry/partcodes.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

bool isValidPartcode(const BezierPath& path, int partcode) {
  const int element = elementIndexForPartcode(partcode);
  if (partcode < 4 || element >= path.elementCount()) return false;
  switch (path.elementAt(element)) {
    case PathElement::Move:
    case PathElement::Line:
      return pointIndexForPartcode(partcode) == 0;
    case PathElement::Curve:
      return pointIndexForPartcode(partcode) < 3;
    case PathElement::Close:
      break;
  }
  return false;
}

PathElement elementTypeForPartcode(const BezierPath& path, int partcode) {
  const int element = elementIndexForPartcode(partcode);
  if (partcode < 4 || element >= path.elementCount()) return PathElement::Move;
  return path.elementAt(element);
}

bool isOnPathPartcode(const BezierPath& path, int partcode) {
  const int element = elementIndexForPartcode(partcode);
  if (partcode < 4 || element >= path.elementCount()) return false;
  return path.elementAt(element) != PathElement::Curve || pointIndexForPartcode(partcode) == 2;
}

Point controlPointForPartcode(const BezierPath& path, int partcode) {
  if (!isValidPartcode(path, partcode)) return {};
  Point points[3];
  path.elementAt(elementIndexForPartcode(partcode), points);
  return points[pointIndexForPartcode(partcode)];
}

void setControlPoint(BezierPath& path, Point point, int partcode) {
  if (!isValidPartcode(path, partcode)) return;
  const int element = elementIndexForPartcode(partcode);
  Point points[3];
  path.elementAt(element, points);
  points[pointIndexForPartcode(partcode)] = point;
  path.setAssociatedPoints(points, element);
}
