// Click selection, selection by record (from the layers panel) and select all.

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/event.h"
#include "platform/ui/text_view.h"

namespace {

constexpr std::int32_t kGroupLayerType = 3;
constexpr std::int32_t kTextLayerType = 2;

bool isGroupRecord(const platform::DictRef& record) {
  return record && record->get("type").intValue() == kGroupLayerType;
}

}  // namespace

bool CMEditorView::pressIsOnTextEditor(const platform::Event& event) const {
  const platform::View* editor = textEditor();
  return editor && !editor->isHidden() &&
         platform::pointInRect(convertPointFromWindow(event.locationInWindow), editor->frame());
}

bool CMEditorView::selectItem(const platform::Event& event) {
  if (pressIsOnTextEditor(event)) return false;
  if (checkForGroup(convertPointFromWindow(event.locationInWindow))) return true;
  const bool shift = (event.modifierFlags & platform::modifier::Shift) != 0;
  const bool objectMode = CMProject::shareProject().editMode() == kCMEditModeObject;
  selectedPoint_ = nullptr;

  if (const std::optional<HitRecord> hit = findLayer(event)) {
    selectedLayer_ = hit->layer;
    selectedLayerDict_ = hit->layer->data();
    selectedPoint_ = hit->editingPoint;
  } else {
    selectedLayer_ = nullptr;
    selectedLayerDict_ = nullptr;
    for (const auto& layer : layers()) layer->setSelectedAsPartOfGroup(false);
  }

  for (const auto& layer : layers()) {
    const bool current = layer == selectedLayer_;
    if (shift && objectMode) {
      // Shift adds the clicked layer; earlier members keep their group flag.
      if (current) {
        layer->setSelected(true);
        layer->setSelectedAsPartOfGroup(true);
      } else {
        layer->setSelected(false);
      }
    } else {
      layer->setSelected(current);
      layer->setSelectedAsPartOfGroup(current);
    }
  }
  CMCanvasWindowService::shared().selectLayer(selectedLayer_, this);
  return true;
}

void CMEditorView::dbClick(const platform::Event& event) {
  const std::optional<HitRecord> hit = findLayer(event);
  if (hit && hit->layer->data()->get("type").intValue() == kTextLayerType) textDBClick(event, hit->layer);
}

bool CMEditorView::selectLayer(const platform::DictRef& record, bool shiftPressed, bool isGroup) {
  if (!record) return false;
  if (isGroupRecord(record)) {
    bool changed = false;
    if (const platform::ArrayRef items = record->array("items"))
      for (const platform::Value& item : *items) changed |= selectLayer(item.dictionary(), shiftPressed, isGroup);
    return changed;
  }
  const std::int32_t id = record->get("id").intValue();
  bool changed = false;
  for (const auto& layer : layers()) {
    const bool matches = layer->layerId() == id;
    const bool wasSelected = layer->selected();
    if (isGroup) {
      if (!matches) continue;
      layer->setSelectedAsPartOfGroup(true);
      changed |= !wasSelected;
      continue;
    }
    if (shiftPressed && !matches) {
      layer->setSelected(false);
    } else {
      layer->setSelected(matches);
      layer->setSelectedAsPartOfGroup(matches);
    }
    changed |= layer->selected() != wasSelected;
  }
  return changed;
}

void CMEditorView::selectLayer(const platform::DictRef& record) {
  selectedLayerDict_ = record;
  const bool shift = (platform::currentModifierFlags() & platform::modifier::Shift) != 0;
  const bool group = isGroupRecord(record);
  if (group) {
    for (const auto& layer : layers()) {
      layer->setSelected(false);
      layer->setSelectedAsPartOfGroup(false);
    }
  }
  if (selectLayer(record, shift, group)) setNeedsDisplay();
}

void CMEditorView::selectLayers(const std::vector<platform::DictRef>& records) {
  for (const auto& layer : layers()) layer->setSelectedAsPartOfGroup(false);
  bool changed = false;
  for (const platform::DictRef& record : records) changed |= selectLayer(record, true, isGroupRecord(record));
  if (changed) setNeedsDisplay();
}

void CMEditorView::selectAll() {
  if (layers().empty()) return;
  if (!selectedLayer_) {
    selectedLayer_ = layers().front();
    selectedLayerDict_ = selectedLayer_->data();
    selectedLayer_->setSelected(true);
    CMCanvasWindowService::shared().selectLayer(selectedLayer_, this);
  }
  for (const auto& layer : layers()) layer->setSelectedAsPartOfGroup(true);
  setNeedsDisplay();
}
