// Replay of the records that keep old values of keys: of the root record
// (4, and 7 for the page size) and of one layer record (5, and 6 for visibility).

#include <algorithm>

#include "document/CMLayerTree.h"
#include "document/CMMainWindowService.h"
#include "document/CMNotificationNames.h"
#include "document/CMUndoActionType.h"
#include "document/CMUndoReplay.h"
#include "platform/core/notification_center.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;

namespace {

// Writes the record's old values into the target, removes its "absent" keys, and
// returns {"type", "keys", "values", "absent"} that puts back what they replace. A key
// that had no value is written all the same and goes to "absent", so keys and values
// stay in step.
DictRef swapValues(const DictRef& record, const DictRef& target, bool copyWrittenArrays) {
  const ArrayRef keys = record->array("keys");
  const ArrayRef values = record->array("values");
  ArrayRef oldKeys = Array::make();
  ArrayRef oldValues = Array::make();
  ArrayRef oldAbsent = Array::make();
  const std::size_t count = keys && values ? std::min(keys->size(), values->size()) : 0;
  for (std::size_t i = 0; i < count; ++i) {
    const Value key = keys->at(i);
    if (!key.isString()) continue;
    if (const Value* current = target->find(key.string())) {
      // A copy, so later edits of the live value cannot reach into the undo record.
      oldKeys->add(key);
      oldValues->add(platform::deepCopy(*current));
    } else {
      oldAbsent->add(key);
    }
    const Value written = values->at(i);
    target->set(key.string(), copyWrittenArrays && written.isArray() ? platform::deepCopy(written) : written);
  }
  if (const ArrayRef absent = record->array("absent")) {
    for (const Value& key : *absent) {
      if (!key.isString()) continue;
      const Value* current = target->find(key.string());
      if (!current) continue;
      oldKeys->add(key);
      oldValues->add(platform::deepCopy(*current));
      target->remove(key.string());
    }
  }
  DictRef inverse = Dictionary::make({{"type", record->get("type")}, {"keys", oldKeys}, {"values", oldValues}});
  if (!oldAbsent->empty()) inverse->set("absent", oldAbsent);
  return inverse;
}

}  // namespace

DictRef CMUndoReplay::replayRootKeys(const DictRef& record) {
  DictRef inverse = swapValues(record, root_, false);
  if (record->get("type").intValue() == kCMUndoPageSize) {
    CMMainWindowService::shared().updateDocument();
  } else {
    CMMainWindowService::shared().updateEditor();
  }
  platform::NotificationCenter::defaultCenter().post(kNotificationPageChanged);
  return inverse;
}

DictRef CMUndoReplay::liveLayer(std::int32_t id) {
  return CMLayerTree::find(rootLayers(), id, CMLayerTree::Masks::Search).record;
}

// The record the values belong to now: undoing other edits may have put a copy of the layer in its place since
// registration. A record inside a layer is found from the layer's id down its path of keys.
DictRef CMUndoReplay::liveKeyTarget(const DictRef& record) {
  DictRef target = record->dictionary("obj");
  if (!target) return nullptr;
  if (!record->contains("layer_id")) {
    // Only a layer record has an id: other records (a fill, a shape) must not be taken for layer 0.
    if (!target->contains("id")) return target;
    const DictRef live = findEdited(target).record;
    return live ? live : target;
  }
  DictRef live = liveLayer(record->get("layer_id").intValue());
  if (const ArrayRef path = record->array("path"); live && path) {
    for (const Value& key : *path) {
      live = key.isString() ? live->dictionary(key.string()) : nullptr;
      if (!live) break;
    }
  }
  return live ? live : target;
}

DictRef CMUndoReplay::replayLayerKeys(const DictRef& record) {
  DictRef layer = liveKeyTarget(record);
  if (!layer) return nullptr;
  DictRef inverse = swapValues(record, layer, true);
  inverse->set("obj", layer);
  for (const char* key : {"layer_id", "path"})
    if (const Value* kept = record->find(key)) inverse->set(key, *kept);
  // The edited layer need not be the selected one; both must drop their cached drawing.
  const DictRef owner = record->contains("layer_id") ? liveLayer(record->get("layer_id").intValue())
                        : layer->contains("id")      ? layer
                                                     : nullptr;
  if (owner) owner->set("dirty", true);
  if (DictRef selected = CMMainWindowService::shared().selectedLayer()) selected->set("dirty", true);
  CMMainWindowService::shared().updateEditor();
  platform::NotificationCenter::defaultCenter().post(
      record->get("type").intValue() == kCMUndoLayerKeys ? kNotificationLayerChanged : kNotificationLayersChanged);
  return inverse;
}
