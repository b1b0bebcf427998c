// The layer style's numbered entries (New and Delete in a section's header) and masks (a layer moved into the
// "masks" of the layer below it).

#include "canvas/CMCanvasWindowService.h"
#include "document/CMDocument.h"
#include "document/CMLayerTree.h"
#include "document/CMProject.h"
#include "platform/core/string_utilities.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/CPMainView.h"

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::DictRef;
using platform::Value;

const char* baseKeyOf(int panelType) {
  switch (panelType) {
    case CMOptionsPanelView::kStrokeSection:
      return "stroke";
    case CMOptionsPanelView::kShadowSection:
      return "shadow";
    default:
      return "fill";
  }
}

std::string slotKey(const char* base, int slot) { return platform::formatString("%s%d", base, slot); }

std::int32_t idOf(const DictRef& record) { return CMLayerTree::layerId(record); }

// Where a layer stands: the list that holds it and its index there, or the layer whose "masks" hold it.
struct MaskPlace {
  ArrayRef list;
  std::size_t index = 0;
  DictRef owner;
  ArrayRef ownerMasks;
  std::size_t maskIndex = 0;
};

bool findPlace(const ArrayRef& list, std::int32_t id, MaskPlace& place) {
  if (!list) return false;
  for (std::size_t k = 0; k < list->size(); ++k) {
    const DictRef entry = list->at(k).dictionary();
    if (!entry) continue;
    if (idOf(entry) == id) {
      place.list = list;
      place.index = k;
      return true;
    }
    if (const ArrayRef items = CMLayerTree::groupItems(entry)) {
      if (findPlace(items, id, place)) return true;
      continue;
    }
    if (const ArrayRef masks = entry->array("masks")) {
      for (std::size_t m = 0; m < masks->size(); ++m) {
        if (idOf(masks->at(m).dictionary()) != id) continue;
        place = {list, k, entry, masks, m};
        return true;
      }
    }
  }
  return false;
}

void refreshSelectedLayer() {
  if (CPMainView* main = CMProject::shareProject().mainView()) main->updateSelectedLayer();
}

}  // namespace

DictRef CMOptionsPanelView::liveLayer() const {
  if (!selectedLayer_ || !document() || !document()->data()) return nullptr;
  return CMLayerTree::find(document()->data()->array("layers"), idOf(selectedLayer_), CMLayerTree::Masks::Search)
      .record;
}

void CMOptionsPanelView::didNew(CMRightPanelBaseView& section) {
  const DictRef shape = shapeRecord();
  if (!shape || !document()) return;
  const char* base = baseKeyOf(section.panelType());
  int highest = 0;
  for (int slot = 1; slot <= kLastSlot; ++slot)
    if (shape->contains(slotKey(base, slot))) highest = slot;
  // No section shows a slot past the ninth.
  if (highest == kLastSlot) return;
  const DictRef path = CMProject::defaultObject("path");
  const DictRef pathShape = path ? path->dictionary("shape") : nullptr;
  const DictRef model = pathShape ? pathShape->dictionary(base) : nullptr;
  if (!model) return;
  endEditing();
  document()->undoManager().regUndoDictionary(kCMUndoEditing, selectedLayer_);
  shape->set(slotKey(base, highest + 1), platform::dictionaryCopy(model));
  document()->setDirty(true);
  recreate();
  refreshSelectedLayer();
}

void CMOptionsPanelView::didDelete(CMRightPanelBaseView& section) {
  const DictRef shape = shapeRecord();
  if (section.indexOfSection() >= 1 && shape && document()) {
    const std::string key = slotKey(baseKeyOf(section.panelType()), section.indexOfSection());
    if (shape->contains(key)) {
      endEditing();
      document()->undoManager().regUndoDictionary(kCMUndoEditing, selectedLayer_);
      shape->remove(key);
      document()->setDirty(true);
    }
  }
  recreate();
  refreshSelectedLayer();
}

bool CMOptionsPanelView::isCanBeMask() const {
  if (!selectedLayer_ || !document() || !document()->data()) return false;
  MaskPlace place;
  if (!findPlace(document()->data()->array("layers"), idOf(selectedLayer_), place)) return false;
  return !place.owner && place.index > 0;
}

bool CMOptionsPanelView::updateMaskPositionForLayer() {
  if (!selectedLayer_ || !document() || !document()->data()) return false;
  MaskPlace place;
  if (!findPlace(document()->data()->array("layers"), idOf(selectedLayer_), place)) return false;
  const bool mask = selectedLayer_->get("ismask").boolValue();
  if (mask) {
    if (place.owner || place.index == 0) return false;
    const DictRef owner = place.list->at(place.index - 1).dictionary();
    if (!owner) return false;
    ArrayRef masks = owner->array("masks");
    if (!masks) {
      masks = Array::make();
      owner->set("masks", masks);
    }
    const Value moved = place.list->at(place.index);
    place.list->removeAt(place.index);
    masks->add(moved);
    return true;
  }
  if (!place.owner) return false;
  const Value moved = place.ownerMasks->at(place.maskIndex);
  place.ownerMasks->removeAt(place.maskIndex);
  place.list->insert(place.index + 1, moved);
  return true;
}

void CMOptionsPanelView::setMask(bool mask) {
  const DictRef layer = selectedLayer_;
  if (!document() || layer->get("ismask").boolValue() == mask) return;
  MaskPlace place;
  if (!findPlace(document()->data()->array("layers"), idOf(layer), place)) return;
  // Only the bottom-most layer of a list has none below to mask; only a mask has an owner to leave.
  const bool possible = mask ? !place.owner && place.index > 0 : place.owner != nullptr;
  if (!possible) return;
  const DictRef owner = mask ? place.list->at(place.index - 1).dictionary() : place.owner;
  if (!owner) return;
  CMUndoManager& undo = document()->undoManager();
  endEditing();
  {
    // One step: the owner's masks as they were, and the layer's place in its list.
    CMUndoManager::Transaction transaction(undo);
    undo.regUndoDictionary(kCMUndoEditing, owner);
    if (mask) undo.regDelete({platform::dictionaryCopy(layer)});
    layer->set("ismask", mask);
    updateMaskPositionForLayer();
    if (!mask) undo.regUndoDictionary(kCMUndoAdding, layer);
  }
  document()->setDirty(true);
  CMCanvasWindowService::shared().updateProperties();
  if (CPMainView* main = CMProject::shareProject().mainView()) main->update();
  recreate();
}
