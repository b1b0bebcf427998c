// The canvas's drawing order: clip, the page background, the layers with their
// marks, the grid, the rubber band and the helper lines.

#include <gdk/gdk.h>

#include <memory>

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/image_named.h"

namespace {

// The transparency pattern's tile, decoded once; null when the image is missing.
std::shared_ptr<cairo_surface_t> transparencyTile() {
  static const std::shared_ptr<cairo_surface_t> tile = []() -> std::shared_ptr<cairo_surface_t> {
    const Glib::RefPtr<Gdk::Pixbuf> image = platform::pixbufNamed("doc_bg");
    if (!image) return nullptr;
    return {gdk_cairo_surface_create_from_pixbuf(image->gobj(), 1, nullptr), cairo_surface_destroy};
  }();
  return tile;
}

}  // namespace

bool CMEditorView::isPageTransparent() const {
  const platform::DictRef root = document_ ? document_->data() : nullptr;
  const platform::DictRef background = root ? root->dictionary("background") : nullptr;
  const platform::DictRef colour = background ? background->dictionary("bg_color") : nullptr;
  // A missing colour reads as alpha 0, as every missing key reads 0.
  return (colour ? colour->get("a").floatValue() : 0.0f) == 0.0f;
}

void CMEditorView::drawDefaultBackground(platform::GraphicsContext& context) {
  if (!isPageTransparent()) return;  // the drawer paints the page colour
  context.setFillColor(platform::Color::pattern(transparencyTile()));
  context.fillPath(platform::BezierPath::rect({0, 0, frame().size.width, frame().size.height}));
}

void CMEditorView::drawRect(const platform::Rect& dirtyRect) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  // The page and its layers stay on the page; the marks over them reach into the margin around it (the canvas draws
  // over the frame view), so that the handles of a shape at the edge show whole and stay within reach.
  const platform::Rect onPage = platform::intersectionRect(dirtyRect, bounds());
  context->saveGraphicsState();
  context->clipToRect(onPage);
  context->translateCTM(0, 1);
  drawDefaultBackground(*context);
  drawer_->drawContent(*context, onPage, true);
  drawGrid(*context);
  context->restoreGraphicsState();
  context->saveGraphicsState();
  context->clipToRect(dirtyRect);
  context->translateCTM(0, 1);
  drawer_->drawSelectionMarks(*context, dirtyRect);
  drawSel(*context);
  drawHelperLines(*context);
  context->restoreGraphicsState();
  becomeActiveEditor();
}
