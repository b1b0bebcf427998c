#include "document/CMLayerTree.h"

namespace CMLayerTree {

std::int32_t layerId(const platform::DictRef& record) { return record ? record->get("id").intValue() : 0; }

platform::ArrayRef groupItems(const platform::DictRef& record) {
  if (!record || record->get("type").intValue() != kGroupType) return nullptr;
  return record->array("items");
}

Location find(const platform::ArrayRef& list, std::int32_t id) {
  if (!list) return {};
  for (std::size_t index = 0; index < list->size(); ++index) {
    platform::DictRef record = list->at(index).dictionary();
    if (!record) continue;
    if (layerId(record) == id) return Location{record, list, index, kTopLevelGroupId};
    if (platform::ArrayRef items = groupItems(record)) {
      Location inside = find(items, id);
      if (inside.record) {
        // The innermost group answers first; outer levels leave its id alone.
        if (inside.groupId == kTopLevelGroupId) inside.groupId = layerId(record);
        return inside;
      }
    }
  }
  return {};
}

platform::ArrayRef holdingList(const platform::ArrayRef& list, std::int32_t id) {
  if (!list) return nullptr;
  for (const platform::Value& entry : *list) {
    platform::DictRef record = entry.dictionary();
    if (!record) continue;
    if (platform::ArrayRef inside = holdingList(groupItems(record), id)) return inside;
    if (layerId(record) == id) return list;
  }
  return nullptr;
}

std::size_t indexOf(const platform::ArrayRef& list, std::int32_t id) {
  if (!list) return platform::Array::npos;
  for (std::size_t index = 0; index < list->size(); ++index) {
    platform::DictRef record = list->at(index).dictionary();
    if (record && layerId(record) == id) return index;
  }
  return platform::Array::npos;
}

bool removeById(const platform::ArrayRef& list, std::int32_t id) {
  if (!list) return false;
  for (std::size_t index = 0; index < list->size(); ++index) {
    platform::DictRef record = list->at(index).dictionary();
    if (!record) continue;
    if (layerId(record) == id) {
      list->removeAt(index);
      return true;
    }
    if (removeById(groupItems(record), id)) return true;
  }
  return false;
}

void collectMemberIds(const platform::DictRef& group, std::unordered_set<std::int32_t>& ids) {
  platform::ArrayRef items = groupItems(group);
  if (!items) return;
  for (const platform::Value& entry : *items) {
    platform::DictRef member = entry.dictionary();
    if (!member) continue;
    ids.insert(layerId(member));
    collectMemberIds(member, ids);
  }
}

}  // namespace CMLayerTree
