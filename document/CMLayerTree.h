#pragma once

// Walks of the layer tree: the root "layers" and, inside groups (type 3), their
// "items". Lookups of an id that is not there find nothing and change nothing.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/core/value.h"

namespace CMLayerTree {

inline constexpr std::int32_t kGroupType = 3;
inline constexpr std::int32_t kTopLevelGroupId = -1;

struct Location {
  platform::DictRef record;  // null when not found
  platform::ArrayRef list;   // the list that directly holds the record
  std::size_t index = 0;
  std::int32_t groupId = kTopLevelGroupId;  // id of the group whose "items" is that list
  std::size_t depth = 0;                    // groups around the record: 0 at the top level
  platform::ArrayRef outerList;             // the list holding that group; the searched list at the top level
};
using Locations = std::unordered_map<std::int32_t, Location>;

std::int32_t layerId(const platform::DictRef& record);
// The "items" of a group record; null for any other record.
platform::ArrayRef groupItems(const platform::DictRef& record);
// A group's own opacity, 0 to 1, with which its members are composited as one: its "alpha", where a missing or
// non-finite value leaves the group opaque, as groups were before they had one.
double groupAlpha(const platform::DictRef& group);

enum class Masks { Skip, Search };

// Depth-first: each record is compared before its masks (when searched) and members.
// Edits of a layer's own keys reach masks too: the canvas edits them like any layer.
Location find(const platform::ArrayRef& list, std::int32_t id, Masks masks = Masks::Skip);
// Every id of the set in one walk, each at its first place as `find` meets it; absent ids are left out.
Locations findAll(const platform::ArrayRef& list, const std::unordered_set<std::int32_t>& ids);
// The innermost list that directly holds the id; a group's members are searched
// before the group itself is compared. Null when absent.
platform::ArrayRef holdingList(const platform::ArrayRef& list, std::int32_t id);
// Index among the list's own entries, or Array::npos.
std::size_t indexOf(const platform::ArrayRef& list, std::int32_t id);
// Removes the first record with the id, from the list or a group inside it.
bool removeById(const platform::ArrayRef& list, std::int32_t id);
// Removes, in one walk, the first record of each id from wherever it is; returns how many went.
std::size_t removeAllById(const platform::ArrayRef& list, std::unordered_set<std::int32_t> ids);
// The ids of every member of the group, at any depth.
void collectMemberIds(const platform::DictRef& group, std::unordered_set<std::int32_t>& ids);

// Every record of the tree, members too, by id: what a step found there, held so it can be told from what it left.
using RecordsById = std::unordered_map<std::int32_t, platform::DictRef>;
RecordsById recordsById(const platform::ArrayRef& list);
// The outermost records the tree holds now in place of those it held (`before`): records of ids it did not hold
// (`returned` is then set) and other records of ids it held. Members of a listed group are not listed again.
std::vector<platform::DictRef> putInPlace(const platform::ArrayRef& list, const RecordsById& before, bool& returned);

}  // namespace CMLayerTree
