#include "geometry/stroked_path.h"

#include "platform/graphics/rect_functions.h"
#include "platform/graphics/stroke_outliner.h"

using platform::BezierPath;

std::optional<BezierPath> strokedPath(const BezierPath& path) {
  // A box still empty once grown by 14 widths has nothing to stroke: a bare horizontal or vertical line of width 0.
  const double grow = 14 * path.lineWidth();
  const platform::Rect grown = platform::insetRect(path.bounds(), -grow, -grow);
  if (platform::isEmptyRect(grown)) return std::nullopt;
  return platform::strokedOutline(path);
}

std::optional<BezierPath> strokedPathWithStrokeWidth(BezierPath& path, float width) {
  path.setLineWidth(width);
  return strokedPath(path);
}
