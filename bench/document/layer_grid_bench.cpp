// The drawer's layer index on its own: a query the size of a 1200 × 800 view and one of a small damaged area, and
// moving one layer, in drawings of 1,000 to 100,000 layers of 5 to 60 units spread over a page that grows with them
// (about 1,000 layers per view), with a brute-force look at every layer beside the query.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "document/CMLayerExtent.h"
#include "document/CMLayerGrid.h"

namespace {

constexpr double kPageWidth = 1200;

std::vector<platform::Rect> scatteredLayers(std::size_t count) {
  std::mt19937 random(7);
  const double height = 800.0 * static_cast<double>(count) / 1000.0;
  std::uniform_real_distribution<double> x(0, kPageWidth), y(0, height), side(5, 60);
  std::vector<platform::Rect> rects(count);
  for (platform::Rect& rect : rects) rect = {x(random), y(random), side(random), side(random)};
  return rects;
}

CMLayerGrid gridOf(const std::vector<platform::Rect>& rects) {
  CMLayerGrid grid;
  grid.reset(CMLayerGrid::cellSideFor(rects));
  for (CMLayerGrid::Slot slot = 0; slot < rects.size(); ++slot) grid.set(slot, rects[slot]);
  return grid;
}

const platform::Rect kView{0, 100, 1200, 800};
const platform::Rect kDamage{400, 300, 80, 60};

void LayerGridQuery(benchmark::State& state) {
  const std::vector<platform::Rect> rects = scatteredLayers(static_cast<std::size_t>(state.range(0)));
  CMLayerGrid grid = gridOf(rects);
  const platform::Rect query = state.range(1) != 0 ? kDamage : kView;
  std::size_t found = 0;
  for (auto _ : state) {
    found = grid.query(query).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(LayerGridQuery)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->ArgNames({"layers", "damage_only"})
    ->Unit(benchmark::kMicrosecond);

// The same answer from a look at every layer.
void LayerScanQuery(benchmark::State& state) {
  const std::vector<platform::Rect> rects = scatteredLayers(static_cast<std::size_t>(state.range(0)));
  const platform::Rect query = state.range(1) != 0 ? kDamage : kView;
  std::vector<CMLayerGrid::Slot> found;
  for (auto _ : state) {
    found.clear();
    for (CMLayerGrid::Slot slot = 0; slot < rects.size(); ++slot)
      if (reachMeets(rects[slot], query)) found.push_back(slot);
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["found"] = static_cast<double>(found.size());
}
BENCHMARK(LayerScanQuery)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->ArgNames({"layers", "damage_only"})
    ->Unit(benchmark::kMicrosecond);

// One layer dragged by a few units, as each motion event of a drag does.
void LayerGridMove(benchmark::State& state) {
  std::vector<platform::Rect> rects = scatteredLayers(static_cast<std::size_t>(state.range(0)));
  CMLayerGrid grid = gridOf(rects);
  CMLayerGrid::Slot slot = 0;
  for (auto _ : state) {
    slot = (slot + 7919) % static_cast<CMLayerGrid::Slot>(rects.size());
    rects[slot].origin.x += 3;
    grid.set(slot, rects[slot]);
  }
}
BENCHMARK(LayerGridMove)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Filing every layer afresh, as opening a drawing or a zoom in vector mode does.
void LayerGridBuild(benchmark::State& state) {
  const std::vector<platform::Rect> rects = scatteredLayers(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(gridOf(rects));
}
BENCHMARK(LayerGridBuild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
