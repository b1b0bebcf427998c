// Rebuilding the layer objects after model changes, keeping the selection by record id.

#include <unordered_map>
#include <utility>

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
  const std::vector<platform::DictRef> shown = selectionRecords();
  // The flags by id; the first new layer with an id takes them, found through one index of the new layers.
  std::unordered_map<std::int32_t, std::pair<bool, bool>> flags;
  for (const auto& old : layers()) {
    if (old->selected() || old->selectedAsPartOfGroup()) {
      auto& [selected, groupSelected] = flags[old->layerId()];
      selected |= old->selected();
      groupSelected |= old->selectedAsPartOfGroup();
    }
  }
  rebuildLayers();
  for (const auto& layer : layers()) {
    const auto found = flags.find(layer->layerId());
    if (found == flags.end()) continue;
    if (found->second.first) layer->setSelected(true);
    if (found->second.second) layer->setSelectedAsPartOfGroup(true);
    flags.erase(found);
  }
  settleSelection();
  // Undo and the commands take marked layers away or put copies in their place: every panel must show what is
  // left, which the commands act on.
  if (selectionRecords() != shown) announceSelection();
  setNeedsDisplay();
}

CMEditorView::Layers CMEditorView::editedLayers() const {
  Layers edited;
  for (const auto& selected : selectedLayers())
    if (auto layer = findById(layers(), selected->layerId())) edited.push_back(std::move(layer));
  return edited;
}

void CMEditorView::updateSelectedLayer() {
  const OwnEdit own(*this);
  const Layers edited = editedLayers();
  for (const auto& layer : edited) {
    layer->setDirty(true);
    layer->update();
  }
  setLayersNeedDisplay(edited);
}

void CMEditorView::updateSelectedShape() {
  const OwnEdit own(*this);
  const Layers edited = editedLayers();
  for (const auto& layer : edited) {
    layer->update();
    layer->setDirty(true);
  }
  setLayersNeedDisplay(edited);
}

void CMEditorView::updateSelectedLayerSize() {
  const OwnEdit own(*this);
  const Layers edited = editedLayers();
  // The records hold their sides already, as given, and a shape's points scaled with them: rewriting them here would
  // cut them to whole units, and would resize other chosen shapes to sides of theirs that may be out of date.
  for (const auto& layer : edited) {
    layer->update();
    layer->storedSizeChanged();
  }
  setLayersNeedDisplay(edited);
}

void CMEditorView::clickOutside() {
  selectedLayerDict_ = nullptr;
  selectedLayer_ = nullptr;
  for (const auto& layer : layers()) {
    layer->setSelected(false);
    layer->setSelectedAsPartOfGroup(false);
  }
  announceSelection();
  setNeedsDisplay();
}
