// Drawing 10,000 filled and stroked paths into a 2000×2000 surface through the
// graphics context, with shadows off and on.

#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"

namespace {

using platform::BezierPath;
using platform::Color;
using platform::GraphicsContext;
using platform::Rect;

constexpr int kSurfaceSize = 2000;
constexpr int kPathCount = 10000;

// Rectangles, ovals and rounded rectangles 10–70 units across, spread over the surface.
std::vector<BezierPath> scatteredPaths() {
  std::uint32_t seed = 12345;
  const auto next = [&seed](int range) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
  };
  std::vector<BezierPath> paths;
  paths.reserve(kPathCount);
  for (int i = 0; i < kPathCount; ++i) {
    const Rect r(next(kSurfaceSize - 80), next(kSurfaceSize - 80), 10 + next(60), 10 + next(60));
    BezierPath path = i % 3 == 0 ? BezierPath::rect(r) : i % 3 == 1 ? BezierPath::ovalInRect(r)
                                                                    : BezierPath::roundedRect(r, 6, 6);
    path.setLineWidth(1 + next(4));
    paths.push_back(std::move(path));
  }
  return paths;
}

void BM_DrawPaths(benchmark::State& state) {
  const bool shadows = state.range(0) != 0;
  const std::vector<BezierPath> paths = scatteredPaths();
  const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSurfaceSize, kSurfaceSize), cairo_surface_destroy);
  GraphicsContext gc(surface.get(), kSurfaceSize);
  if (shadows) gc.setShadow(platform::Shadow{{3, -3}, 6, Color(0, 0, 0, 0.5)});
  gc.setFillColor(Color(0.2, 0.5, 0.8, 1));
  gc.setStrokeColor(Color(0.1, 0.1, 0.1, 1));
  for (auto _ : state) {
    for (const BezierPath& path : paths) {
      gc.fillPath(path);
      gc.strokePath(path);
    }
    cairo_surface_flush(surface.get());
  }
  state.SetItemsProcessed(state.iterations() * kPathCount);
  state.SetLabel(shadows ? "shadows on" : "shadows off");
}
BENCHMARK(BM_DrawPaths)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
