// Rebuilding shapes from their records: what every layer rebuild and resize pays.

#include <benchmark/benchmark.h>

#include <cmath>

#include "document/CMPathShape.h"
#include "platform/core/geometry_strings.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;

namespace {

ArrayRef curvePoints(int count) {
  ArrayRef points = Array::make();
  for (int index = 0; index < count; ++index) {
    const double angle = index * 0.01;
    const platform::Point point{100 * std::cos(angle), 100 * std::sin(angle)};
    points->add(Dictionary::make({{"id", index + 1},
                                  {"point", platform::stringFromPoint(point)},
                                  {"control_point1", platform::stringFromPoint({point.x + 1, point.y})},
                                  {"control_point2", platform::stringFromPoint({point.x, point.y + 1})},
                                  {"type", index == 0 ? 1 : 4}}));
  }
  return points;
}

void BM_PathFromPointRecords(benchmark::State& state) {
  const ArrayRef points = curvePoints(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(CMPathShape::pathFromPointRecords(points));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PathFromPointRecords)->Arg(100)->Arg(1000);

void BM_SetSize(benchmark::State& state) {
  auto shape = shapeWithDictionary<CMPathShape>(Dictionary::make({{"points", curvePoints(1000)}}));
  bool grow = true;
  for (auto _ : state) {
    shape->setSize(grow ? platform::Size{400, 400} : platform::Size{200, 200});
    grow = !grow;
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_SetSize);

}  // namespace
