#include "ui/CMPanelSwatchView.h"

#include <utility>

#include "document/VDGradientDraw.h"
#include "platform/graphics/graphics_context.h"

void CMPanelSwatchView::setColor(const platform::Color& color) {
  color_ = color;
  gradient_ = nullptr;
  setNeedsDisplay();
}

void CMPanelSwatchView::setGradient(platform::DictRef gradient) {
  gradient_ = std::move(gradient);
  setNeedsDisplay();
}

void CMPanelSwatchView::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Rect frameRect = bounds();
  const platform::Rect inside{frameRect.origin.x + 1, frameRect.origin.y + 1, frameRect.size.width - 2,
                              frameRect.size.height - 2};
  context->setFillColor(platform::Color::white(0.45, 1));
  context->rectFill(frameRect);
  if (gradient_) {
    VDGradientDraw::drawGradient(*context, inside, gradient_, true);
    return;
  }
  context->setFillColor(color_);
  context->rectFill(inside);
}
