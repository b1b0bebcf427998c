#pragma once

// Polygon (shape type 2): "polygon_sides" + 3 vertices from a fixed template per count
// (3 to 8; any other count gives an empty outline) placed in the frame.

#include <vector>

#include "document/CMUniversalShape.h"

class CMPolygonShape : public CMUniversalShape {
 public:
  using CMUniversalShape::CMUniversalShape;

  static std::vector<platform::Point> points(const platform::Rect& frame, std::int64_t sides);

 protected:
  platform::BezierPath createSimplePath() override;
  void recordToolOptions() override { recordProfileOption("polygon_sides"); }
};

// Moves to the first vertex, lines to the others, closes; nothing for no vertices.
platform::BezierPath closedPolygonPath(const std::vector<platform::Point>& vertices);
// Each template fraction (fx, fy) placed at (x + fx * width, y + fy * height).
std::vector<platform::Point> placedInFrame(const platform::Rect& frame, const platform::Point* fractions,
                                           std::size_t count);
