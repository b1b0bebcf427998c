// Gaussian blur of a 2000×2000 image: the time should hardly change with sigma.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include "platform/graphics/gaussian_blur.h"

namespace {

void BM_GaussianBlur2000(benchmark::State& state) {
  const double sigma = static_cast<double>(state.range(0));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2000, 2000);
  cairo_t* cr = cairo_create(surface);
  for (auto _ : state) {
    state.PauseTiming();
    // Fresh content each round: blurring an already blurred image would cost the same but drift towards empty.
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_rgba(cr, 0.2, 0.5, 0.9, 0.8);
    cairo_arc(cr, 1000, 1000, 600, 0, 6.3);
    cairo_fill(cr);
    cairo_surface_flush(surface);
    state.ResumeTiming();
    platform::gaussianBlur(surface, sigma);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_GaussianBlur2000)->Arg(2)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
