#pragma once

// Families of operand pairs on which boolean operations go wrong most easily: outlines that run along each other
// on a grid with diagonal edges, chains of operations, pairs turned together, pairs a hair apart, curves that touch
// or share an arc, outlines that cross themselves, and curves that nearly coincide. Each scene is drawn from a random
// generator, so a seed repeats it.

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "boolean_judge.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_path.h"

namespace booleancheck {

// Runs one operation and returns its result; chains feed it back.
using Run = std::function<platform::BezierPath(Operation, const platform::BezierPath&, const platform::BezierPath&)>;

struct Family {
  const char* name;
  void (*play)(std::mt19937& random, const Run& run);
  Tolerance tolerance = {};
};

const std::vector<Family>& families();

// The scenes are turned and moved with these.
platform::AffineTransform turnAbout(platform::Point centre, double degrees);
platform::AffineTransform moveBy(double dx, double dy);

struct Tally {
  int operations = 0;
  std::vector<std::string> wrong;  // the first few, each with its operands
  int wrongCount = 0;
};

// Plays the family's scenes until at least `operations` operations have been judged.
Tally playFamily(const Family& family, std::uint32_t seed, int operations, int keptFailures = 3);

}  // namespace booleancheck
