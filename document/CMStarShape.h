#pragma once

// Star (shape type 3): "star_angles" + 3 points, outer and inner vertices alternating
// from a fixed template per count (3 to 8; any other count gives an empty outline).
// The five-point template repeats its first vertex at the end.

#include <vector>

#include "document/CMUniversalShape.h"

class CMStarShape : public CMUniversalShape {
 public:
  using CMUniversalShape::CMUniversalShape;

  static std::vector<platform::Point> points(const platform::Rect& frame, std::int64_t sides);

 protected:
  platform::BezierPath createSimplePath() override;
  void recordToolOptions() override { recordProfileOption("star_angles"); }
};
