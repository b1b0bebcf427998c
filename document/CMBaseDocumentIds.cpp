#include <algorithm>
#include <limits>

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

}  // namespace

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
  std::int32_t candidate = 1;
  const platform::ArrayRef layers = rootLayers();
  for (const platform::Value& entry : *layers) {
    platform::DictRef record = entry.dictionary();
    if (!record) continue;
    candidate = raisedPast(candidate, record);
    candidate = findMaxIDForGroup(candidate, record);
  }
  maxID_ = candidate >= maxID_ ? candidate : after(maxID_);
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

void CMBaseDocument::giveMembersFreshIds(const platform::DictRef& group) {
  platform::ArrayRef items = CMLayerTree::groupItems(group);
  if (!items) return;
  // The group is already in the tree, so each new id counts for the next one.
  for (const platform::Value& entry : *items) {
    platform::DictRef member = entry.dictionary();
    if (!member) continue;
    member->set("id", newID());
    giveMembersFreshIds(member);
  }
}
