#pragma once

// Reading a built path back element by element, for the shape tests.

#include <vector>

#include "platform/graphics/bezier_path.h"

namespace document_testing {

inline std::vector<platform::PathElement> kinds(const platform::BezierPath& path) {
  std::vector<platform::PathElement> result;
  for (int index = 0; index < path.elementCount(); ++index) result.push_back(path.elementAt(index));
  return result;
}

// Point `which` of element `index` (for a curve: control 1, control 2, end).
inline platform::Point elementPoint(const platform::BezierPath& path, int index, int which = 0) {
  platform::Point points[3];
  path.elementAt(index, points);
  return points[which];
}

}  // namespace document_testing
