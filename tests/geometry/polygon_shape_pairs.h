#pragma once

// Operand pairs where the polygon route and the curve engine should agree: the boolean
// corpus's circle pairs and the everyday shapes of the boolean benchmark (B5).

#include <string>
#include <vector>

#include "platform/graphics/bezier_path.h"

struct ShapePair {
  std::string name;
  platform::BezierPath a;
  platform::BezierPath b;
};

std::vector<ShapePair> polygonRouteShapePairs();
