#pragma once

// A static index over a list of rectangles that finds the ones a query rectangle
// may meet, so graphs of thousands of contours do not compare every contour with
// every other.

#include <cstddef>
#include <vector>

#include "platform/core/geometry.h"

class PBRectIndex {
 public:
  explicit PBRectIndex(const std::vector<platform::Rect>& rects);
  // Positions in the list, ascending, of every rectangle that PBRectsOverlap with `query`; a NaN coordinate never
  // rules a rectangle out on its axis.
  std::vector<std::size_t> overlapping(const platform::Rect& query) const;

 private:
  struct Box {
    double minX, maxX, minY, maxY;
  };
  void build(std::size_t node, std::size_t begin, std::size_t end);
  void collect(std::size_t node, std::size_t begin, std::size_t end, const Box& query,
               std::vector<std::size_t>* found) const;

  std::vector<Box> boxes_;          // the rectangles, in list order
  std::vector<std::size_t> order_;  // list positions, neighbours in space next to each other
  std::vector<Box> nodes_;          // binary tree over order_: each node's box holds its range's boxes
};
