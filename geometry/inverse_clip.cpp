#include "geometry/inverse_clip.h"

#include "platform/graphics/graphics_context.h"

void addInverseClip(const platform::BezierPath& path) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  platform::BezierPath outside = platform::BezierPath::rect(context->clipBoundingBox());
  outside.appendPath(path);
  context->clipToPath(outside, platform::WindingRule::EvenOdd);
}
