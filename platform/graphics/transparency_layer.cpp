#include "platform/graphics/graphics_context.h"

namespace platform {

void GraphicsContext::beginTransparencyLayer() {
  layers_.push_back({state_, saved_.size()});
  cairo_push_group(cr_);
  state_.alpha = 1;
  state_.blendMode = BlendMode::Normal;
  state_.shadow.reset();
}

void GraphicsContext::endTransparencyLayer() {
  if (layers_.empty()) return;
  const Layer layer = layers_.back();
  // States saved inside the layer and never restored end with it.
  while (saved_.size() > layer.savedDepth) {
    cairo_restore(cr_);
    saved_.pop_back();
  }
  layers_.pop_back();
  cairo_pattern_t* group = cairo_pop_group(cr_);
  state_ = layer.outer;
  // The group's pattern matrix places it in the current user space, which the offscreen copy shares.
  drawPrimitive(
      [group](cairo_t* cr) {
        cairo_set_source(cr, group);
        cairo_paint(cr);
      },
      std::nullopt, true);
  cairo_pattern_destroy(group);
}

}  // namespace platform
