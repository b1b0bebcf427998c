// Replay of the records that take whole layers out of the tree or put them
// back: deleting (2) and adding several layers (3). The item records go into
// the tree themselves, so the tree and the redo record share them.

#include <unordered_set>

#include "document/CMLayerTree.h"
#include "document/CMUndoActionType.h"
#include "document/CMUndoReplay.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;

namespace {

ArrayRef itemsOfData(const DictRef& record) {
  const DictRef data = record->dictionary("data");
  ArrayRef items = data ? data->array("items") : nullptr;
  return items ? items : Array::make();
}

DictRef listRecord(std::int32_t type, const ArrayRef& items, bool remove) {
  DictRef record = Dictionary::make({{"type", type}, {"data", Dictionary::make({{"items", items}})}});
  if (remove) record->set("remove", true);
  return record;
}

}  // namespace

void CMUndoReplay::placeAtPositions(const ArrayRef& items) {
  std::vector<Placement> placements;
  for (const platform::Value& entry : *items) {
    if (DictRef item = entry.dictionary())
      placements.push_back({item->get("position").integerValue(), item, item->get("group_id")});
  }
  placeInIndexOrder(std::move(placements));
}

DictRef CMUndoReplay::replayDeleting(const DictRef& record) {
  const ArrayRef items = itemsOfData(record);
  const bool remove = record->get("remove").boolValue();
  if (remove) {
    std::unordered_set<std::int32_t> ids;
    for (const platform::Value& entry : *items) ids.insert(CMLayerTree::layerId(entry.dictionary()));
    CMLayerTree::removeAllById(rootLayers(), std::move(ids));
  } else {
    placeAtPositions(items);
  }
  finishLayersChange();
  return listRecord(kCMUndoDeleting, items, !remove);
}

DictRef CMUndoReplay::makeAddLayersAction(const DictRef& record) {
  const ArrayRef items = itemsOfData(record);
  if (record->get("remove").boolValue()) {
    placeAtPositions(items);
    return listRecord(kCMUndoAddingLayers, items, false);
  }
  // Every place is read before anything is removed, so that putting the layers
  // back lowest index first restores each list (a duplicate made inside a group
  // goes back into that group).
  std::vector<CMLayerTree::Location> found;
  for (const platform::Value& entry : *items) {
    DictRef item = entry.dictionary();
    if (!item) continue;
    CMLayerTree::Location live = CMLayerTree::find(rootLayers(), CMLayerTree::layerId(item));
    if (!live.record) continue;
    item->set("position", static_cast<std::int64_t>(live.index));
    item->set("group_id", live.groupId);
    found.push_back(std::move(live));
  }
  for (const CMLayerTree::Location& live : found) {
    live.list->removeAt(live.list->indexOfIdentical(platform::Value(live.record)));
  }
  return listRecord(kCMUndoAddingLayers, items, true);
}

DictRef CMUndoReplay::replayAddingLayers(const DictRef& record) {
  DictRef inverse;
  if (ArrayRef records = record->array("items")) {
    ArrayRef inverses = Array::make();
    for (const platform::Value& entry : *records) {
      if (DictRef inner = entry.dictionary()) inverses->add(makeAddLayersAction(inner));
    }
    inverse = Dictionary::make({{"type", kCMUndoAddingLayers}, {"items", inverses}});
  } else {
    inverse = makeAddLayersAction(record);
  }
  finishLayersChange();
  return inverse;
}
