// The part of the canvas a change of a few layers needs drawn again: the layers' old and new reach, and the selection
// marks and helper lines drawn over them, which reach past the layers.

#include <cairo.h>

#include <memory>

#include "canvas/CMEditorView.h"
#include "canvas/CMSelectionGeometry.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

namespace {

// Past this many changed or marked layers, measuring their parts costs more than drawing the whole view.
constexpr std::size_t kMostLayersMeasured = 64;
// Antialiasing and line caps reach a little past what the marks' geometry says.
constexpr double kMarkSlack = 2;
// Every mark lies within this of the canvas (it draws over its frame view); it keeps damage of a layer of absurd
// size within the numbers GTK takes.
constexpr double kFarthestMark = 1e5;
// What the marks may be drawn into, so that none is cut off while measured.
constexpr platform::Rect kAllMarks{-kFarthestMark, -kFarthestMark, 2 * kFarthestMark, 2 * kFarthestMark};

platform::Rect inWholePixels(const platform::Rect& rect, double slack) {
  return platform::integralRect(platform::insetRect(rect, -slack, -slack));
}

}  // namespace

platform::Rect CMEditorView::layerDamage(CMLayer& layer) const {
  const platform::AffineTransform transform = drawer_->zoomTransform();
  const platform::Rect before = layer.lastReach(transform);
  layer.extent();
  const platform::Rect after = layer.lastReach(transform);
  // Measuring the layer again forgets where it was drawn: a second look before the next drawing still reports that.
  const platform::Rect moved = platform::unionRect(before, after);
  platform::Rect& damage = damageSinceDrawn_[&layer];
  damage = platform::unionRect(damage, platform::integralRect(moved));
  return damage;
}

std::optional<std::vector<platform::Rect>> CMEditorView::marksReach() const {
  Layers marked;
  for (const auto& layer : layers()) {
    if (!layer->selected() && !layer->selectedAsPartOfGroup()) continue;
    if (marked.size() == kMostLayersMeasured) return std::nullopt;
    marked.push_back(layer);
  }
  std::vector<platform::Rect> reach;
  if (!marked.empty()) {
    // The marks drawn as drawRect draws them, into a recording that tells where they put ink.
    const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> recording(
        cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr), cairo_surface_destroy);
    {
      platform::GraphicsContext context(recording.get(), frame().size.height, true);
      const platform::CurrentContextScope current(context);
      context.setShouldAntialias(true);
      for (const auto& layer : marked) {
        context.saveGraphicsState();
        layer->drawEditing(context, kAllMarks);
        context.restoreGraphicsState();
      }
    }
    double x = 0, y = 0, width = 0, height = 0;
    cairo_recording_surface_ink_extents(recording.get(), &x, &y, &width, &height);
    if (width > 0 && height > 0) reach.push_back(inWholePixels({x, y, width, height}, kMarkSlack));
  }
  if (selectedLayer_ && showCenterMarkers_) {
    // Each helper line crosses the page: a thin strip of it (see drawHelperLines).
    const platform::Size page = frame().size;
    for (const selection_geometry::HelperLine& line :
         selection_geometry::helperLines(selectedLayer_->framePath().bounds(), page)) {
      const platform::Rect strip = line.vertical ? platform::Rect{line.at, 0, 0, page.height}
                                                 : platform::Rect{0, line.at, page.width, 0};
      reach.push_back(inWholePixels(strip, kMarkSlack));
    }
  }
  return reach;
}

void CMEditorView::setLayersNeedDisplay(const Layers& changed) {
  const std::optional<std::vector<platform::Rect>> marks = marksReach();
  if (!marks || !marksDrawn_ || changed.size() > kMostLayersMeasured) {
    setNeedsDisplay();
    return;
  }
  const auto invalidate = [this](const platform::Rect& rect) {
    setNeedsDisplayInRect(platform::intersectionRect(rect, kAllMarks));
  };
  for (const auto& layer : changed) invalidate(layerDamage(*layer));
  for (const platform::Rect& rect : *marksDrawn_) invalidate(rect);
  for (const platform::Rect& rect : *marks) invalidate(rect);
}
