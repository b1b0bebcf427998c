#include "boolean/walk/edge_pair_sweep.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "boolean/bezier_curve.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "platform/graphics/rect_functions.h"

namespace {

// An edge's rectangle as the sweep needs it, read once instead of on every comparison.
struct SweepItem {
  double minX;
  double maxX;
  double minY;
  double maxY;
  std::size_t index;
  int side;  // 0 for edges1, 1 for edges2
};

SweepItem sweepItem(const PBBezierCurve& edge, std::size_t index, int side) {
  const platform::Rect rect = edge.boundingRect();
  return {platform::minX(rect), platform::maxX(rect), platform::minY(rect), platform::maxY(rect), index, side};
}

// The pairs grouped by their first edge, each group's second edges ascending: the double loop's order.
struct PairList {
  std::vector<std::size_t> starts;  // group i holds seconds[starts[i] .. starts[i + 1])
  std::vector<std::size_t> seconds;
};

PairList sweptPairs(const std::vector<std::shared_ptr<PBBezierCurve>>& edges1,
                    const std::vector<std::shared_ptr<PBBezierCurve>>& edges2) {
  std::vector<SweepItem> items;
  items.reserve(edges1.size() + edges2.size());
  for (std::size_t i = 0; i < edges1.size(); ++i) items.push_back(sweepItem(*edges1[i], i, 0));
  for (std::size_t j = 0; j < edges2.size(); ++j) items.push_back(sweepItem(*edges2[j], j, 1));
  std::sort(items.begin(), items.end(), [](const SweepItem& a, const SweepItem& b) { return a.minX < b.minX; });

  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  std::vector<SweepItem> active[2];
  for (const SweepItem& item : items) {
    std::vector<SweepItem>& others = active[1 - item.side];
    // Every later item starts further right, so an edge ending too far left of this one is done for good.
    std::erase_if(others, [&item](const SweepItem& other) { return item.minX - other.maxX > PBRectOverlapThreshold; });
    for (const SweepItem& other : others) {
      // PBRectsOverlap on the two rectangles, taken apart.
      if (!PBSpansOverlap(item.minX, item.maxX, other.minX, other.maxX) ||
          !PBSpansOverlap(item.minY, item.maxY, other.minY, other.maxY)) {
        continue;
      }
      pairs.emplace_back(item.side == 0 ? item.index : other.index, item.side == 0 ? other.index : item.index);
    }
    active[item.side].push_back(item);
  }

  // A counting sort by first edge, then a small sort inside each group, instead of sorting every pair.
  PairList list;
  list.starts.assign(edges1.size() + 1, 0);
  for (const auto& pair : pairs) ++list.starts[pair.first + 1];
  for (std::size_t i = 0; i < edges1.size(); ++i) list.starts[i + 1] += list.starts[i];
  list.seconds.resize(pairs.size());
  std::vector<std::size_t> fill(list.starts.begin(), list.starts.end() - 1);
  for (const auto& pair : pairs) list.seconds[fill[pair.first]++] = pair.second;
  for (std::size_t i = 0; i < edges1.size(); ++i) {
    std::sort(list.seconds.begin() + static_cast<std::ptrdiff_t>(list.starts[i]),
              list.seconds.begin() + static_cast<std::ptrdiff_t>(list.starts[i + 1]));
  }
  return list;
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
  const PairList pairs = sweptPairs(edges1, edges2);
  for (std::size_t i = 0; i < edges1.size(); ++i) {
    for (std::size_t k = pairs.starts[i]; k < pairs.starts[i + 1]; ++k) {
      block(edges1[i].get(), edges2[pairs.seconds[k]].get());
    }
  }
}
