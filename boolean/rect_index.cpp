#include "boolean/rect_index.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "boolean/rect_functions.h"

namespace {

constexpr std::size_t kLeafSize = 4;

}  // namespace

PBRectIndex::PBRectIndex(const std::vector<platform::Rect>& rects) {
  boxes_.reserve(rects.size());
  for (const platform::Rect& rect : rects) {
    boxes_.push_back({platform::minX(rect), platform::maxX(rect), platform::minY(rect), platform::maxY(rect)});
  }
  order_.resize(boxes_.size());
  std::iota(order_.begin(), order_.end(), 0);
  // Sort-tile order: slices by x, each slice by y, so the tree's boxes stay compact in both directions. Positions
  // break ties, and NaN sorts first, so the order is always strict.
  const auto key = [](double value) { return std::isnan(value) ? -INFINITY : value; };
  const auto byX = [&](std::size_t a, std::size_t b) {
    const double ka = key(boxes_[a].minX + boxes_[a].maxX);
    const double kb = key(boxes_[b].minX + boxes_[b].maxX);
    return ka != kb ? ka < kb : a < b;
  };
  const auto byY = [&](std::size_t a, std::size_t b) {
    const double ka = key(boxes_[a].minY + boxes_[a].maxY);
    const double kb = key(boxes_[b].minY + boxes_[b].maxY);
    return ka != kb ? ka < kb : a < b;
  };
  std::sort(order_.begin(), order_.end(), byX);
  const auto slice = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(order_.size())))) *
                     static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(kLeafSize))));
  for (std::size_t start = 0; start < order_.size(); start += slice) {
    const auto first = order_.begin() + static_cast<std::ptrdiff_t>(start);
    std::sort(first, first + static_cast<std::ptrdiff_t>(std::min(slice, order_.size() - start)), byY);
  }
  if (!order_.empty()) {
    nodes_.resize(4 * (order_.size() / kLeafSize + 1));
    build(0, 0, order_.size());
  }
}

void PBRectIndex::build(std::size_t node, std::size_t begin, std::size_t end) {
  Box box = boxes_[order_[begin]];
  for (std::size_t i = begin + 1; i < end; ++i) {
    const Box& other = boxes_[order_[i]];
    // A NaN coordinate spreads to the node, which is then never passed over.
    box.minX = std::isnan(other.minX) ? other.minX : std::min(box.minX, other.minX);
    box.maxX = std::isnan(other.maxX) ? other.maxX : std::max(box.maxX, other.maxX);
    box.minY = std::isnan(other.minY) ? other.minY : std::min(box.minY, other.minY);
    box.maxY = std::isnan(other.maxY) ? other.maxY : std::max(box.maxY, other.maxY);
  }
  nodes_[node] = box;
  if (end - begin <= kLeafSize) return;
  const std::size_t middle = begin + (end - begin) / 2;
  build(2 * node + 1, begin, middle);
  build(2 * node + 2, middle, end);
}

namespace {

// The spans do not overlap by PBSpansOverlap; never when a NaN is involved, whose outcome there depends on the
// order of the arguments.
bool apart(double minimum1, double maximum1, double minimum2, double maximum2) {
  if (std::isnan(minimum1) || std::isnan(maximum1) || std::isnan(minimum2) || std::isnan(maximum2)) return false;
  return !PBSpansOverlap(minimum1, maximum1, minimum2, maximum2);
}

}  // namespace

void PBRectIndex::collect(std::size_t node, std::size_t begin, std::size_t end, const Box& query,
                          std::vector<std::size_t>* found) const {
  const Box& box = nodes_[node];
  if (apart(box.minX, box.maxX, query.minX, query.maxX) || apart(box.minY, box.maxY, query.minY, query.maxY)) return;
  if (end - begin <= kLeafSize) {
    for (std::size_t i = begin; i < end; ++i) {
      const Box& leaf = boxes_[order_[i]];
      if (!apart(leaf.minX, leaf.maxX, query.minX, query.maxX) && !apart(leaf.minY, leaf.maxY, query.minY, query.maxY)) {
        found->push_back(order_[i]);
      }
    }
    return;
  }
  const std::size_t middle = begin + (end - begin) / 2;
  collect(2 * node + 1, begin, middle, query, found);
  collect(2 * node + 2, middle, end, query, found);
}

std::vector<std::size_t> PBRectIndex::overlapping(const platform::Rect& query) const {
  std::vector<std::size_t> found;
  if (order_.empty()) return found;
  collect(0, 0, order_.size(),
          {platform::minX(query), platform::maxX(query), platform::minY(query), platform::maxY(query)}, &found);
  std::sort(found.begin(), found.end());
  return found;
}
