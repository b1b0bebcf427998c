// The canvas's drawing order: clip, the page background, the layers with their
// marks, the grid, the rubber band and the helper lines.

#include <gdk/gdk.h>

#include <memory>
#include <vector>

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

double area(const platform::Rect& rect) { return rect.size.width * rect.size.height; }

// Each part drawn costs a pass over the layers: parts that nearly fill the box around them (the bands a region cuts
// overlapping rectangles into) are drawn as that box, still within the clip.
void mergeNeighbours(std::vector<platform::Rect>& parts) {
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < parts.size() && !merged; ++i) {
      for (std::size_t j = i + 1; j < parts.size() && !merged; ++j) {
        const platform::Rect box = platform::unionRect(parts[i], parts[j]);
        if (area(box) > 2 * (area(parts[i]) + area(parts[j]))) continue;
        parts[i] = box;
        parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
      }
    }
  }
}

// The rectangles of the context's clip within `dirtyRect`; just that when the clip is not a set of rectangles.
std::vector<platform::Rect> rectsBeingDrawn(platform::GraphicsContext& context, const platform::Rect& dirtyRect) {
  cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(context.cairo());
  if (list->status != CAIRO_STATUS_SUCCESS) {
    cairo_rectangle_list_destroy(list);
    return {dirtyRect};
  }
  std::vector<platform::Rect> parts;
  for (int i = 0; i < list->num_rectangles; ++i) {
    const cairo_rectangle_t& r = list->rectangles[i];
    const platform::Rect part = platform::intersectionRect({r.x, r.y, r.width, r.height}, dirtyRect);
    if (!platform::isEmptyRect(part)) parts.push_back(part);
  }
  cairo_rectangle_list_destroy(list);
  mergeNeighbours(parts);
  return parts;
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
  // over the frame view), so that the handles of a shape at the edge show whole and stay within reach. Parts damaged
  // apart (a dragged shape and a helper line across the page) are drawn apart: the box around them may be the whole
  // view. Everything is drawn where the pointer maps to: a unit of the canvas is the pixel it starts.
  for (const platform::Rect& part : rectsBeingDrawn(*context, dirtyRect)) {
    const platform::Rect onPage = platform::intersectionRect(part, bounds());
    if (platform::isEmptyRect(onPage)) continue;
    context->saveGraphicsState();
    context->clipToRect(onPage);
    drawDefaultBackground(*context);
    drawer_->drawContent(*context, onPage, true);
    drawGrid(*context);
    context->restoreGraphicsState();
  }
  context->saveGraphicsState();
  context->clipToRect(dirtyRect);
  drawer_->drawSelectionMarks(*context, dirtyRect);
  drawSel(*context);
  drawHelperLines(*context);
  context->restoreGraphicsState();
  marksDrawn_ = marksReach();
  damageSinceDrawn_.clear();
  becomeActiveEditor();
}
