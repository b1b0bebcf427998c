#include "boolean/edge_pair_sweep.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "boolean/bezier_curve.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "platform/graphics/rect_functions.h"

namespace {

struct SweepItem {
  double minX;
  double maxX;
  std::size_t index;
  int side;  // 0 for edges1, 1 for edges2
};

std::vector<std::pair<std::size_t, std::size_t>> sweptPairs(const std::vector<std::shared_ptr<PBBezierCurve>>& edges1,
                                                            const std::vector<std::shared_ptr<PBBezierCurve>>& edges2) {
  std::vector<SweepItem> items;
  items.reserve(edges1.size() + edges2.size());
  for (std::size_t i = 0; i < edges1.size(); ++i) {
    const platform::Rect rect = edges1[i]->boundingRect();
    items.push_back({platform::minX(rect), platform::maxX(rect), i, 0});
  }
  for (std::size_t j = 0; j < edges2.size(); ++j) {
    const platform::Rect rect = edges2[j]->boundingRect();
    items.push_back({platform::minX(rect), platform::maxX(rect), j, 1});
  }
  std::sort(items.begin(), items.end(), [](const SweepItem& a, const SweepItem& b) { return a.minX < b.minX; });

  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  std::vector<SweepItem> active[2];
  for (const SweepItem& item : items) {
    std::vector<SweepItem>& others = active[1 - item.side];
    // Every later item starts further right, so an edge ending too far left of this one is done for good.
    std::erase_if(others, [&item](const SweepItem& other) { return item.minX - other.maxX > PBRectOverlapThreshold; });
    for (const SweepItem& other : others) {
      const std::size_t i = item.side == 0 ? item.index : other.index;
      const std::size_t j = item.side == 0 ? other.index : item.index;
      if (PBRectsOverlap(edges1[i]->boundingRect(), edges2[j]->boundingRect())) pairs.emplace_back(i, j);
    }
    active[item.side].push_back(item);
  }
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

}  // namespace

void PBForEachEdgePairThatMayMeet(const std::vector<std::shared_ptr<PBBezierCurve>>& edges1,
                                  const std::vector<std::shared_ptr<PBBezierCurve>>& edges2, bool useSweep,
                                  const PBEdgePairBlock& block) {
  // Sorting needs ordered keys: a NaN coordinate sends the pairs through the plain loop.
  const auto finiteSpan = [](const std::shared_ptr<PBBezierCurve>& edge) {
    const platform::Rect rect = edge->boundingRect();
    return std::isfinite(platform::minX(rect)) && std::isfinite(platform::maxX(rect));
  };
  useSweep = useSweep && std::all_of(edges1.begin(), edges1.end(), finiteSpan) &&
             std::all_of(edges2.begin(), edges2.end(), finiteSpan);
  if (!useSweep) {
    for (const auto& edge1 : edges1) {
      for (const auto& edge2 : edges2) block(edge1.get(), edge2.get());
    }
    return;
  }
  for (const auto& [i, j] : sweptPairs(edges1, edges2)) block(edges1[i].get(), edges2[j].get());
}
