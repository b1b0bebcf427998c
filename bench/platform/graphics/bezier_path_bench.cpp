// Per-call cost of the path geometry on a 1,000-curve closed path.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "platform/graphics/bezier_path.h"

namespace {

using platform::BezierPath;
using platform::Point;

// A wavy closed ring of 1,000 curves, about 1,000 units across.
BezierPath wavyRing(int curves) {
  BezierPath path;
  const auto at = [](double a, double r) { return Point{500 + r * std::cos(a), 500 + r * std::sin(a)}; };
  const double step = 2 * std::numbers::pi / curves;
  path.moveTo(at(0, 450));
  for (int i = 0; i < curves; ++i) {
    const double a = i * step;
    path.curveTo(at(a + step, 450), at(a + step / 3, 480), at(a + 2 * step / 3, 420));
  }
  path.closePath();
  return path;
}

void BM_Bounds(benchmark::State& state) {
  const BezierPath path = wavyRing(1000);
  for (auto _ : state) benchmark::DoNotOptimize(path.bounds());
}
BENCHMARK(BM_Bounds);

void BM_ControlPointBounds(benchmark::State& state) {
  const BezierPath path = wavyRing(1000);
  for (auto _ : state) benchmark::DoNotOptimize(path.controlPointBounds());
}
BENCHMARK(BM_ControlPointBounds);

// Inside near the middle (every curve is cheaply decided), and next to the wavy edge
// (the curves crossing the ray are flattened).
void BM_ContainsPoint(benchmark::State& state) {
  const BezierPath path = wavyRing(1000);
  const Point p = state.range(0) == 0 ? Point{500, 500} : Point{949, 500.5};
  for (auto _ : state) benchmark::DoNotOptimize(path.containsPoint(p));
}
BENCHMARK(BM_ContainsPoint)->Arg(0)->Arg(1)->ArgName("nearEdge");

void BM_Flatten(benchmark::State& state) {
  BezierPath path = wavyRing(1000);
  path.setFlatness(static_cast<double>(state.range(0)) / 100);
  int64_t lines = 0;
  for (auto _ : state) {
    const BezierPath flat = path.bezierPathByFlatteningPath();
    lines = flat.elementCount();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["elements"] = static_cast<double>(lines);
}
BENCHMARK(BM_Flatten)->Arg(60)->Arg(1)->ArgName("flatness%");

}  // namespace
