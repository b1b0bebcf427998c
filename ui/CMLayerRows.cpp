#include "ui/CMLayerRows.h"

#include <utility>

namespace {

constexpr std::int32_t kGroupType = 3;

bool isGroup(const platform::DictRef& record) { return record->get("type").intValue() == kGroupType; }

// A list being walked: its records from `next` on are still to come.
struct Pending {
  platform::ArrayRef list;
  std::size_t next;
  std::int32_t level;
};

}  // namespace

void CMLayerRows::rebuild(const platform::DictRef& root) {
  rows_.clear();
  firstRowOfID_.clear();
  const platform::ArrayRef layers = root ? root->array("layers") : nullptr;
  if (!layers) return;
  std::vector<Pending> stack{{layers, 0, 0}};
  while (!stack.empty()) {
    Pending& top = stack.back();
    if (top.next >= top.list->size()) {
      stack.pop_back();
      continue;
    }
    const platform::DictRef record = top.list->at(top.next++).dictionary();
    if (!record) continue;
    const std::int32_t level = top.level;
    const std::int32_t id = record->get("id").intValue();
    record->set("group_level", level);
    firstRowOfID_.emplace(id, rows_.size());
    rows_.push_back({record, id, level});
    if (isGroup(record)) {
      if (platform::ArrayRef items = record->array("items")) stack.push_back({std::move(items), 0, level + 1});
    } else if (level == 0) {
      if (const platform::ArrayRef masks = record->array("masks")) {
        for (const platform::Value& entry : *masks) {
          const platform::DictRef mask = entry.dictionary();
          if (!mask) continue;
          const std::int32_t maskId = mask->get("id").intValue();
          mask->set("group_level", 1);
          firstRowOfID_.emplace(maskId, rows_.size());
          rows_.push_back({mask, maskId, 1, true});
        }
      }
    }
  }
}

std::optional<std::size_t> CMLayerRows::rowOfID(std::int32_t id) const {
  const auto found = firstRowOfID_.find(id);
  if (found == firstRowOfID_.end()) return std::nullopt;
  return found->second;
}

platform::DictRef CMLayerRows::layerByID(std::int32_t id) const {
  const std::optional<std::size_t> row = rowOfID(id);
  return row ? rows_[*row].record : nullptr;
}

std::unordered_set<std::int32_t> CMLayerRows::idsOfRows(const platform::IndexSet& rows) const {
  std::unordered_set<std::int32_t> ids;
  for (const std::size_t row : rows)
    if (row < rows_.size()) ids.insert(rows_[row].id);
  return ids;
}

platform::IndexSet CMLayerRows::rowsWithIDs(const std::unordered_set<std::int32_t>& ids) const {
  platform::IndexSet found;
  if (ids.empty()) return found;
  for (std::size_t row = 0; row < rows_.size(); ++row)
    if (ids.count(rows_[row].id) != 0) found.add(row);
  return found;
}

std::string CMLayerRows::displayName(const platform::DictRef& record) {
  if (!record) return {};
  const platform::Value name = record->get("name");
  const std::string id = std::to_string(record->get("id").intValue());
  if (isGroup(record)) return name.isString() ? name.string() : "Group" + id;
  const std::string text = name.isString() ? name.string() : "Layer" + id;
  return record->get("ismask").boolValue() ? text + " (mask)" : text;
}
