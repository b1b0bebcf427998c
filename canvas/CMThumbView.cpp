#include "canvas/CMThumbView.h"

#include "document/CMDrawer.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"

void CMThumbView::drawDefaultBackground(platform::GraphicsContext& context) {
  if (!isPageTransparent()) return;
  context.setFillColor(platform::Color::whiteColor());
  context.fillPath(platform::BezierPath::rect({0, 0, frame().size.width, frame().size.height}));
}

void CMThumbView::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->saveGraphicsState();
  drawDefaultBackground(*context);
  drawer().draw(*context, {0, 0, frame().size.width, frame().size.height}, false);
  context->restoreGraphicsState();
}

void CMThumbView::drawPage(platform::GraphicsContext& context) {
  platform::CurrentContextScope current(context);
  // Page surfaces are y-up, and outside design mode the drawer itself turns the page's downward records upright:
  // no flip of our own on top of it.
  drawRect(bounds());
}
