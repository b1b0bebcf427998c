// Reading the shape library store with its thumbnails: one library of 100, 1,000 and 10,000 items made from the
// benchmark scene's mixed layers (rectangles, ovals, stars, lines and 200-point curves, some with gradients,
// shadows and blurs), each item drawn once into its 80 × 80 thumbnail. The peer in the same run: rsvg-convert
// rendering the same shapes as 80 × 80 tiles of one SVG, at 100 and 1,000 items (at 10,000 it takes minutes).
// Goals: linear growth; 1,000 items under 1 s and no slower than the peer. The ratios are printed at the end.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "bench/mixed_layer_svg.h"
#include "document/CMShapeLibarary.h"
#include "platform/core/files.h"

namespace {

using namespace bench;

constexpr double kTile = 80;
constexpr double kBox = 70;

std::filesystem::path benchFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path made = std::filesystem::temp_directory_path() / "draftwork-shape-library-bench";
    std::filesystem::create_directories(made);
    return made;
  }();
  return folder;
}

// The store of one library holding the scene's first `count` layers (repeated past 10,000), at the origin as the
// store keeps them.
std::filesystem::path storeFile(int count) {
  const std::filesystem::path file = benchFolder() / ("store-" + std::to_string(count) + ".data");
  if (std::filesystem::exists(file)) return file;
  const platform::ArrayRef layers = documentRecord(makeScene())->array("layers");
  auto library = std::make_shared<CMShapeLibarary>("Bench");
  for (int i = 0; i < count; ++i) {
    platform::DictRef record = platform::dictionaryCopy(layers->at(static_cast<std::size_t>(i) % layers->size()).dictionary());
    record->set("x", platform::Value(0.0f));
    record->set("y", platform::Value(0.0f));
    library->addShape(platform::Dictionary::make({{"name", "shape"}, {"shape", record}}));
  }
  const platform::ArrayRef store = platform::Array::make({platform::Value(platform::ObjectRef(library))});
  platform::writeFileAtomically(file, shape_library_archive::archive(platform::Value(store)));
  return file;
}

// The same shapes, each fitted into a 70 × 70 box centred in its own 80 × 80 tile, as the thumbnails are.
std::filesystem::path tilesSvg(int count) {
  const std::filesystem::path file = benchFolder() / ("tiles-" + std::to_string(count) + ".svg");
  if (std::filesystem::exists(file)) return file;
  const std::vector<SceneLayer> scene = makeScene();
  const int columns = 100;
  const int rows = (count + columns - 1) / columns;
  std::ofstream out(file);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << columns * kTile << "\" height=\"" << rows * kTile
      << "\">" << kSvgFilters;
  for (int i = 0; i < count; ++i) {
    const SceneLayer& layer = scene[static_cast<std::size_t>(i) % scene.size()];
    const platform::Rect& f = layer.frame;
    const double s = kBox / std::max(f.size.width, f.size.height);
    const double x = (i % columns) * kTile + (kBox - f.size.width * s) / 2 + 5;
    const double y = (i / columns) * kTile + (kBox - f.size.height * s) / 2 + 5;
    out << "<g transform=\"translate(" << number(x) << "," << number(y) << ") scale(" << number(s) << ") translate("
        << number(-f.origin.x) << "," << number(-f.origin.y) << ")\">" << svgElement(layer, i) << "</g>";
  }
  out << "</svg>\n";
  return file;
}

std::map<int, double> ours;
std::map<int, double> peer;

struct Report {
  ~Report() {
    for (const auto& [count, seconds] : ours) {
      std::printf("%6d items: %.1f ms, %.3f ms an item", count, seconds * 1000, seconds * 1000 / count);
      if (peer.count(count) && peer[count] > 0) {
        std::printf("; rsvg-convert %.1f ms, ratio %.2f (goal at most 1)", peer[count] * 1000, seconds / peer[count]);
      }
      std::printf("\n");
    }
  }
} report;

double secondsPerIteration(const benchmark::State& state, std::chrono::steady_clock::duration total) {
  return std::chrono::duration<double>(total).count() / static_cast<double>(state.iterations());
}

void BM_StoreLoadWithThumbnails(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const platform::Bytes bytes = platform::readFile(storeFile(count)).value();
  std::chrono::steady_clock::duration total{};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto read = shape_library_archive::unarchive(bytes);
    benchmark::DoNotOptimize(read);
    total += std::chrono::steady_clock::now() - start;
    if (!read) state.SkipWithError("the store does not read back");
  }
  ours[count] = secondsPerIteration(state, total);
  state.counters["per_item_us"] = ours[count] * 1e6 / count;
}
BENCHMARK(BM_StoreLoadWithThumbnails)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RsvgConvertTiles(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string command =
      "rsvg-convert -o '" + (benchFolder() / "tiles.png").string() + "' '" + tilesSvg(count).string() + "'";
  peer[count] = timeRsvgConvert(state, command);
}
BENCHMARK(BM_RsvgConvertTiles)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
