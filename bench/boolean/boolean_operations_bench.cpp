// Union, intersection, difference and exclusive-or on the cubic curves, B1 to
// B5: circle pairs, flowers against themselves turned by half a petal, grids of
// circles against a rounded rectangle, coincidence and tangency cases, and
// everyday shapes. Each run also reports how far the result's area is from the
// identity area(A∪B) + area(A∩B) = area(A) + area(B) (union and intersection),
// area(A−B) = area(A) − area(A∩B) and area(A xor B) = area(A∪B) − area(A∩B).
//
// Medians: run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true.

#include <benchmark/benchmark.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "boolean/bezier_graph.h"
#include "boolean/path_boolean_operations.h"
#include "path_oracles.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_path.h"

namespace {

using pathoracles::evenOddArea;
using platform::BezierPath;
using platform::Point;
using platform::Rect;

BezierPath oval(double cx, double cy, double rx, double ry) {
  return BezierPath::ovalInRect(Rect(cx - rx, cy - ry, 2 * rx, 2 * ry));
}

BezierPath star(double cx, double cy, double outer, double inner, int points) {
  BezierPath path;
  for (int i = 0; i < 2 * points; ++i) {
    const double angle = std::numbers::pi / 2 + i * std::numbers::pi / points;
    const double radius = i % 2 == 0 ? outer : inner;
    const Point point{cx + radius * std::cos(angle), cy + radius * std::sin(angle)};
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  path.closePath();
  return path;
}

// N cubic petals round a circle; the second operand is the same flower turned by half a petal.
BezierPath flower(int petals, double turn) {
  BezierPath path;
  const double step = 2 * std::numbers::pi / petals;
  auto at = [](double radius, double angle) { return Point{radius * std::cos(angle), radius * std::sin(angle)}; };
  path.moveTo(at(100, turn));
  for (int i = 0; i < petals; ++i) {
    const double a0 = turn + i * step;
    path.curveTo(at(100, a0 + step), at(160, a0 + 0.2 * step), at(160, a0 + 0.8 * step));
  }
  path.closePath();
  return path;
}

BezierPath circleGrid(int count) {
  BezierPath path;
  const double pitch = 200.0 / count;
  for (int row = 0; row < count; ++row) {
    for (int column = 0; column < count; ++column) {
      path.appendPath(oval(-100 + (column + 0.5) * pitch, -100 + (row + 0.5) * pitch, 0.35 * pitch, 0.35 * pitch));
    }
  }
  return path;
}

enum Operation { Union, Intersect, Difference, Xor };

BezierPath apply(Operation operation, const BezierPath& a, const BezierPath& b) {
  switch (operation) {
    case Union: return pb_union(a, b);
    case Intersect: return pb_intersect(a, b);
    case Difference: return pb_difference(a, b);
    case Xor: return pb_xor(a, b);
  }
  return {};
}

// The identity error of one operation's result, relative to area(A) + area(B).
double areaError(Operation operation, const BezierPath& a, const BezierPath& b, const BezierPath& result) {
  const double areaA = evenOddArea(a);
  const double areaB = evenOddArea(b);
  const double areaU = evenOddArea(pb_union(a, b));
  const double areaI = evenOddArea(pb_intersect(a, b));
  const double got = evenOddArea(result);
  double expected = 0;
  switch (operation) {
    case Union: expected = areaA + areaB - areaI; break;
    case Intersect: expected = areaA + areaB - areaU; break;
    case Difference: expected = areaA - areaI; break;
    case Xor: expected = areaU - areaI; break;
  }
  const double scale = areaA + areaB;
  return scale > 0 ? std::fabs(got - expected) / scale : 0;
}

void runCase(benchmark::State& state, Operation operation, const BezierPath& a, const BezierPath& b) {
  BezierPath result;
  for (auto _ : state) {
    result = apply(operation, a, b);
    benchmark::DoNotOptimize(result);
  }
  state.counters["area_err"] = areaError(operation, a, b, result);
  // On the coincidence cases an error above 1e-6 counts as a failure.
  state.counters["failed"] = areaError(operation, a, b, result) > 1e-6 ? 1 : 0;
}

constexpr Operation kOperations[] = {Union, Intersect, Difference, Xor};
const char* const kOperationNames[] = {"union", "intersect", "difference", "xor"};

void registerCase(const std::string& name, const BezierPath& a, const BezierPath& b) {
  for (Operation operation : kOperations) {
    benchmark::RegisterBenchmark((name + "/" + kOperationNames[operation]).c_str(),
                                 [operation, a, b](benchmark::State& state) { runCase(state, operation, a, b); })
        ->Unit(benchmark::kMicrosecond);
  }
}

// The same union through the graphs with the edge-pair sweep off: every pair of edges is tested.
void registerUnionWithoutSweep(const std::string& name, const BezierPath& a, const BezierPath& b) {
  benchmark::RegisterBenchmark((name + "/union_all_pairs").c_str(), [a, b](benchmark::State& state) {
    for (auto _ : state) {
      PBBezierGraph graphA(a);
      PBBezierGraph graphB(b);
      graphA.setUsesBoundsSweep(false);
      graphB.setUsesBoundsSweep(false);
      benchmark::DoNotOptimize(graphA.unionWithBezierGraph(graphB)->bezierPath());
    }
  })->Unit(benchmark::kMicrosecond);
}

BezierPath unionOf(const BezierPath& a, const BezierPath& b) {
  BezierPath both = a;
  both.appendPath(b);
  return both;
}

int registerAll() {
  for (double distance : {0.0, 50.0, 100.0, 199.9, 250.0}) {
    registerCase("B1_circles_d" + std::to_string(static_cast<int>(distance * 10) / 10.0).substr(0, 5),
                 oval(0, 0, 100, 100), oval(distance, 0, 100, 100));
  }
  for (int petals : {8, 32, 128, 512, 2048}) {
    registerCase("B2_flower_" + std::to_string(petals), flower(petals, 0), flower(petals, std::numbers::pi / petals));
    registerUnionWithoutSweep("B2_flower_" + std::to_string(petals), flower(petals, 0),
                              flower(petals, std::numbers::pi / petals));
  }
  for (int count : {10, 30, 100}) {
    registerCase("B3_grid_" + std::to_string(count), circleGrid(count),
                 BezierPath::roundedRect(Rect(-60, -80, 150, 130), 25, 25));
  }
  registerCase("B4_circle_self", oval(0, 0, 100, 100), oval(0, 0, 100, 100));
  registerCase("B4_circles_tangent", oval(0, 0, 100, 100), oval(200, 0, 100, 100));
  registerCase("B4_rects_whole_edge", BezierPath::rect(Rect(0, 0, 100, 100)), BezierPath::rect(Rect(100, 0, 100, 100)));
  registerCase("B4_rects_part_edge", BezierPath::rect(Rect(0, 0, 100, 100)), BezierPath::rect(Rect(100, 30, 80, 40)));
  registerCase("B4_inside_touching", oval(0, 0, 100, 100), oval(50, 0, 50, 50));
  registerCase("B4_circle_offset_1e-7", oval(0, 0, 100, 100), oval(1e-7, 1e-7, 100, 100));
  registerCase("B4_square_offset_1e-7", BezierPath::rect(Rect(0, 0, 100, 100)),
               BezierPath::rect(Rect(1e-7, -1e-7, 100, 100)));
  registerCase("B5_rectangles", BezierPath::rect(Rect(0, 0, 120, 80)), BezierPath::rect(Rect(60, 40, 100, 90)));
  registerCase("B5_ovals", oval(0, 0, 120, 60), oval(40, 20, 60, 110));
  registerCase("B5_rounded_rects", BezierPath::roundedRect(Rect(0, 0, 150, 100), 20, 20),
               BezierPath::roundedRect(Rect(70, 40, 120, 120), 30, 30));
  for (int points : {5, 12, 25, 50}) {
    registerCase("B5_star" + std::to_string(points) + "_oval", star(0, 0, 120, 60, points), oval(20, 10, 90, 70));
  }
  registerCase("B5_ring_rect", unionOf(oval(0, 0, 100, 100), oval(0, 0, 60, 60)),
               BezierPath::rect(Rect(-20, -120, 40, 240)));
  return 0;
}

const int registered = registerAll();

}  // namespace
