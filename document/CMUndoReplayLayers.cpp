// Replay of the records that name layers by id: editing (0), adding one layer
// (1) and stacking order (8).

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/CMLayerTree.h"
#include "document/CMUndoActionType.h"
#include "document/CMUndoReplay.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;

namespace {

// The copy that goes back into the tree: its layer object must drop its cached drawing.
DictRef dirtyCopy(const DictRef& data) {
  DictRef copy = platform::dictionaryCopy(data);
  copy->set("dirty", true);
  return copy;
}

// Counts, as the records of one list leave it one after another, how many of those gone so far stood before a
// given place: a record's index at its turn is its first index less that count (a Fenwick tree).
class PlacesGone {
 public:
  explicit PlacesGone(std::size_t size) : counts_(size + 1, 0) {}
  std::size_t before(std::size_t index) const {
    std::size_t gone = 0;
    for (std::size_t i = index; i > 0; i -= i & (~i + 1)) gone += counts_[i];
    return gone;
  }
  void add(std::size_t index) {
    for (std::size_t i = index + 1; i < counts_.size(); i += i & (~i + 1)) ++counts_[i];
  }

 private:
  std::vector<std::size_t> counts_;
};

// The id of the layer a record or item carries under "data".
std::int32_t dataId(const DictRef& record) { return CMLayerTree::layerId(record->dictionary("data")); }

// Records (or items) whose "data" layers stand apart, so one walk of the tree finds them all and changing one
// moves no other: each id once, and none inside another one's group.
bool standApart(const std::vector<DictRef>& records) {
  std::unordered_set<std::int32_t> ids;
  std::unordered_set<std::int32_t> members;
  for (const DictRef& record : records) {
    if (!ids.insert(dataId(record)).second) return false;
    CMLayerTree::collectMemberIds(record->dictionary("data"), members);
  }
  for (const std::int32_t member : members) {
    if (ids.contains(member)) return false;
  }
  return true;
}

// Drops the given records (by identity) from the list in one rebuild.
void dropAll(const ArrayRef& list, const std::unordered_set<const Dictionary*>& leaving) {
  std::vector<platform::Value> kept;
  kept.reserve(list->size());
  for (const platform::Value& entry : *list) {
    if (!leaving.contains(entry.dictionary().get())) kept.push_back(entry);
  }
  list->removeAll();
  for (platform::Value& entry : kept) list->add(std::move(entry));
}

}  // namespace

bool CMUndoReplay::isUndoOfAdding(const DictRef& record) {
  return record && record->get("type").intValue() == kCMUndoAdding && record->get("index").integerValue() == 0 &&
         record->dictionary("data");
}

std::vector<DictRef> CMUndoReplay::removeAddedLayers(const std::vector<DictRef>& records) {
  std::vector<DictRef> inverses;
  if (!standApart(records)) {
    // One at a time, each finding what the one before left.
    for (const DictRef& record : records) {
      if (DictRef inverse = replayAdding(record)) inverses.push_back(std::move(inverse));
    }
    return inverses;
  }
  std::unordered_set<std::int32_t> ids;
  for (const DictRef& record : records) ids.insert(dataId(record));
  const CMLayerTree::Locations places = CMLayerTree::findAll(rootLayers(), ids);
  struct Leaving {
    ArrayRef list;
    PlacesGone gone;
    std::unordered_set<const Dictionary*> records;
  };
  std::unordered_map<const platform::Array*, Leaving> lists;
  for (const DictRef& record : records) {
    const auto found = places.find(dataId(record));
    if (found == places.end()) continue;
    const CMLayerTree::Location& live = found->second;
    Leaving& leaving = lists.try_emplace(live.list.get(), Leaving{live.list, PlacesGone(live.list->size()), {}})
                           .first->second;
    // One-based, as the single undo of an add remembers it.
    const std::size_t index = live.index - leaving.gone.before(live.index);
    leaving.gone.add(live.index);
    leaving.records.insert(live.record.get());
    inverses.push_back(Dictionary::make({{"type", kCMUndoAdding},
                                         {"data", live.record},
                                         {"group_id", live.groupId},
                                         {"index", static_cast<std::int64_t>(index) + 1}}));
  }
  for (const auto& [array, leaving] : lists) dropAll(leaving.list, leaving.records);
  finishLayersChange();
  return inverses;
}

void CMUndoReplay::makeMoveAction(const DictRef& item) {
  const DictRef data = item ? item->dictionary("data") : nullptr;
  if (!data) return;
  replaceLive(findEdited(data), data);
}

CMLayerTree::Location CMUndoReplay::findEdited(const DictRef& data) {
  return CMLayerTree::find(rootLayers(), CMLayerTree::layerId(data), CMLayerTree::Masks::Search);
}

void CMUndoReplay::replaceLive(const CMLayerTree::Location& live, const DictRef& data) {
  if (!live.record) return;
  live.list->set(live.index, dirtyCopy(data));
}

DictRef CMUndoReplay::replayEditing(const DictRef& record) {
  DictRef inverse;
  const DictRef data = record->dictionary("data");
  if (ArrayRef items = record->array("items")) {
    std::vector<DictRef> entries;
    for (const platform::Value& entry : *items) {
      const DictRef item = entry.dictionary();
      if (item && item->dictionary("data")) entries.push_back(item);
    }
    // Every place is read before any record is replaced. Records apart from each other are found in one walk.
    const bool apart = standApart(entries);
    std::unordered_set<std::int32_t> ids;
    for (const DictRef& item : entries) ids.insert(dataId(item));
    const CMLayerTree::Locations places = apart ? CMLayerTree::findAll(rootLayers(), ids) : CMLayerTree::Locations{};
    std::vector<std::pair<DictRef, CMLayerTree::Location>> found;
    ArrayRef inverseItems = Array::make();
    for (const DictRef& item : entries) {
      const auto place = places.find(dataId(item));
      // Masks are not among the places one walk finds.
      CMLayerTree::Location live =
          apart && place != places.end() ? place->second : findEdited(item->dictionary("data"));
      if (!live.record) continue;
      inverseItems->add(Dictionary::make({{"data", live.record}, {"group_id", live.groupId}}));
      found.emplace_back(item, std::move(live));
    }
    if (apart) {
      for (const auto& [item, live] : found) replaceLive(live, item->dictionary("data"));
    } else {
      // A group given with one of its members is replaced first, and the member then inside the group's copy:
      // the records the inverse keeps are never edited.
      std::stable_sort(found.begin(), found.end(),
                       [](const auto& a, const auto& b) { return a.second.depth < b.second.depth; });
      for (const auto& [item, live] : found) makeMoveAction(item);
    }
    if (!inverseItems->empty()) inverse = Dictionary::make({{"type", kCMUndoEditing}, {"items", inverseItems}});
  } else if (const ArrayRef records = data && !data->contains("id") ? data->array("items") : nullptr) {
    // The layers panel's lock registers the records themselves ({"data": {"items"}}): each
    // goes back in the place of the live layer with its id. Read as one layer, the list
    // would have replaced layer 0.
    ArrayRef replaced = Array::make();
    for (const platform::Value& entry : *records) {
      const DictRef edited = entry.dictionary();
      const CMLayerTree::Location live = edited ? findEdited(edited) : CMLayerTree::Location{};
      if (!live.record) continue;
      replaced->add(live.record);
      replaceLive(live, edited);
    }
    if (!replaced->empty())
      inverse = Dictionary::make({{"type", kCMUndoEditing}, {"data", Dictionary::make({{"items", replaced}})}});
  } else if (data) {
    // The live record leaves the tree in the move below, so it keeps the state before this replay.
    const CMLayerTree::Location live = findEdited(data);
    if (live.record)
      inverse = Dictionary::make({{"type", kCMUndoEditing}, {"data", live.record}, {"group_id", live.groupId}});
    replaceLive(live, data);
  }
  finishLayersChange();
  return inverse;
}

DictRef CMUndoReplay::replayAdding(const DictRef& record) {
  DictRef inverse;
  const DictRef data = record->dictionary("data");
  const std::int64_t index = record->get("index").integerValue();
  if (data && index == 0) {
    // Undoing an add: take the layer out and remember where it was (one-based, so 0 means "remove").
    CMLayerTree::Location live = CMLayerTree::find(rootLayers(), CMLayerTree::layerId(data));
    if (live.record) {
      inverse = Dictionary::make({{"type", kCMUndoAdding},
                                  {"data", live.record},
                                  {"group_id", live.groupId},
                                  {"index", static_cast<std::int64_t>(live.index) + 1}});
      live.list->removeAt(live.index);
    }
  } else if (data) {
    targetList(record->get("group_id"))->insert(index > 0 ? static_cast<std::size_t>(index - 1) : 0, data);
    inverse = Dictionary::make({{"type", kCMUndoAdding}, {"data", data}});
    if (const platform::Value* groupId = record->find("group_id")) inverse->set("group_id", *groupId);
  }
  finishLayersChange();
  return inverse;
}

DictRef CMUndoReplay::replayStacking(const DictRef& record) {
  DictRef inverse;
  if (ArrayRef items = record->array("items")) {
    // A group's copy brings back the members it had; a member moved on its own
    // must not come back a second time beside it.
    std::unordered_set<std::int32_t> broughtByGroup;
    for (const platform::Value& entry : *items) {
      const DictRef item = entry.dictionary();
      if (item) CMLayerTree::collectMemberIds(item->dictionary("data"), broughtByGroup);
    }
    ArrayRef inverseItems = Array::make();
    std::vector<Placement> placements;
    std::vector<CMLayerTree::Location> found;
    // Every place is read before any layer leaves its list, and every layer
    // leaves before any comes back: the indexes on both sides then describe
    // whole states of the tree.
    for (const platform::Value& entry : *items) {
      const DictRef item = entry.dictionary();
      const DictRef data = item ? item->dictionary("data") : nullptr;
      if (!data) continue;
      CMLayerTree::Location live = CMLayerTree::find(rootLayers(), CMLayerTree::layerId(data));
      if (!live.record) continue;
      // A copy: a member moved on its own leaves the live group's list below.
      inverseItems->add(Dictionary::make({{"data", platform::dictionaryCopy(live.record)},
                                          {"group_id", live.groupId},
                                          {"index", static_cast<std::int64_t>(live.index)}}));
      found.push_back(std::move(live));
      if (!broughtByGroup.contains(CMLayerTree::layerId(data)))
        placements.push_back({item->get("index").integerValue(), dirtyCopy(data), item->get("group_id")});
    }
    for (const CMLayerTree::Location& live : found) {
      live.list->removeAt(live.list->indexOfIdentical(platform::Value(live.record)));
    }
    placeInIndexOrder(std::move(placements));
    if (!inverseItems->empty()) inverse = Dictionary::make({{"type", kCMUndoStacking}, {"items", inverseItems}});
  }
  finishLayersChange();
  return inverse;
}
