#include <cstdint>
#include <unordered_set>

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

DictRef itemsStep(std::int32_t type, ArrayRef items) {
  return Dictionary::make({{"type", type}, {"data", Dictionary::make({{"items", std::move(items)}})}});
}

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

// Where each record is, found in one walk of the tree.
CMLayerTree::Locations locate(const ArrayRef& root, const std::vector<DictRef>& records) {
  std::unordered_set<std::int32_t> ids;
  for (const DictRef& record : records) {
    if (record) ids.insert(CMLayerTree::layerId(record));
  }
  return CMLayerTree::findAll(root, ids);
}

const CMLayerTree::Location* placeOf(const CMLayerTree::Locations& places, const DictRef& record) {
  const auto found = places.find(CMLayerTree::layerId(record));
  return found == places.end() ? nullptr : &found->second;
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
    regUndoDictionaries(type, {argument});
    return;
  }
  DictRef layer = argument->dictionary("obj");
  ArrayRef requested = argument->array("keys");
  if (!layer || !requested) return;
  ArrayRef keys = Array::make();
  ArrayRef values = Array::make();
  copyPresentValues(*layer, *requested, keys, values);
  // Keys without a value are kept too: undo takes away what the edit adds there (hiding a
  // layer without "visible" writes one).
  ArrayRef absent = Array::make();
  for (const Value& key : *requested) {
    if (key.isString() && !layer->contains(key.string())) absent->add(key);
  }
  if (keys->empty() && absent->empty()) return;
  DictRef record = Dictionary::make({{"type", type}, {"keys", keys}, {"values", values}, {"obj", layer}});
  if (!absent->empty()) record->set("absent", absent);
  registerRecord(record);
}

bool CMUndoManager::regUndoKeys(const DictRef& layer, const ArrayRef& path, const DictRef& target,
                               const ArrayRef& keys, const DictRef& previous) {
  if (!layer || !target || !keys) return false;
  ArrayRef kept = Array::make();
  ArrayRef values = Array::make();
  for (const Value& key : *keys) {
    if (!key.isString()) continue;
    const Value* value = previous ? previous->find(key.string()) : nullptr;
    if (!value) value = target->find(key.string());
    if (!value) continue;
    kept->add(key);
    values->add(platform::deepCopy(*value));
  }
  if (kept->empty()) return false;
  registerRecord(Dictionary::make({{"type", kCMUndoLayerKeys},
                                   {"keys", kept},
                                   {"values", values},
                                   {"obj", target},
                                   {"layer_id", CMLayerTree::layerId(layer)},
                                   {"path", path ? platform::arrayCopy(path) : Array::make()}}));
  return true;
}

void CMUndoManager::regUndoDictionaries(std::int32_t type, const std::vector<DictRef>& records) {
  const CMLayerTree::Locations places = locate(rootLayers(), records);
  for (const DictRef& record : records) {
    if (!record) continue;
    const CMLayerTree::Location* place = placeOf(places, record);
    registerRecord(Dictionary::make({{"type", type},
                                     {"group_id", place ? place->groupId : CMLayerTree::kTopLevelGroupId},
                                     {"data", platform::dictionaryCopy(record)}}));
  }
}

void CMUndoManager::regUndoShape(const DictRef& layer) {
  if (!layer) return;
  regUndoDictionary(kCMUndoLayerKeys, Dictionary::make({{"obj", layer}, {"keys", Array::make({"shape", "x", "y", "width", "height"})}}));
}

void CMUndoManager::regUndoArray(std::int32_t type, const ArrayRef& argument) {
  if (!argument) {
    platform::logWarning("undo registration without an array ignored");
    return;
  }
  if (!keepsKeysOfRoot(type)) {
    registerRecord(itemsStep(type, platform::arrayCopy(argument)));
    return;
  }
  ArrayRef keys = Array::make();
  ArrayRef values = Array::make();
  if (root_) copyPresentValues(*root_, *argument, keys, values);
  registerRecord(Dictionary::make({{"type", type}, {"keys", keys}, {"values", values}}));
}

void CMUndoManager::regUndoAddedLayers(const ArrayRef& records) {
  if (!records) return;
  registerRecord(itemsStep(kCMUndoAddingLayers, records->mutableCopy()));
}

void CMUndoManager::regUndoLayers(std::uint32_t type, const std::vector<DictRef>& records) {
  const CMLayerTree::Locations places = locate(rootLayers(), records);
  ArrayRef items = Array::make();
  for (const DictRef& record : records) {
    if (!record) continue;
    const CMLayerTree::Location* place = placeOf(places, record);
    items->add(Dictionary::make({{"group_id", place ? place->groupId : CMLayerTree::kTopLevelGroupId},
                                 {"data", platform::dictionaryCopy(record)},
                                 {"index", place ? place->index : 0}}));
  }
  registerRecord(Dictionary::make({{"type", type}, {"items", items}}));
}

void CMUndoManager::regDelete(const std::vector<DictRef>& records) {
  // Indexes are read before anything is removed: undo puts the layers back in
  // registration order at these places.
  const CMLayerTree::Locations places = locate(rootLayers(), records);
  for (const DictRef& record : records) {
    if (!record) continue;
    const CMLayerTree::Location* place = placeOf(places, record);
    record->set("position", place ? place->index : 0);
    record->set("group_id", place ? place->groupId : CMLayerTree::kTopLevelGroupId);
  }
  registerRecord(itemsStep(kCMUndoDeleting, deepCopies(records)));
}
