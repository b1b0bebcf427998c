#pragma once

// Colour gradients as CGGradient and NSGradient: ordered stops drawn linearly
// between two points or radially between two circles, extended (pad) before
// the start and after the end, within the current clip, with the context's
// alpha, blend mode and shadow.

#include <vector>

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/color.h"

namespace platform {

class GraphicsContext;

struct GradientStop {
  double location = 0;
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
  friend bool operator==(const GradientStop&, const GradientStop&) = default;
};

class Gradient {
 public:
  // Stops are ordered by location, stops at equal locations kept in the order given
  // (a hard edge). Locations are clamped to 0…1, components as Color clamps them,
  // and stops with a non-finite location are dropped.
  explicit Gradient(std::vector<GradientStop> stops);
  // From `start` at 0 to `end` at 1 (pattern colours read as their components).
  Gradient(const Color& start, const Color& end);

  const std::vector<GradientStop>& stops() const { return stops_; }

  // CGContextDrawLinearGradient with both extensions; user space.
  void drawLinear(GraphicsContext& context, Point start, Point end) const;
  // CGContextDrawRadialGradient with both extensions. Negative or non-finite radii draw nothing.
  void drawRadial(GraphicsContext& context, Point startCenter, double startRadius, Point endCenter,
                  double endRadius) const;
  // NSGradient: across `rect` at `angleDegrees` (0 = left to right, 90 = bottom to top in y-up space),
  // the first colour at the corner farthest back along that direction, the last at the one farthest on.
  void drawInRect(GraphicsContext& context, const Rect& rect, double angleDegrees) const;
  // As drawInRect over the path's bounds, painted inside the path.
  void drawInBezierPath(GraphicsContext& context, const BezierPath& path, double angleDegrees) const;

 private:
  std::vector<GradientStop> stops_;
};

}  // namespace platform
