#pragma once

// Gradient paint of document fills and strokes. A gradient record holds "type" (0 left
// to right, 1 radial, 2 at "angle"), "radius_factor", "fx", "fy", "markers" and, from
// SVG, "attributes"; see CMGradientGeometry and CMGradientStops for how each is read.

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/gradient.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/quartz_path.h"

class CMGradient {
 public:
  CMGradient() = delete;

  // The record's stops, each at `alpha`, with a midpoint after every stop that has "mix".
  static platform::Gradient createGradient(const platform::DictRef& record, float alpha);
  static platform::Gradient createGradient(const platform::DictRef& record) { return createGradient(record, 1); }

  // Paints the inside of the path (non-zero rule) with the gradient laid over the path's bounds.
  static void fillGradientPath(platform::GraphicsContext& context, const platform::BezierPath& path,
                               const platform::DictRef& record, float alpha);
  // Paints the outline of the path's stroke (its width, join, cap and dash), the gradient laid over the outline's bounds.
  static void strokeGradientPath(platform::GraphicsContext& context, const platform::BezierPath& path,
                                 const platform::DictRef& record, float alpha);
  // Paints the record's geometry for `rect` clipped to `path` (non-zero); the context's state is restored afterwards.
  static void drawPath(platform::GraphicsContext& context, const platform::Rect& rect, const platform::QuartzPath& path,
                       const platform::Gradient& gradient, const platform::DictRef& record);
};
