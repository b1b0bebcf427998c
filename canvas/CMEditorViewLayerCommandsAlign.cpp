// Aligning the other members of the multi-selection with an edge of the primary layer, measured by fresh layer
// objects at zoom 1 (document units).

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMMainWindowService.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMUndoActionType.h"

namespace {

// Text and image layers and lines move by the difference instead of taking a rectangle: a text layer would
// take its measured width cut to whole units and wrap its last word, and a line's rectangle does not start at
// its "x", "y".
bool movesByDifference(CMLayer& layer) {
  auto* shape = dynamic_cast<CMShapeLayer*>(&layer);
  return !shape || shape->isLineShape();
}

void moveByDifference(CMLayer& layer, platform::Point by) {
  if (auto* line = dynamic_cast<CMShapeLayer*>(&layer)) {
    const platform::Point start = line->originPoint();
    line->setLinePosition({start.x + by.x, start.y + by.y});
    return;
  }
  const platform::DictRef& record = layer.data();
  if (by.x != 0) setShapeFloat(record, "x", record->get("x").doubleValue() + by.x);
  if (by.y != 0) setShapeFloat(record, "y", record->get("y").doubleValue() + by.y);
}

}  // namespace

void CMEditorView::alignLayers(platform::Rect (*place)(const platform::Rect& reference, const platform::Rect& own)) {
  const Records primary = layerSelected();
  const std::shared_ptr<CMLayer> reference = primary.empty() ? nullptr : layerFromDictionary(primary.front());
  if (!reference || !document_) return;
  const platform::Rect target = reference->layerRect();
  const Records others = layers2();
  document_->undoManager().regUndoLayers(kCMUndoEditing, others);
  for (const platform::DictRef& record : others) {
    const std::shared_ptr<CMLayer> layer = layerFromDictionary(record);
    if (!layer) continue;
    const platform::Rect own = layer->layerRect();
    const platform::Rect placed = place(target, own);
    if (movesByDifference(*layer)) {
      moveByDifference(*layer, {placed.origin.x - own.origin.x, placed.origin.y - own.origin.y});
    } else {
      layer->setLayerRect(placed);
    }
  }
  CMMainWindowService::shared().updateEditor();
}

void CMEditorView::aligntop() {
  alignLayers([](const platform::Rect& reference, const platform::Rect& own) {
    return platform::Rect{own.origin.x, reference.origin.y, own.size.width, own.size.height};
  });
}

void CMEditorView::alignbottom() {
  alignLayers([](const platform::Rect& reference, const platform::Rect& own) {
    return platform::Rect{own.origin.x, reference.origin.y + reference.size.height - own.size.height, own.size.width,
                          own.size.height};
  });
}

void CMEditorView::alignleft() {
  alignLayers([](const platform::Rect& reference, const platform::Rect& own) {
    return platform::Rect{reference.origin.x, own.origin.y, own.size.width, own.size.height};
  });
}

void CMEditorView::alignright() {
  alignLayers([](const platform::Rect& reference, const platform::Rect& own) {
    return platform::Rect{reference.origin.x + reference.size.width - own.size.width, own.origin.y, own.size.width,
                          own.size.height};
  });
}
