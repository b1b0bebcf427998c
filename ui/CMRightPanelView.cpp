#include "ui/CMRightPanelView.h"

#include "platform/graphics/graphics_context.h"

void CMRightPanelView::drawRect(const platform::Rect&) {
  // The panels draw themselves; until one is shown the pane keeps the panel grey.
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->setFillColor(platform::Color{0.31, 0.31, 0.31, 1});
  context->rectFill(bounds());
}

void CMRightPanelView::resizeSubviewsWithOldSize(platform::Size) {
  const platform::Size size = frame().size;
  for (const auto& panel : subviews()) panel->setFrame({0, 0, size.width, size.height});
}
