#include "document/CMLayerTree.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace CMLayerTree {

std::int32_t layerId(const platform::DictRef& record) { return record ? record->get("id").intValue() : 0; }

platform::ArrayRef groupItems(const platform::DictRef& record) {
  if (!record || record->get("type").intValue() != kGroupType) return nullptr;
  return record->array("items");
}

double groupAlpha(const platform::DictRef& group) {
  const platform::Value* alpha = group ? group->find("alpha") : nullptr;
  const double value = alpha ? alpha->doubleValue() : 1.0;
  return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 1.0;
}

namespace {

// Where the records of one list are: the group whose "items" it is, how deep, and the list holding that group.
struct Level {
  std::int32_t groupId;
  std::size_t depth;
  const platform::ArrayRef& outerList;
};

Location locationOf(platform::DictRef record, const platform::ArrayRef& list, std::size_t index, const Level& level) {
  return Location{std::move(record), list, index, level.groupId, level.depth, level.outerList};
}

// Depth-first, each record before its masks (when searched, at the record's own level) and members: `take` sees
// every record with its place until it answers true.
template <typename Take>
bool walk(const platform::ArrayRef& list, const Level& level, Take& take, Masks masks = Masks::Skip) {
  for (std::size_t index = 0; index < list->size(); ++index) {
    platform::DictRef record = list->at(index).dictionary();
    if (!record) continue;
    if (take(record, list, index, level)) return true;
    if (masks == Masks::Search) {
      if (platform::ArrayRef held = record->array("masks"); held && walk(held, level, take, masks)) return true;
    }
    if (platform::ArrayRef items = groupItems(record)) {
      if (walk(items, Level{layerId(record), level.depth + 1, list}, take, masks)) return true;
    }
  }
  return false;
}

// Each list is rebuilt once without its removed records, rather than shifted once per removal.
std::size_t removeFound(const platform::ArrayRef& list, std::unordered_set<std::int32_t>& ids) {
  if (!list) return 0;
  std::size_t removedHere = 0;
  std::size_t removedInside = 0;
  std::vector<platform::Value> kept;
  kept.reserve(list->size());
  for (const platform::Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (record && !ids.empty() && ids.erase(layerId(record)) != 0) {
      ++removedHere;
      continue;
    }
    kept.push_back(entry);
    if (record && !ids.empty()) removedInside += removeFound(groupItems(record), ids);
  }
  if (removedHere != 0) {
    list->removeAll();
    for (platform::Value& entry : kept) list->add(std::move(entry));
  }
  return removedHere + removedInside;
}

}  // namespace

Location find(const platform::ArrayRef& list, std::int32_t id, Masks masks) {
  if (!list) return {};
  Location found;
  auto take = [&](const platform::DictRef& record, const platform::ArrayRef& holder, std::size_t index,
                  const Level& level) {
    if (layerId(record) != id) return false;
    found = locationOf(record, holder, index, level);
    return true;
  };
  walk(list, Level{kTopLevelGroupId, 0, list}, take, masks);
  return found;
}

Locations findAll(const platform::ArrayRef& list, const std::unordered_set<std::int32_t>& ids) {
  Locations found;
  if (!list || ids.empty()) return found;
  auto take = [&](const platform::DictRef& record, const platform::ArrayRef& holder, std::size_t index,
                  const Level& level) {
    const std::int32_t id = layerId(record);
    if (ids.contains(id) && !found.contains(id)) found.emplace(id, locationOf(record, holder, index, level));
    return found.size() == ids.size();
  };
  walk(list, Level{kTopLevelGroupId, 0, list}, take);
  return found;
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

bool removeById(const platform::ArrayRef& list, std::int32_t id) { return removeAllById(list, {id}) != 0; }

std::size_t removeAllById(const platform::ArrayRef& list, std::unordered_set<std::int32_t> ids) {
  return removeFound(list, ids);
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

namespace {

void addRecords(const platform::ArrayRef& list, RecordsById& records) {
  for (const platform::Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (!record) continue;
    records.emplace(layerId(record), record);
    if (const platform::ArrayRef items = groupItems(record)) addRecords(items, records);
  }
}

void addPutInPlace(const platform::ArrayRef& list, const RecordsById& before, bool& returned,
                   std::vector<platform::DictRef>& put) {
  for (const platform::Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (!record) continue;
    const auto found = before.find(layerId(record));
    if (found == before.end() || found->second != record) {
      returned = returned || found == before.end();
      put.push_back(record);
    } else if (const platform::ArrayRef items = groupItems(record)) {
      addPutInPlace(items, before, returned, put);
    }
  }
}

}  // namespace

RecordsById recordsById(const platform::ArrayRef& list) {
  RecordsById records;
  if (list) addRecords(list, records);
  return records;
}

std::vector<platform::DictRef> putInPlace(const platform::ArrayRef& list, const RecordsById& before, bool& returned) {
  std::vector<platform::DictRef> put;
  if (list) addPutInPlace(list, before, returned, put);
  return put;
}

}  // namespace CMLayerTree
