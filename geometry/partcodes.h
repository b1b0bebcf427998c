#pragma once

// Partcodes name every point of a path with one integer: point k (0 to 2) of element e
// is 4 × (e + 1) + k; 0 names nothing. Reading and writing points by partcode; a
// partcode outside the path reads (0, 0) and writes nothing.

#include "platform/graphics/bezier_path.h"

constexpr int partcodeForElementAndPoint(int element, int point) {
  return static_cast<int>(4u * static_cast<unsigned>(element) + static_cast<unsigned>(point & 3) + 4u);
}
constexpr int partcodeForElement(int element) { return partcodeForElementAndPoint(element, 0); }
constexpr int elementIndexForPartcode(int partcode) { return (partcode >> 2) - 1; }
constexpr int pointIndexForPartcode(int partcode) { return partcode & 3; }

// Whether the partcode names a point the element has (one for a move or line, three for a curve).
bool isValidPartcode(const platform::BezierPath& path, int partcode);
// The element's kind; a move for a partcode outside the path.
platform::PathElement elementTypeForPartcode(const platform::BezierPath& path, int partcode);
// A vertex rather than a curve's control point.
bool isOnPathPartcode(const platform::BezierPath& path, int partcode);
platform::Point controlPointForPartcode(const platform::BezierPath& path, int partcode);
void setControlPoint(platform::BezierPath& path, platform::Point point, int partcode);
