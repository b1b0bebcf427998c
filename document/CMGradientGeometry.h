#pragma once

// Where a gradient record's colours go in a box: the line of a linear gradient, or
// the centre, radius and stretch of a radial one. Kept apart from the drawing so the
// numbers can be checked on their own.

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/gradient.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/quartz_path.h"

// The two gradient services read "attributes" differently. Both narrow type 0 by "radius_factor", scale the radius
// of type 1 by it and take it as the length of type 2.
enum class CMGradientRules {
  // Document fills and strokes: "attributes" end points for type 0 (then not narrowed).
  Document,
  // Gradient swatches: "attributes" ignored.
  Swatch,
};

struct CMGradientGeometry {
  enum class Kind { None, Linear, Radial };

  Kind kind = Kind::None;
  // Linear: the gradient line. Radial: both are the centre, in the stretched space, and `radius` is half the box's
  // diagonal times "radius_factor" there.
  platform::Point start;
  platform::Point end;
  double radius = 0;
  // Radial: applied to the CTM before drawing, so the circle becomes an ellipse along the box's longer side.
  platform::Size scale{1, 1};

  // Types 0 (left to right), 1 (radial) and 2 (at "angle"); `onlyLinear` draws every type as type 0.
  // Any other type, and a radial gradient in a box with no width or height, draws nothing.
  static CMGradientGeometry forRecord(const platform::DictRef& record, const platform::Rect& box,
                                      CMGradientRules rules, bool onlyLinear = false);

  // Paints within the clip (both ends extended), with no shadow of its own.
  void paint(platform::GraphicsContext& context, const platform::Gradient& gradient) const;
  // The same clipped to `path` under the non-zero rule; the context's state is restored afterwards.
  void paintInPath(platform::GraphicsContext& context, const platform::QuartzPath& path,
                   const platform::Gradient& gradient) const;
};
