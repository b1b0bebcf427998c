// Exporting the mixed-layer scene at 1,000 and 10,000 layers in every format: time and bytes per format. The SVG
// writer is measured beside Cairo's own SVG surface drawing the same layers' outlines (the paths the layer objects
// build) with their fill colour, stroke width, caps, joins and dashes into memory; the ratio is printed at the end.
// PDF and EPS go through an off-screen canvas: run under xvfb-run.

#include <benchmark/benchmark.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "document/CMDocument.h"
#include "document/CMShapeLayer.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMRasterOutputFormats.h"
#include "io/export/CMSVGOutputFormat.h"
#include "io/export/CMVectorOutputFormats.h"
#include "platform/core/folders.h"
#include "platform/graphics/cairo_path.h"
#include "platform/ui/ui_initialization.h"

namespace {

using namespace bench;

struct Outline {
  platform::BezierPath path;
  const SceneLayer* layer;
};

// The first `count` layers of the scene as a document, and the outlines its layer objects build.
struct Scene {
  std::shared_ptr<CMDocument> document = std::make_shared<CMDocument>();
  std::vector<Outline> outlines;
};

Scene& sceneOf(int count) {
  static const std::vector<SceneLayer> layers = [] {
    // Nothing the shapes record may reach the real user's folders.
    platform::overrideFoldersRoot(std::filesystem::temp_directory_path() / "draftwork-export-bench");
    platform::initializeUi();
    return makeScene();
  }();
  static std::map<int, Scene> scenes;
  auto [entry, made] = scenes.try_emplace(count);
  Scene& scene = entry->second;
  if (made) {
    const std::vector<SceneLayer> part(layers.begin(), layers.begin() + count);
    platform::DictRef root = documentRecord(part);
    root->set("width", kWidth);
    root->set("height", kHeight);
    scene.document->setData(root);
    for (std::size_t i = 0; i < part.size(); ++i) {
      CMShapeLayer shape(platform::dictionaryCopy(root->array("layers")->at(i).dictionary()));
      scene.outlines.push_back({shape.path(), &layers[i]});
    }
  }
  return scene;
}

struct Figures {
  std::map<int, double> ours;
  std::map<int, double> cairo;
};
Figures& figures() {
  static Figures all;
  return all;
}

void exportScene(benchmark::State& state, const std::function<std::unique_ptr<CMBaseOutputFormat>()>& make) {
  Scene& scene = sceneOf(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    platform::Expected<platform::Bytes> data = make()->generate(*scene.document);
    if (!data) return state.SkipWithError(data.error().description.c_str());
    bytes = data.value().size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

template <class Format>
void BM_Export(benchmark::State& state) {
  exportScene(state, [] { return std::make_unique<Format>(); });
}

void BM_ExportJPEG(benchmark::State& state) {
  exportScene(state, [] { return std::make_unique<CMJPEGOutputFormat>(0.9f); });
}

// The raster road's render alone, without a file type: what the raster formats add to it is their encoding.
class RenderOnly final : public CMBaseOutputFormat {
 public:
  platform::Expected<platform::Bytes> convertImageToData(platform::Image image) override {
    return platform::Bytes(static_cast<std::size_t>(image.pixelsWide()) * image.pixelsHigh() * 4);
  }
};

cairo_status_t countBytes(void* closure, const unsigned char*, unsigned int length) {
  *static_cast<std::size_t*>(closure) += length;
  return CAIRO_STATUS_SUCCESS;
}

void BM_CairoSVGSurface(benchmark::State& state) {
  const Scene& scene = sceneOf(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(countBytes, &bytes, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    const double dash[] = {5, 5};
    for (std::size_t i = 0; i < scene.outlines.size(); ++i) {
      const Outline& outline = scene.outlines[i];
      platform::appendToCairo(cr, outline.path);
      if (outline.layer->kind != Kind::Line) {
        cairo_set_source_rgb(cr, outline.layer->fill.r / 255.0, outline.layer->fill.g / 255.0,
                             outline.layer->fill.b / 255.0);
        cairo_fill_preserve(cr);
      }
      cairo_set_source_rgb(cr, outline.layer->stroke.r / 255.0, outline.layer->stroke.g / 255.0,
                           outline.layer->stroke.b / 255.0);
      cairo_set_line_width(cr, outline.layer->strokeWidth);
      cairo_set_line_cap(cr, static_cast<cairo_line_cap_t>(i % 3));
      cairo_set_line_join(cr, static_cast<cairo_line_join_t>(i % 3));
      cairo_set_dash(cr, dash, i % 2 ? 2 : 0, 0);
      cairo_stroke(cr);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

// Times come from a reporter that sees the runs' adjusted real times.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      const int layers = std::atoi(name.substr(name.rfind('/') + 1).c_str());
      if (name.rfind("BM_Export<CMSVGOutputFormat>/", 0) == 0) figures().ours[layers] = run.GetAdjustedRealTime();
      if (name.rfind("BM_CairoSVGSurface/", 0) == 0) figures().cairo[layers] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [layers, ours] : figures().ours) {
      const double cairo = figures().cairo[layers];
      if (cairo > 0)
        std::printf("SVG export, %d layers: ours %.2f ms, Cairo's SVG surface %.2f ms, ratio %.2f\n", layers, ours,
                    cairo, ours / cairo);
    }
  }
};

}  // namespace

BENCHMARK_TEMPLATE(BM_Export, CMSVGOutputFormat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CairoSVGSurface)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, CMPDFOutputFormat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, CMEPSOutputFormat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, RenderOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, CMPNGOutputFormat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportJPEG)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, CMTIFFOutputFormat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, CMGIFOutputFormat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, CMBMPOutputFormat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
