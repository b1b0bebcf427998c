#include "platform/core/index_set.h"

#include <algorithm>

namespace platform {

IndexSet::IndexSet(std::initializer_list<std::size_t> indexes) {
  for (const std::size_t index : indexes) add(index);
}

IndexSet IndexSet::range(std::size_t first, std::size_t count) {
  IndexSet set;
  set.addRange(first, count);
  return set;
}

bool IndexSet::contains(std::size_t index) const {
  return std::binary_search(indexes_.begin(), indexes_.end(), index);
}

void IndexSet::add(std::size_t index) {
  if (indexes_.empty() || indexes_.back() < index) {
    indexes_.push_back(index);
    return;
  }
  const auto place = std::lower_bound(indexes_.begin(), indexes_.end(), index);
  if (*place != index) indexes_.insert(place, index);
}

void IndexSet::addRange(std::size_t first, std::size_t count) {
  if (count == 0) return;
  if (indexes_.empty() || indexes_.back() < first) {
    indexes_.reserve(indexes_.size() + count);
    for (std::size_t index = first; index - first < count; ++index) indexes_.push_back(index);
    return;
  }
  for (std::size_t index = first; index - first < count; ++index) add(index);
}

void IndexSet::remove(std::size_t index) {
  const auto place = std::lower_bound(indexes_.begin(), indexes_.end(), index);
  if (place != indexes_.end() && *place == index) indexes_.erase(place);
}

std::optional<std::size_t> IndexSet::firstIndex() const {
  if (indexes_.empty()) return std::nullopt;
  return indexes_.front();
}

std::optional<std::size_t> IndexSet::lastIndex() const {
  if (indexes_.empty()) return std::nullopt;
  return indexes_.back();
}

std::string IndexSet::description() const {
  std::string text = "(";
  for (std::size_t i = 0; i < indexes_.size();) {
    std::size_t j = i;
    while (j + 1 < indexes_.size() && indexes_[j + 1] == indexes_[j] + 1) ++j;
    if (i > 0) text += ' ';
    text += std::to_string(indexes_[i]);
    if (j > i) text += '-' + std::to_string(indexes_[j]);
    i = j + 1;
  }
  return text + ")";
}

}  // namespace platform
