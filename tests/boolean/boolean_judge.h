#pragma once

// Judges one boolean result against what the set operation of its operands means, by methods that share nothing
// with the engine: even-odd containment by a ray in double precision, exact areas of polygons by slabs between the
// heights where anything happens, and the fill on both sides of the result's outline.

#include <array>
#include <random>
#include <string>
#include <utility>

#include "platform/graphics/bezier_path.h"

namespace booleancheck {

enum class Operation { Union, Intersect, Difference, Xor };
const char* name(Operation operation);
platform::BezierPath apply(Operation operation, const platform::BezierPath& a, const platform::BezierPath& b);

// A cubic's four control points, and the cubic cut in two at t.
using Cubic = std::array<platform::Point, 4>;
std::pair<Cubic, Cubic> cutAt(const Cubic& cubic, double t);

// Even-odd fill of the path at the point, by counting where a ray to +x crosses its outline (half-open in y, so a
// ray through a vertex counts once); cubics by their roots.
bool evenOddContains(const platform::BezierPath& path, platform::Point point);

// Scenes whose operands lie closer than `nearness × size` are allowed either reading (apart or coinciding); at
// `apartness × size` and beyond they must come out exact. A piece of the result narrower on average than
// `hairline × size` is wrong. Size is the larger side of the operands' bounds.
struct Tolerance {
  double nearness = 2e-10;
  double apartness = 1e-7;
  double hairline = 2e-10;
};

// Empty when the result is right; otherwise what is wrong with it.
std::string judge(Operation operation, const platform::BezierPath& a, const platform::BezierPath& b,
                  const platform::BezierPath& result, std::mt19937& random, const Tolerance& tolerance = {});

}  // namespace booleancheck
