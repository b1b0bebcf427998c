// Measuring, trimming and hit-testing paths of 1k, 10k and 100k curves: the time per curve
// should stay flat (linear work). The boolean engine's Gauss-Legendre length of the same
// curves runs beside the adaptive length for comparison.

#include <benchmark/benchmark.h>

#include <cmath>

#include "boolean/bezier_curve.h"
#include "geometry/partcode_hit_testing.h"
#include "geometry/path_length.h"
#include "geometry/path_trimming.h"

using platform::BezierPath;

namespace {

// A wavy line of `curves` cubics, each spanning 10 units.
BezierPath wavyPath(int curves) {
  BezierPath path;
  path.moveTo({0, 0});
  for (int i = 0; i < curves; ++i) {
    const double x = 10.0 * i, bump = i % 2 == 0 ? 8 : -8;
    path.curveTo({x + 10, std::sin(i) * 3}, {x + 3, bump}, {x + 7, -bump});
  }
  return path;
}

void perCurve(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * state.range(0)); }

void LengthWithMaximumError(benchmark::State& state) {
  const BezierPath path = wavyPath(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(lengthWithMaximumError(path, 0.1f));
  perCurve(state);
}

void GaussLegendreLengthOfTheSameCurves(benchmark::State& state) {
  const BezierPath path = wavyPath(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    double total = 0;
    for (const auto& curve : PBBezierCurve::bezierCurvesFromBezierPath(path)) total += curve->length();
    benchmark::DoNotOptimize(total);
  }
  perCurve(state);
}

void TrimToTwoThirds(benchmark::State& state) {
  const BezierPath path = wavyPath(static_cast<int>(state.range(0)));
  const float target = length(path) * 2 / 3;
  for (auto _ : state) benchmark::DoNotOptimize(bezierPathByTrimmingToLength(path, target));
  perCurve(state);
}

void PartcodeHitNearTheEnd(benchmark::State& state) {
  const int curves = static_cast<int>(state.range(0));
  const BezierPath path = wavyPath(curves);
  const platform::Point end = {10.0 * curves, std::sin(curves - 1) * 3};
  for (auto _ : state) benchmark::DoNotOptimize(partcodeHitByPoint(path, end, 2, curves - 1));
  perCurve(state);
}

}  // namespace

BENCHMARK(LengthWithMaximumError)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GaussLegendreLengthOfTheSameCurves)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(TrimToTwoThirds)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PartcodeHitNearTheEnd)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
