#pragma once

// A uniform grid over the layers' reaches, so that a redraw visits only the layers that can meet its clip. Layers are
// numbered by their place in the drawing order (slots); a query answers the slots whose rectangles meet the query
// rectangle, in drawing order. A rectangle that is not finite may reach anywhere and meets every query; one too large
// for a few cells waits in a short side list that every query tests; an empty one meets nothing and is not kept.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/core/geometry.h"

class CMLayerGrid {
 public:
  using Slot = std::uint32_t;

  // Empties the grid and sets the side of its square cells (anything but a positive finite side counts as 1).
  void reset(double cellSide);
  double cellSide() const noexcept { return cellSide_; }
  // A cell side that suits rectangles like these: twice the median of their larger sides.
  static double cellSideFor(const std::vector<platform::Rect>& rects);

  // Puts the slot's rectangle in place of what it had (a new slot may be any number).
  void set(Slot slot, const platform::Rect& rect);
  void remove(Slot slot);
  // The slots whose rectangles meet `rect` (see reachMeets), ascending; valid until the next call.
  const std::vector<Slot>& query(const platform::Rect& rect);

 private:
  // Where a slot's rectangle is kept.
  enum class Place : std::uint8_t { None, Cells, Side };
  struct Entry {
    platform::Rect rect;
    Place place = Place::None;
    std::int32_t left = 0, top = 0, right = -1, bottom = -1;  // the cells it covers (Cells)
    std::uint32_t sidePosition = 0;                           // its position in side_ (Side)
  };
  struct CellRange {
    std::int32_t left, top, right, bottom;
    double count;  // may exceed every integer type; NaN when a bound was not a number
  };

  CellRange cellsOf(const platform::Rect& rect) const;
  static std::uint64_t key(std::int32_t x, std::int32_t y) noexcept;
  void take(Slot slot, std::vector<Slot>& into, const platform::Rect& rect);

  double cellSide_ = 1;
  std::vector<Entry> entries_;
  std::unordered_map<std::uint64_t, std::vector<Slot>> cells_;
  std::vector<Slot> side_;
  // A slot is taken once a query: it is stamped with the query's number.
  std::vector<std::uint32_t> stamps_;
  std::uint32_t stamp_ = 0;
  std::vector<Slot> found_;
};
