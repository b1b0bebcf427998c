// Drawing of the drawer: the page background, then every visible layer that can reach the
// rectangle under the zoom transform, then (on the canvas) the selection marks above all layers.

#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "document/CMLayerExtent.h"
#include "document/CMLayerImageJobs.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

void CMDrawer::draw(platform::GraphicsContext& context, const platform::Rect& rect, bool designMode) {
  drawContent(context, rect, designMode);
  if (designMode) drawSelectionMarks(context, rect);
}

void CMDrawer::drawContent(platform::GraphicsContext& context, const platform::Rect& rect, bool designMode) {
  designMode_ = designMode;
  // Layer kinds draw pictures and text into the current context.
  const platform::CurrentContextScope current(context);
  drawBackground(context, rect);
  drawLayers(context, rect);
}

void CMDrawer::drawSelectionMarks(platform::GraphicsContext& context, const platform::Rect& rect) {
  const platform::CurrentContextScope current(context);
  context.saveGraphicsState();
  context.clipToRect(rect);
  context.setShouldAntialias(true);
  if (keepsLayerExtents_) {
    CMDrawerIndex& index = currentIndex();
    for (const CMDrawerIndex::Slot slot : index.selectedLayers())
      drawLayer(*index.layers()[slot], *indexGroups_[slot], context, rect, zoomTransform(), true);
  } else {
    drawGroupLayers(*topGroup_, context, rect, zoomTransform(), true);
  }
  context.restoreGraphicsState();
}

CMDrawerIndex::Setting CMDrawer::drawingSetting() const {
  return {designMode_, documentZoom(), zoomTransform(), backZoomTransform(), vectorViewMode_};
}

namespace {

// The group's layers in the order they are drawn, each with the innermost node holding it.
void collectLayers(const CMDrawer::GroupNode& group, CMDrawer::Layers& layers,
                   std::vector<const CMDrawer::GroupNode*>& groups) {
  for (const CMDrawer::Item& item : group.items) {
    if (const auto* node = std::get_if<std::shared_ptr<CMDrawer::GroupNode>>(&item)) {
      if ((*node)->visible) collectLayers(**node, layers, groups);
    } else {
      layers.push_back(std::get<std::shared_ptr<CMLayer>>(item));
      groups.push_back(&group);
    }
  }
}

}  // namespace

void CMDrawer::applyDrawingSetting() {
  const CMDrawerIndex::Setting setting = drawingSetting();
  for (const std::shared_ptr<CMLayer>& layer : layers_) setting.applyTo(*layer);
}

CMDrawerIndex& CMDrawer::currentIndex() {
  if (indexStale_) {
    Layers layers;
    layers.reserve(layers_.size());
    indexGroups_.clear();
    indexGroups_.reserve(layers_.size());
    collectLayers(*topGroup_, layers, indexGroups_);
    index_.reset(std::move(layers));
    indexStale_ = false;
  }
  index_.update(drawingSetting());
  return index_;
}

void CMDrawer::drawBackground(platform::GraphicsContext& context, const platform::Rect& rect) {
  const platform::DictRef root = rootRecord();
  const platform::DictRef background = root ? root->dictionary("background") : nullptr;
  const platform::DictRef color = background ? background->dictionary("bg_color") : nullptr;
  // A transparent page colour leaves the colour the caller chose for a page without background.
  if (color && color->get("a").doubleValue() != 0) {
    context.setFillColor(platform::Color(color->get("r").doubleValue() / 255, color->get("g").doubleValue() / 255,
                                         color->get("b").doubleValue() / 255, color->get("a").doubleValue() / 255));
  }
  // A copy, not a blend: a translucent page colour replaces what was there.
  context.rectFill(rect);
}

void CMDrawer::drawLayers(platform::GraphicsContext& context, const platform::Rect& rect) {
  const platform::AffineTransform transform = zoomTransform();
  context.saveGraphicsState();
  context.clipToRect(rect);
  if (!designMode_) {
    // Output surfaces are y-up; records grow downward from the top of the page.
    context.translateCTM(0, platform::minY(rect) + platform::maxY(rect));
    context.scaleCTM(1, -1);
  }
  context.setShouldAntialias(true);
  cullRect_ = cullingRect(context.clipBoundingBox(), transform);
  // The layers shown are found first, so that the images their draws need can be rendered side by side before they
  // are composited in order.
  std::vector<ShownLayer> shown;
  shownLayers_ = &shown;
  if (keepsLayerExtents_) {
    CMDrawerIndex& index = currentIndex();
    for (const CMDrawerIndex::Slot slot : index.layersMeeting(cullRect_)) {
      index.prepare(slot);
      drawLayer(*index.layers()[slot], *indexGroups_[slot], context, rect, transform, false);
    }
  } else {
    setting_ = drawingSetting();
    drawGroupLayers(*topGroup_, context, rect, transform, false);
  }
  shownLayers_ = nullptr;
  if (rendersImagesAhead_ && designMode_ && !vectorViewMode_) {
    std::vector<std::unique_ptr<CMLayerImageJob>> jobs;
    for (const ShownLayer& item : shown) {
      // Asked in the state the layer is drawn in, so that exactly the images its draw would render are rendered.
      withinLayerFrame(*item.layer, context, transform, [&] {
        if (std::unique_ptr<CMLayerImageJob> job = item.layer->imageJob(context)) jobs.push_back(std::move(job));
      });
    }
    renderLayerImages(jobs);
  }
  paintShownLayers(shown, context, rect, transform);
  context.restoreGraphicsState();
}

void CMDrawer::drawGroupLayers(const GroupNode& group, platform::GraphicsContext& context, const platform::Rect& rect,
                               const platform::AffineTransform& transform, bool selectedFrame) {
  for (const Item& item : group.items) {
    if (const auto* node = std::get_if<std::shared_ptr<GroupNode>>(&item)) {
      if ((*node)->visible) drawGroupLayers(**node, context, rect, transform, selectedFrame);
      continue;
    }
    drawLayer(*std::get<std::shared_ptr<CMLayer>>(item), group, context, rect, transform, selectedFrame);
  }
}

void CMDrawer::drawLayer(CMLayer& layer, const GroupNode& group, platform::GraphicsContext& context,
                         const platform::Rect& rect, const platform::AffineTransform& transform, bool selectedFrame) {
  if (selectedFrame) {
    // Marks are drawn in canvas units: the layer maps its points through its own zoom transform.
    if (designMode_ && (layer.selected() || layer.selectedAsPartOfGroup()) && layer.isVisible()) {
      context.saveGraphicsState();
      layer.drawEditing(context, rect);
      context.restoreGraphicsState();
    }
    return;
  }
  layer.setFrameRect(rect);
  if (!keepsLayerExtents_) {
    setting_.applyTo(layer);
    layer.forgetExtent();
  }
  if ((keepsLayerExtents_ && !layer.mayDrawIn(cullRect_)) || !layer.isVisible()) return;
  if (shownLayers_) {
    shownLayers_->push_back({&layer, &group});
    return;
  }
  paintLayer(layer, context, rect, transform);
}

template <typename Work>
void CMDrawer::withinLayerFrame(CMLayer& layer, platform::GraphicsContext& context,
                                const platform::AffineTransform& transform, const Work& work) {
  context.saveGraphicsState();
  layer.applyClipPaths();
  context.concatCTM(transform);
  work();
  context.restoreGraphicsState();
}

void CMDrawer::paintLayer(CMLayer& layer, platform::GraphicsContext& context, const platform::Rect& rect,
                          const platform::AffineTransform& transform) {
  withinLayerFrame(layer, context, transform, [&] { layer.draw(context, rect, true); });
}
