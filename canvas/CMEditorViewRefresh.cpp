// Rebuilding the layer objects after model changes, keeping the selection by record id.

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"

namespace {

// The first layer object over a record with that id, or null.
std::shared_ptr<CMLayer> findById(const CMEditorView::Layers& layers, std::int32_t id) {
  for (const auto& layer : layers)
    if (layer->layerId() == id) return layer;
  return nullptr;
}

std::shared_ptr<CMLayer> relinked(const CMEditorView::Layers& layers, const std::shared_ptr<CMLayer>& old) {
  return old ? findById(layers, old->layerId()) : nullptr;
}

}  // namespace

void CMEditorView::rebuildLayers() {
  drawer_->setDocument(document_);
  relinkLayers();
}

void CMEditorView::relinkLayers() {
  // The old objects are dropped with the rebuild: hold on to their successors only.
  selectedLayer_ = relinked(layers(), selectedLayer_);
  curveAddedLayer_ = relinked(layers(), curveAddedLayer_);
  editingLayer_ = relinked(layers(), editingLayer_);
  // The text under the in-place editor stays hidden in the rebuilt object too.
  if (editingLayer_ && isEditingText()) editingLayer_->setHidden(true);
}

void CMEditorView::update() {
  const Layers groupSelected = multySelectedLayers();
  const Layers selected = selectedLayers();
  rebuildLayers();
  for (const auto& old : selected)
    if (const auto layer = findById(layers(), old->layerId())) layer->setSelected(true);
  for (const auto& old : groupSelected)
    if (const auto layer = findById(layers(), old->layerId())) layer->setSelectedAsPartOfGroup(true);
  setNeedsDisplay();
}

void CMEditorView::updateSelectedLayer() {
  for (const auto& selected : selectedLayers()) {
    if (const auto layer = findById(layers(), selected->layerId())) {
      layer->setDirty(true);
      layer->update();
    }
  }
  setNeedsDisplay();
}

void CMEditorView::updateSelectedShape() {
  for (const auto& selected : selectedLayers()) {
    if (const auto layer = findById(layers(), selected->layerId())) {
      layer->update();
      layer->setDirty(true);
    }
  }
  setNeedsDisplay();
}

void CMEditorView::updateSelectedLayerSize() {
  for (const auto& selected : selectedLayers()) {
    if (const auto layer = findById(layers(), selected->layerId())) {
      const platform::DictRef& record = layer->data();
      layer->setOriginSize({record->get("width").floatValue(), record->get("height").floatValue()});
    }
  }
  setNeedsDisplay();
}

void CMEditorView::clickOutside() {
  selectedLayerDict_ = nullptr;
  selectedLayer_ = nullptr;
  for (const auto& layer : layers()) {
    layer->setSelected(false);
    layer->setSelectedAsPartOfGroup(false);
  }
  CMCanvasWindowService::shared().selectLayer(nullptr, this);
  setNeedsDisplay();
}
