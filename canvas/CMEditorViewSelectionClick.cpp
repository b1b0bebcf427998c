// Click selection, selection by record (from the layers panel) and select all.

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <vector>

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

// The ids of the plain records and of every member of the group records, at any depth.
std::unordered_set<std::int32_t> memberIds(const std::vector<platform::DictRef>& records) {
  std::unordered_set<std::int32_t> members;
  members.reserve(records.size());
  std::vector<platform::DictRef> pending(records.rbegin(), records.rend());
  while (!pending.empty()) {
    const platform::DictRef record = std::move(pending.back());
    pending.pop_back();
    if (!record) continue;
    if (!isGroupRecord(record)) {
      members.insert(record->get("id").intValue());
      continue;
    }
    if (const platform::ArrayRef items = record->array("items"))
      for (const platform::Value& item : *items) pending.push_back(item.dictionary());
  }
  return members;
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
  announceSelection();
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
  // The chosen layer is the current one, which the keys move and delete; a chosen group has none.
  selectedLayer_ = nullptr;
  if (record && !isGroupRecord(record)) {
    const std::int32_t id = record->get("id").intValue();
    const auto found = std::find_if(layers().begin(), layers().end(), [id](const auto& layer) {
      return layer->layerId() == id;
    });
    if (found != layers().end()) selectedLayer_ = *found;
  }
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
  // As if each record were selected in turn with Shift held, in one pass over the layers: every matched layer
  // joins the multi-selection, the last plain record's layer ends up selected, and records inside group records
  // leave the selected flags alone.
  const std::unordered_set<std::int32_t> members = memberIds(records);
  std::optional<std::int32_t> lastPlain;
  for (const platform::DictRef& record : records)
    if (record && !isGroupRecord(record)) lastPlain = record->get("id").intValue();
  bool changed = false;
  for (const auto& layer : layers()) {
    const bool wasSelected = layer->selected();
    const bool wasMember = layer->selectedAsPartOfGroup();
    const std::int32_t id = layer->layerId();
    const bool member = members.count(id) != 0;
    layer->setSelectedAsPartOfGroup(member);
    if (lastPlain) layer->setSelected(id == *lastPlain);
    changed |= layer->selected() != wasSelected || member != wasMember;
  }
  if (changed) setNeedsDisplay();
}

void CMEditorView::selectNewLayers(const std::vector<platform::DictRef>& records,
                                   std::optional<std::int32_t> current) {
  // Whatever was selected before makes way: a command must not reach layers the user no longer sees chosen.
  const std::unordered_set<std::int32_t> members = memberIds(records);
  std::shared_ptr<CMLayer> topmost;
  for (auto layer = layers().rbegin(); layer != layers().rend(); ++layer) {
    if (members.count((*layer)->layerId()) == 0) continue;
    if (!topmost) topmost = *layer;
    if (current && (*layer)->layerId() == *current) {
      topmost = *layer;
      break;
    }
  }
  for (const auto& layer : layers()) {
    const bool member = members.count(layer->layerId()) != 0;
    layer->setSelected(member && layer == topmost);
    layer->setSelectedAsPartOfGroup(member);
  }
  selectedLayer_ = topmost;
  selectedLayerDict_ = topmost ? topmost->data() : nullptr;
  selectedPoint_ = nullptr;
  setNeedsDisplay();
  // The current layer first, as the panels take it.
  std::vector<platform::DictRef> shown = records;
  const auto first = std::find(shown.begin(), shown.end(), selectedLayerDict_);
  if (first != shown.end()) std::rotate(shown.begin(), first, first + 1);
  CMCanvasWindowService::shared().showSelection(shown, this);
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
  CMCanvasWindowService::shared().didSelectAll();
}
