#include "document/CMLayerGrid.h"

#include <algorithm>
#include <cmath>

#include "document/CMLayerExtent.h"
#include "platform/core/numeric.h"
#include "platform/graphics/finite_geometry.h"
#include "platform/graphics/rect_functions.h"

namespace {

// A rectangle over more cells than this waits in the side list: registering it in every cell would cost more than
// testing it on every query.
constexpr double kMostCellsPerRect = 64;
// Cell numbers stay well inside 32 bits; a rectangle beyond them goes to the side list.
constexpr double kFarthestCell = 1 << 30;

}  // namespace

void CMLayerGrid::reset(double cellSide) {
  cellSide_ = std::isfinite(cellSide) && cellSide > 0 ? cellSide : 1;
  entries_.clear();
  cells_.clear();
  side_.clear();
  stamps_.clear();
  stamp_ = 0;
}

double CMLayerGrid::cellSideFor(const std::vector<platform::Rect>& rects) {
  std::vector<double> sides;
  sides.reserve(rects.size());
  for (const platform::Rect& rect : rects) {
    const double side = std::max(rect.size.width, rect.size.height);
    if (!platform::isEmptyRect(rect) && std::isfinite(side)) sides.push_back(side);
  }
  if (sides.empty()) return 1;
  const auto middle = sides.begin() + static_cast<std::ptrdiff_t>(sides.size() / 2);
  std::nth_element(sides.begin(), middle, sides.end());
  return 2 * *middle;
}

std::uint64_t CMLayerGrid::key(std::int32_t x, std::int32_t y) noexcept {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32 | static_cast<std::uint32_t>(y);
}

CMLayerGrid::CellRange CMLayerGrid::cellsOf(const platform::Rect& rect) const {
  const double left = std::floor(platform::minX(rect) / cellSide_);
  const double top = std::floor(platform::minY(rect) / cellSide_);
  const double right = std::floor(platform::maxX(rect) / cellSide_);
  const double bottom = std::floor(platform::maxY(rect) / cellSide_);
  const double clampedLeft = std::max(left, -kFarthestCell);
  const double clampedTop = std::max(top, -kFarthestCell);
  const double clampedRight = std::min(right, kFarthestCell);
  const double clampedBottom = std::min(bottom, kFarthestCell);
  return {platform::saturatingTruncate<std::int32_t>(clampedLeft),
          platform::saturatingTruncate<std::int32_t>(clampedTop),
          platform::saturatingTruncate<std::int32_t>(clampedRight),
          platform::saturatingTruncate<std::int32_t>(clampedBottom),
          (right - left + 1) * (bottom - top + 1)};
}

void CMLayerGrid::set(Slot slot, const platform::Rect& rect) {
  remove(slot);
  if (slot >= entries_.size()) {
    entries_.resize(slot + std::size_t{1});
    stamps_.resize(entries_.size(), stamp_);
  }
  Entry& entry = entries_[slot];
  entry.rect = rect;
  if (!platform::isFiniteRect(rect)) {
    entry.place = Place::Side;
  } else if (platform::isEmptyRect(rect)) {
    return;  // meets nothing
  } else {
    const CellRange range = cellsOf(rect);
    const bool inGrid = range.count <= kMostCellsPerRect && range.left > -kFarthestCell &&
                        range.top > -kFarthestCell && range.right < kFarthestCell && range.bottom < kFarthestCell;
    entry.place = inGrid ? Place::Cells : Place::Side;
    if (inGrid) {
      entry.left = range.left;
      entry.top = range.top;
      entry.right = range.right;
      entry.bottom = range.bottom;
      for (std::int32_t y = range.top; y <= range.bottom; ++y)
        for (std::int32_t x = range.left; x <= range.right; ++x) cells_[key(x, y)].push_back(slot);
      return;
    }
  }
  entry.sidePosition = static_cast<std::uint32_t>(side_.size());
  side_.push_back(slot);
}

void CMLayerGrid::remove(Slot slot) {
  if (slot >= entries_.size()) return;
  Entry& entry = entries_[slot];
  if (entry.place == Place::Cells) {
    for (std::int32_t y = entry.top; y <= entry.bottom; ++y) {
      for (std::int32_t x = entry.left; x <= entry.right; ++x) {
        const auto cell = cells_.find(key(x, y));
        if (cell == cells_.end()) continue;
        std::vector<Slot>& slots = cell->second;
        slots.erase(std::find(slots.begin(), slots.end(), slot));
        if (slots.empty()) cells_.erase(cell);
      }
    }
  } else if (entry.place == Place::Side) {
    // The last of the side list takes the removed one's position.
    side_[entry.sidePosition] = side_.back();
    entries_[side_.back()].sidePosition = entry.sidePosition;
    side_.pop_back();
  }
  entry.place = Place::None;
}

void CMLayerGrid::take(Slot slot, std::vector<Slot>& into, const platform::Rect& rect) {
  if (stamps_[slot] == stamp_) return;
  stamps_[slot] = stamp_;
  if (reachMeets(entries_[slot].rect, rect)) into.push_back(slot);
}

const std::vector<CMLayerGrid::Slot>& CMLayerGrid::query(const platform::Rect& rect) {
  found_.clear();
  if (++stamp_ == 0) {
    // After four billion queries the stamps start again from a clean slate.
    std::fill(stamps_.begin(), stamps_.end(), 0);
    stamp_ = 1;
  }
  const CellRange range = cellsOf(rect);
  if (range.count <= static_cast<double>(cells_.size())) {
    for (std::int32_t y = range.top; y <= range.bottom; ++y) {
      for (std::int32_t x = range.left; x <= range.right; ++x) {
        const auto cell = cells_.find(key(x, y));
        if (cell == cells_.end()) continue;
        for (const Slot slot : cell->second) take(slot, found_, rect);
      }
    }
  } else {
    // A query over more cells than are filled (or of unknown size) looks at the filled ones.
    for (const auto& [cell, slots] : cells_)
      for (const Slot slot : slots) take(slot, found_, rect);
  }
  for (const Slot slot : side_) take(slot, found_, rect);
  std::sort(found_.begin(), found_.end());
  return found_;
}
