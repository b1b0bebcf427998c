#pragma once

// Gradient paint of the gradient swatches: the document rules of CMGradient except that
// every stop is followed by a midpoint, stops are opaque and SVG "attributes" are ignored.

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/gradient.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/quartz_path.h"

class VDGradientDraw {
 public:
  VDGradientDraw() = delete;

  // 2n − 1 entries for n stops, all opaque.
  static platform::Gradient createGradient(const platform::DictRef& record);
  // Paints the record into the rectangle; with `onlyLinear` every type draws as left to right.
  static void drawGradient(platform::GraphicsContext& context, const platform::Rect& rect,
                           const platform::DictRef& record, bool onlyLinear);
  // Paints the record's geometry for `rect` clipped to `path` (non-zero); the context's state is restored afterwards.
  static void drawPath(platform::GraphicsContext& context, const platform::Rect& rect, const platform::QuartzPath& path,
                       const platform::Gradient& gradient, const platform::DictRef& record);
};
