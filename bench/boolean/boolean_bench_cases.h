#pragma once

// The operand pairs of the boolean benchmark, B1 to B5: circle pairs, flowers
// against themselves turned by half a petal, grids of circles against a rounded
// rectangle, coincidence and tangency cases, and everyday shapes.

#include <string>
#include <vector>

#include "platform/graphics/bezier_path.h"

struct BooleanBenchCase {
  std::string name;
  platform::BezierPath a;
  platform::BezierPath b;
};

std::vector<BooleanBenchCase> booleanBenchCases();
