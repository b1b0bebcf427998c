// Opening and first drawing a drawing whose one layer is blurred across thousands of pixels: the canvas at zoom 4 in
// cached and vector mode, for layers of 1,000 and 4,000 units and blurs from a millionth of the largest (a blur that
// changes no pixel, as in a drawing the fuzzer found) to the largest. The cost of a blur should not grow with the
// layer's size or the blur's radius (goal: under 1 s each).

#include <benchmark/benchmark.h>

#include <cairo.h>

#include <filesystem>
#include <memory>

#include "bench/mixed_layer_scene.h"
#include "document/CMBaseDocument.h"
#include "document/CMCaches.h"
#include "document/CMDrawer.h"
#include "platform/core/folders.h"
#include "platform/graphics/graphics_context.h"

namespace {

using platform::Dictionary;
using platform::DictRef;

constexpr int kViewSide = 800;

DictRef blurredSquare(double side, double blurAmount) {
  bench::SceneLayer layer;
  layer.frame = {0, 0, side, side};
  layer.fill = {40, 90, 200};
  layer.stroke = {0, 0, 0};
  layer.strokeWidth = 2;
  layer.blurAmount = blurAmount;
  return bench::documentRecord({layer});
}

// state.range(0): the layer's side in units; range(1): the blur amount in millionths; range(2): 1 for vector mode.
void BM_OpenAndDrawBlurredLayer(benchmark::State& state) {
  static const std::filesystem::path folder = std::filesystem::temp_directory_path() / "draftwork-blur-bench";
  platform::overrideFoldersRoot(folder);
  const DictRef record = blurredSquare(static_cast<double>(state.range(0)), state.range(1) / 1e6);
  const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kViewSide, kViewSide), cairo_surface_destroy);
  for (auto _ : state) {
    CMCaches::sharedCaches().clean();
    auto document = std::make_shared<CMBaseDocument>();
    document->setData(platform::dictionaryCopy(record));
    CMDrawer drawer;
    drawer.setViewMode(state.range(2) == 1);
    drawer.setZoom(4);
    drawer.setDocument(document);
    platform::GraphicsContext context(surface.get(), kViewSide, true);
    drawer.draw(context, {0, 0, kViewSide, kViewSide}, true);
  }
}
BENCHMARK(BM_OpenAndDrawBlurredLayer)
    ->ArgsProduct({{1000, 4000}, {1, 10000, 30000, 100000, 1000000}, {0, 1}})
    ->ArgNames({"side", "blur_millionths", "vector"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
