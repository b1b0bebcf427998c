// The stroke outliner on long mixed line/curve paths, next to Cairo's own
// stroke of the same path into a 2000×2000 image, which is what a caller would
// otherwise pay to paint it.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

#include "platform/graphics/stroke_outliner.h"

namespace platform {
namespace {

constexpr int kImageSize = 2000;

// A random walk of short lines and curves, alternating, kept inside the image.
BezierPath mixedPath(int segments) {
  std::mt19937 random(20240601);
  std::uniform_real_distribution<double> step(-40, 40);
  const auto clampToImage = [](double v) { return std::clamp(v, 20.0, kImageSize - 20.0); };
  const auto near = [&](Point p) { return Point{clampToImage(p.x + step(random)), clampToImage(p.y + step(random))}; };
  BezierPath path;
  Point current{kImageSize / 2.0, kImageSize / 2.0};
  path.moveTo(current);
  for (int i = 0; i < segments; ++i) {
    const Point end = near(current);
    if (i % 2 == 0) {
      path.lineTo(end);
    } else {
      path.curveTo(end, near(current), near(end));
    }
    current = end;
  }
  return path;
}

StrokeStyle benchStyle(bool dashed) {
  StrokeStyle style;
  style.width = 3;
  style.join = LineJoin::Round;
  if (dashed) style.dash = {12, 6};
  return style;
}

void appendToCairo(cairo_t* cr, const BezierPath& path) {
  Point p[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    switch (path.elementAt(i, p)) {
      case PathElement::Move: cairo_move_to(cr, p[0].x, p[0].y); break;
      case PathElement::Line: cairo_line_to(cr, p[0].x, p[0].y); break;
      case PathElement::Curve: cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y); break;
      case PathElement::Close: cairo_close_path(cr); break;
    }
  }
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

void cairoStroke(cairo_t* cr, const BezierPath& path, const StrokeStyle& style) {
  appendToCairo(cr, path);
  cairo_set_line_width(cr, style.width);
  cairo_set_line_join(cr, static_cast<cairo_line_join_t>(style.join));
  cairo_set_dash(cr, style.dash.data(), static_cast<int>(style.dash.size()), style.dashPhase);
  cairo_stroke(cr);
}

// Outline alone, at 1k, 10k and 100k segments: the fitted complexity should come out O(N).
void BM_StrokeOutline(benchmark::State& state, bool dashed) {
  const BezierPath path = mixedPath(static_cast<int>(state.range(0)));
  const StrokeStyle style = benchStyle(dashed);
  for (auto _ : state) benchmark::DoNotOptimize(strokedOutline(path, style));
  state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_StrokeOutline, solid, false)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StrokeOutline, dashed, true)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Both on the same 10k-segment path in one run; the counters give each time and
// outliner ÷ Cairo.
void BM_OutlineVersusCairoStroke(benchmark::State& state) {
  const BezierPath path = mixedPath(static_cast<int>(state.range(0)));
  const StrokeStyle style = benchStyle(state.range(1) != 0);
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kImageSize, kImageSize), cairo_surface_destroy);
  Context cr(cairo_create(surface.get()), cairo_destroy);
  using Clock = std::chrono::steady_clock;
  std::chrono::duration<double> outlineTime{0};
  std::chrono::duration<double> cairoTime{0};
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(strokedOutline(path, style));
    const auto middle = Clock::now();
    cairoStroke(cr.get(), path, style);
    cairo_surface_flush(surface.get());
    const auto end = Clock::now();
    outlineTime += middle - start;
    cairoTime += end - middle;
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["outline_ms"] = outlineTime.count() * 1000 / iterations;
  state.counters["cairo_ms"] = cairoTime.count() * 1000 / iterations;
  state.counters["outline_over_cairo"] = outlineTime.count() / cairoTime.count();
}
BENCHMARK(BM_OutlineVersusCairoStroke)
    ->ArgNames({"segments", "dashed"})
    ->ArgsProduct({{10000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// What the outliner spends before stroking: flattening the same path to its tolerance.
void BM_FlattenForStroke(benchmark::State& state) {
  BezierPath path = mixedPath(static_cast<int>(state.range(0)));
  path.setFlatness(kStrokeTolerance);
  for (auto _ : state) benchmark::DoNotOptimize(path.bezierPathByFlatteningPath());
}
BENCHMARK(BM_FlattenForStroke)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace platform
