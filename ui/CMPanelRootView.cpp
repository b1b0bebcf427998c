#include "ui/CMPanelRootView.h"

#include <utility>

#include "platform/graphics/graphics_context.h"

CMPanelRootView::CMPanelRootView(platform::Rect frame, Layout layout) : View(frame), layout_(std::move(layout)) {}

void CMPanelRootView::drawRect(const platform::Rect& dirtyRect) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->setFillColor(platform::Color::white(0.92, 1));
  context->rectFill(dirtyRect);
}

void CMPanelRootView::resizeSubviewsWithOldSize(platform::Size) {
  if (layout_) layout_(frame().size);
}
