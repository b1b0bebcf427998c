#include "document/CMLayer.h"
#include "document/CMShapeLayer.h"
#include "platform/graphics/graphics_context.h"

void CMLayer::applyClipPaths() {
  erasePaths();
  const platform::ArrayRef masks = data_->array("masks");
  if (!masks) return;
  for (const platform::Value& entry : *masks) {
    const platform::DictRef mask = entry.dictionary();
    if (!mask) continue;
    CMShapeLayer maskLayer(mask);
    if (maskLayer.isVisible() && mask->get("ismask").boolValue()) addClipPath(maskLayer.path());
  }
}

void CMLayer::addClipPath(platform::BezierPath path) { clipPaths_.push_back(std::move(path)); }

void CMLayer::beginClipPath(platform::GraphicsContext& context) {
  // The paths may change before endClipPath, so remember how many states were saved here.
  savedClipStates_ = 0;
  for (const platform::BezierPath& clip : clipPaths_) {
    context.saveGraphicsState();
    context.clipToPath(clip);
    ++savedClipStates_;
  }
}

void CMLayer::endClipPath(platform::GraphicsContext& context) {
  for (; savedClipStates_ > 0; --savedClipStates_) context.restoreGraphicsState();
}
