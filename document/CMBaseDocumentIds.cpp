#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>
#include <vector>

#include "document/CMBaseDocument.h"
#include "document/CMLayerTree.h"

namespace {

constexpr std::int64_t kLargestId = std::numeric_limits<std::int32_t>::max();

// One past the value, held inside 32 bits: ids read from a file may sit at the limit.
std::int32_t after(std::int64_t value) {
  return static_cast<std::int32_t>(value >= kLargestId ? kLargestId : value + 1);
}

std::int32_t raisedPast(std::int32_t candidate, const platform::DictRef& record) {
  const std::int32_t id = CMLayerTree::layerId(record);
  return id >= candidate ? after(id) : candidate;
}

// Every layer record below the list, depth first: groups' members and masks included.
void collectLayerRecords(const platform::ArrayRef& list, std::vector<platform::DictRef>& records) {
  if (!list) return;
  for (const platform::Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (!record) continue;
    records.push_back(record);
    collectLayerRecords(record->array("masks"), records);
    collectLayerRecords(CMLayerTree::groupItems(record), records);
  }
}

// The candidate raised past every id below the list, groups' members and masks included.
std::int32_t raisedPastAll(std::int32_t candidate, const platform::ArrayRef& list) {
  if (!list) return candidate;
  for (const platform::Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (!record) continue;
    candidate = raisedPast(candidate, record);
    candidate = raisedPastAll(candidate, record->array("masks"));
    candidate = raisedPastAll(candidate, CMLayerTree::groupItems(record));
  }
  return candidate;
}

std::unordered_set<std::int32_t> takenIds(const std::vector<platform::DictRef>& records) {
  std::unordered_set<std::int32_t> taken;
  for (const platform::DictRef& record : records) taken.insert(CMLayerTree::layerId(record));
  return taken;
}

// An id lookups can rely on: a whole number from 1 to the largest 32-bit one. Others read as
// another number (a 64-bit id may read as -1, the top level's mark in undo records) or as 0.
bool usableId(const platform::Value& id) {
  if (!id.isInteger() && !id.isReal()) return false;
  const double value = id.doubleValue();
  return value >= 1 && value <= kLargestId && value == std::floor(value);
}

// The first id after `from` that no record has, starting over at 1 past the largest
// 32-bit id (a file may hold it), so that the counter never hands out a taken id.
std::int32_t freeIdAfter(std::int32_t from, const std::unordered_set<std::int32_t>& taken) {
  std::int32_t id = from;
  do {
    id = id >= kLargestId || id < 0 ? 1 : id + 1;
  } while (taken.contains(id));
  return id;
}

}  // namespace

void CMBaseDocument::makeIdsUnique() {
  std::vector<platform::DictRef> records;
  collectLayerRecords(rootLayers(), records);
  std::unordered_set<std::int32_t> taken;
  std::vector<platform::DictRef> repeated;
  for (const platform::DictRef& record : records) {
    if (!usableId(record->get("id")) || !taken.insert(CMLayerTree::layerId(record)).second) repeated.push_back(record);
  }
  std::int32_t next = taken.empty() ? 0 : *std::max_element(taken.begin(), taken.end());
  for (const platform::DictRef& record : repeated) {
    next = freeIdAfter(next, taken);
    taken.insert(next);
    record->set("id", next);
  }
}

std::int32_t CMBaseDocument::findMaxIDForGroup(std::int32_t start, const platform::DictRef& group) {
  platform::ArrayRef items = CMLayerTree::groupItems(group);
  if (!items) return start;
  for (const platform::Value& entry : *items) {
    platform::DictRef member = entry.dictionary();
    if (!member) continue;
    start = raisedPast(start, member);
    start = findMaxIDForGroup(start, member);
  }
  return start;
}

std::int32_t CMBaseDocument::newID() {
  // Masks count too: the drawer's layer objects and the image cache know them by id as well.
  const std::int32_t candidate = raisedPastAll(1, rootLayers());
  std::int32_t id = candidate >= maxID_ ? candidate : after(maxID_);
  // Only the largest id can be taken already: nothing lies above it to raise the candidate past.
  if (id == kLargestId) {
    std::vector<platform::DictRef> records;
    collectLayerRecords(rootLayers(), records);
    id = freeIdAfter(id - 1, takenIds(records));
  }
  maxID_ = id;
  return maxID_;
}

void CMBaseDocument::advanceMaxID() { maxID_ = after(maxID_); }

void CMBaseDocument::findMaxID() {
  const platform::ArrayRef layers = rootLayers();
  for (const platform::Value& entry : *layers) {
    if (platform::DictRef record = entry.dictionary()) maxID_ = raisedPast(maxID_, record);
  }
}

std::int32_t CMBaseDocument::newPosition() const {
  std::int64_t largest = 0;
  if (platform::ArrayRef layers = data_->array("layers")) {
    for (const platform::Value& entry : *layers) {
      if (platform::DictRef record = entry.dictionary())
        largest = std::max(largest, record->get("position").integerValue());
    }
  }
  return after(largest);
}

void CMBaseDocument::giveMembersFreshIds(const platform::DictRef& record) {
  // The record is already in the tree, so each new id counts for the next one.
  for (const platform::ArrayRef& members : {CMLayerTree::groupItems(record), record->array("masks")}) {
    if (!members) continue;
    for (const platform::Value& entry : *members) {
      platform::DictRef member = entry.dictionary();
      if (!member) continue;
      member->set("id", newID());
      giveMembersFreshIds(member);
    }
  }
}
