#include <cstdint>

#include "document/CMLayerTree.h"
#include "document/CMUndoManager.h"
#include "platform/core/log.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;

namespace {

bool keepsKeysOfOneLayer(std::int32_t type) { return type == kCMUndoLayerKeys || type == kCMUndoVisibility; }

bool keepsKeysOfRoot(std::int32_t type) { return type == kCMUndoRootKeys || type == kCMUndoPageSize; }

// The keys that have a value in the record, with deep copies of their values: a
// shared array of point records would let later edits reach into the undo record.
void copyPresentValues(const Dictionary& record, const Array& requested, const ArrayRef& keys, const ArrayRef& values) {
  for (const Value& key : requested) {
    if (!key.isString()) continue;
    if (const Value* value = record.find(key.string())) {
      keys->add(key);
      values->add(platform::deepCopy(*value));
    }
  }
}

ArrayRef deepCopies(const std::vector<DictRef>& records) {
  ArrayRef copies = Array::make();
  for (const DictRef& record : records) {
    if (record) copies->add(platform::dictionaryCopy(record));
  }
  return copies;
}

}  // namespace

void CMUndoManager::regUndoDictionary(std::int32_t type, const DictRef& argument) {
  if (!argument) {
    platform::logWarning("undo registration without a record ignored");
    return;
  }
  if (!keepsKeysOfOneLayer(type)) {
    registerRecord(Dictionary::make({{"type", type},
                                     {"group_id", findParentGroupID(CMLayerTree::layerId(argument))},
                                     {"data", platform::dictionaryCopy(argument)}}));
    return;
  }
  DictRef layer = argument->dictionary("obj");
  ArrayRef requested = argument->array("keys");
  if (!layer || !requested) return;
  ArrayRef keys = Array::make();
  ArrayRef values = Array::make();
  copyPresentValues(*layer, *requested, keys, values);
  if (keys->empty()) return;
  registerRecord(Dictionary::make({{"type", type}, {"keys", keys}, {"values", values}, {"obj", layer}}));
}

void CMUndoManager::regUndoArray(std::int32_t type, const ArrayRef& argument) {
  if (!argument) {
    platform::logWarning("undo registration without an array ignored");
    return;
  }
  if (!keepsKeysOfRoot(type)) {
    registerRecord(
        Dictionary::make({{"type", type}, {"data", Dictionary::make({{"items", platform::arrayCopy(argument)}})}}));
    return;
  }
  ArrayRef keys = Array::make();
  ArrayRef values = Array::make();
  if (root_) copyPresentValues(*root_, *argument, keys, values);
  registerRecord(Dictionary::make({{"type", type}, {"keys", keys}, {"values", values}}));
}

void CMUndoManager::regUndoLayers(std::uint32_t type, const std::vector<DictRef>& records) {
  ArrayRef items = Array::make();
  for (const DictRef& record : records) {
    if (!record) continue;
    CMLayerTree::Location found = CMLayerTree::find(rootLayers(), CMLayerTree::layerId(record));
    items->add(Dictionary::make({{"group_id", found.groupId},
                                 {"data", platform::dictionaryCopy(record)},
                                 {"index", found.record ? found.index : 0}}));
  }
  registerRecord(Dictionary::make({{"type", type}, {"items", items}}));
}

void CMUndoManager::regDelete(const std::vector<DictRef>& records) {
  // Indexes are read before anything is removed: undo puts the layers back in
  // registration order at these places.
  for (const DictRef& record : records) {
    if (!record) continue;
    CMLayerTree::Location found = CMLayerTree::find(rootLayers(), CMLayerTree::layerId(record));
    record->set("position", found.record ? found.index : 0);
    record->set("group_id", found.groupId);
  }
  registerRecord(
      Dictionary::make({{"type", kCMUndoDeleting}, {"data", Dictionary::make({{"items", deepCopies(records)}})}}));
}
