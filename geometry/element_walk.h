#pragma once

// Reading a path element by element, with the points a close element lacks: a
// close runs from the current point back to its subpath's start, which is then its
// end point. Every walk starts with the current point and subpath start at (0, 0).

#include <cmath>

#include "platform/graphics/bezier_path.h"

struct WalkedElement {
  int index = 0;
  platform::PathElement kind = platform::PathElement::Move;
  platform::Point points[3];        // as the platform reports them
  platform::Point start;            // the current point before the element
  platform::Point end;              // a close's end is its subpath's start
  platform::Point subpathStart;     // after the element
};

// Calls visit(const WalkedElement&) for each element in order until it returns false.
template <typename Visit>
void walkElements(const platform::BezierPath& path, Visit&& visit) {
  WalkedElement element;
  platform::Point current, subpathStart;
  for (int i = 0; i < path.elementCount(); ++i) {
    element.index = i;
    element.kind = path.elementAt(i, element.points);
    element.start = current;
    switch (element.kind) {
      case platform::PathElement::Move:
        subpathStart = element.points[0];
        element.end = element.points[0];
        break;
      case platform::PathElement::Line:
        element.end = element.points[0];
        break;
      case platform::PathElement::Curve:
        element.end = element.points[2];
        break;
      case platform::PathElement::Close:
        element.end = subpathStart;
        break;
    }
    element.subpathStart = subpathStart;
    current = element.end;
    if (!visit(static_cast<const WalkedElement&>(element))) return;
  }
}

// How many points the platform reports for an element of this kind.
constexpr int pointCountOfElement(platform::PathElement kind) {
  return kind == platform::PathElement::Curve ? 3 : kind == platform::PathElement::Close ? 0 : 1;
}

// Coordinates beyond this are handled like non-finite ones: distances between them
// would overflow single precision.
inline constexpr double kMaximumCoordinate = 1e18;

inline bool isMeasurablePoint(platform::Point p) {
  return std::abs(p.x) <= kMaximumCoordinate && std::abs(p.y) <= kMaximumCoordinate;
}
// Every point of every element is finite and within kMaximumCoordinate.
bool isMeasurablePath(const platform::BezierPath& path);

// The point of the last move at or before the element; (0, 0) when there is none.
platform::Point subpathStartPoint(const platform::BezierPath& path, int index);
// Point 2 of a curve, point 0 of a move or line, the subpath start for a close; (0, 0)
// for an index outside the path.
platform::Point endPointOfElement(const platform::BezierPath& path, int index);
// Point 0: a curve's first control point, a move's or line's point, the subpath start
// for a close; (0, 0) for an index outside the path.
platform::Point firstPointOfElement(const platform::BezierPath& path, int index);
// Appends an element of the given kind with the points the platform reports for it.
void appendElement(platform::BezierPath& path, platform::PathElement kind, const platform::Point points[3]);
// The receiver's attributes with no elements.
platform::BezierPath emptyCopy(const platform::BezierPath& path);
