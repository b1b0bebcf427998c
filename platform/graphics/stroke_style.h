#pragma once

// The attributes that decide what a stroke paints, apart from the path itself.

#include <vector>

#include "platform/graphics/bezier_path.h"

namespace platform {

struct StrokeStyle {
  double width = 1;
  LineCap cap = LineCap::Butt;
  LineJoin join = LineJoin::Miter;
  double miterLimit = 10;
  std::vector<double> dash;  // on, off, on, ... lengths; empty for a solid line
  double dashPhase = 0;

  // The style a path's own attributes describe.
  static StrokeStyle of(const BezierPath& path);
};

}  // namespace platform
