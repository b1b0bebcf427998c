#include "ui/CMToolsView.h"

#include "document/CMStyle.h"
#include "platform/graphics/graphics_context.h"

CMToolsView::CMToolsView() : CMToolsBase({0, 0, kCMToolPaletteWidth, 100}, kCMPaneToolPalette) {}

void CMToolsView::selectTool(int tool) {
  for (const Element& element : actions()) {
    if (!element.button) continue;
    element.button->setEnabled(true);
    element.button->setState(element.button->tag() == tool ? 1 : 0);
  }
}

void CMToolsView::resizeSubviewsWithOldSize(platform::Size oldSize) {
  CMToolsBase::resizeSubviewsWithOldSize(oldSize);
  layoutSubViews();
}

void CMToolsView::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Size size = frame().size;
  const CMDeviceColor line = CMStyle::lineColor();
  context->setFillColor(platform::Color::device(line.red, line.green, line.blue, line.alpha));
  context->rectFill({size.width - 1, 0, 1, size.height});
}
