#include "canvas/CMEditorView.h"

#include <cmath>
#include <utility>

#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "document/CMNotificationNames.h"

namespace {

CMEditorView*& activeEditorSlot() {
  static CMEditorView* editor = nullptr;
  return editor;
}

}  // namespace

CMEditorView::CMEditorView(platform::Rect frame) : CMEditorBaseView(frame), drawer_(std::make_unique<CMDrawer>()) {
  createCustomCursors();
  // The marks of a selected layer at the page's edge overhang it.
  setDrawsOverSuperview(true);
  layerChanged_ = platform::NotificationCenter::defaultCenter().addObserver(
      kNotificationLayerChanged, [this](const platform::Notification&) { OnLayerDataChange(); });
}

CMEditorView::~CMEditorView() {
  // Nobody may reach a canvas that is gone through the active editor.
  if (activeEditorSlot() == this) activeEditorSlot() = nullptr;
}

CMEditorView* CMEditorView::activeEditor() { return activeEditorSlot(); }

void CMEditorView::becomeActiveEditor() { activeEditorSlot() = this; }

void CMEditorView::setDocument(std::shared_ptr<CMDocument> document) {
  // The same drawing read again keeps its selection, as every other rebuild does.
  if (document_ && document == document_) return update();
  if (document_) leaveDocument();
  document_ = std::move(document);
  rebuildLayers();
  setNeedsDisplay();
}

void CMEditorView::leaveDocument() {
  // Layer ids start at 1 in every drawing: nothing kept by id may be found again in the next one. An edit under way
  // ends in its own drawing first.
  if (isEditingText()) endEditingText({});
  saveCurve();
  selectedLayer_ = nullptr;
  selectedLayerDict_ = nullptr;
  selectedPoint_ = nullptr;
  curveAddedLayer_ = nullptr;
  editingLayer_ = nullptr;
  hideSel();
}

void CMEditorView::setZoom(float zoom) {
  drawer_->setZoom(zoom);
  zoom_ = zoom;
}

void CMEditorView::setViewMode(bool vectorViewMode) {
  viewMode_ = vectorViewMode;
  drawer_->setViewMode(vectorViewMode);
  drawer_->setZoom(zoom_);
  setNeedsDisplay();
}

const CMEditorView::Layers& CMEditorView::layers() const { return drawer_->layers(); }

CMEditorView::Layers CMEditorView::selectedLayers() const {
  Layers result;
  for (const auto& layer : layers())
    if (layer->selected()) result.push_back(layer);
  return result;
}

CMEditorView::Layers CMEditorView::multySelectedLayers() const {
  Layers result;
  for (const auto& layer : layers())
    if (layer->selectedAsPartOfGroup()) result.push_back(layer);
  return result;
}

CMEditorView::Layers CMEditorView::allSelectedLayers() const {
  Layers result;
  for (const auto& layer : layers())
    if (layer->selected() || layer->selectedAsPartOfGroup()) result.push_back(layer);
  return result;
}

platform::AffineTransform CMEditorView::zoomTransform() const {
  platform::AffineTransform transform;
  transform.scaleBy(documentZoom());
  return transform;
}

platform::AffineTransform CMEditorView::backZoomTransform() const {
  platform::AffineTransform transform;
  transform.scaleBy(1 / documentZoom());
  return transform;
}

float CMEditorView::documentZoom() const {
  const platform::DictRef root = document_ ? document_->data() : nullptr;
  const float zoom = root ? root->get("zoom").floatValue() : 1.0f;
  // A damaged record must not make the transforms singular.
  return zoom > 0 && std::isfinite(zoom) ? zoom : 1.0f;
}

CMEditorView::Completion CMEditorView::completion(std::function<void(CMEditorView&)> action) {
  std::weak_ptr<platform::View> weak = weak_from_this();
  return [weak, action = std::move(action)] {
    if (const auto view = weak.lock()) action(static_cast<CMEditorView&>(*view));
  };
}
