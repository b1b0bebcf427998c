#include "platform/core/dictionary_keys.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <new>

namespace platform {
namespace {

// Longer lists are not shared: a dictionary of many keys is rarely one of many alike, and finding a list in the
// table compares its keys.
constexpr std::size_t kMostSharedKeys = 64;
// Up to this many keys a lookup compares them in turn.
constexpr std::size_t kIndexThreshold = 12;
// Lists nobody holds any more leave the table when it has doubled since they were last swept out.
constexpr std::size_t kFirstSweep = 1024;

std::size_t hashWith(std::size_t hash, std::string_view name) noexcept {
  return hash ^ (std::hash<std::string_view>{}(name) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2));
}

}  // namespace

// The lists of a few dozen keys, by the hash of their names. Every change of a list in the table, and every
// reference taken from it, happens under the lock: a list only one dictionary has held is then that dictionary's
// alone.
struct DictionaryKeys::Table {
  std::mutex lock;
  TableEntries lists;
  std::size_t sweepAt = kFirstSweep;
};

// The names of a list with one more key.
struct DictionaryKeys::Appending {
  const std::string* names;
  std::size_t count;
  std::string_view key;

  bool isNamesOf(const DictionaryKeys& list) const {
    return list.size() == count + 1 && std::equal(names, names + count, list.names_.begin()) &&
           list.names_.back() == key;
  }
  void applyTo(DictionaryKeys& list) const { list.append(key); }
};

// The names of a list without the one at `index`.
struct DictionaryKeys::Removing {
  const std::string* names;
  std::size_t count;
  std::size_t index;

  bool isNamesOf(const DictionaryKeys& list) const {
    if (list.size() + 1 != count) return false;
    const auto at = list.names_.begin() + static_cast<std::ptrdiff_t>(index);
    return std::equal(names, names + index, list.names_.begin()) && std::equal(names + index + 1, names + count, at);
  }
  void applyTo(DictionaryKeys& list) const { list.erase(index); }
};

// The names of a list made at once.
struct DictionaryKeys::Assigning {
  std::span<const std::string_view> names;

  bool isNamesOf(const DictionaryKeys& list) const {
    return std::equal(names.begin(), names.end(), list.names_.begin(), list.names_.end());
  }
  void applyTo(DictionaryKeys& list) const {
    list.names_.clear();
    list.index_.reset();
    for (const std::string_view name : names) list.append(name);
  }
};

DictionaryKeys::Table& DictionaryKeys::table() {
  static Table table;
  return table;
}

std::ptrdiff_t DictionaryKeys::indexOf(std::string_view key) const {
  if (index_) {
    const auto found = index_->find(key);
    return found == index_->end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
  }
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == key) return static_cast<std::ptrdiff_t>(i);
  return -1;
}

void DictionaryKeys::add(std::shared_ptr<DictionaryKeys>& keys, std::string_view key) {
  const std::size_t size = keys ? keys->size() : 0;
  const Appending appending{keys ? keys->names() : nullptr, size, key};
  change(keys, size + 1, hashWith(keys ? keys->hash_ : 0, key), appending);
}

void DictionaryKeys::remove(std::shared_ptr<DictionaryKeys>& keys, std::size_t index) {
  if (keys->size() == 1) {
    keys.reset();
    return;
  }
  std::size_t hash = 0;
  for (std::size_t i = 0; i < keys->size(); ++i)
    if (i != index) hash = hashWith(hash, keys->names_[i]);
  const Removing removing{keys->names(), keys->size(), index};
  change(keys, keys->size() - 1, hash, removing);
}

void DictionaryKeys::assign(std::shared_ptr<DictionaryKeys>& keys, std::span<const std::string_view> names) {
  std::size_t hash = 0;
  for (const std::string_view name : names) hash = hashWith(hash, name);
  change(keys, names.size(), hash, Assigning{names});
}

std::shared_ptr<DictionaryKeys> DictionaryKeys::share(const std::shared_ptr<DictionaryKeys>& keys) noexcept {
  if (keys) keys->shared_.store(true, std::memory_order_relaxed);
  return keys;
}

template <typename Change>
void DictionaryKeys::change(std::shared_ptr<DictionaryKeys>& keys, std::size_t size, std::size_t hash,
                            const Change& change) {
  if (size <= kMostSharedKeys) {
    changeShared(keys, size, hash, change);
    return;
  }
  if (keys && keys->inTable_) {
    Table& table = DictionaryKeys::table();
    const std::lock_guard lock(table.lock);
    // Too long to stay in the table: when nobody else ever held it, it leaves the table to be changed in place.
    if (!keys->shared_.load(std::memory_order_relaxed)) {
      table.lists.erase(entryOf(table, keys));
      keys->inTable_ = false;
    }
  }
  if (keys && !keys->inTable_ && !keys->shared_.load(std::memory_order_relaxed)) {
    change.applyTo(*keys);
    keys->hash_ = hash;
  } else {
    keys = changedCopy(keys.get(), size, hash, change);
  }
}

template <typename Change>
void DictionaryKeys::changeShared(std::shared_ptr<DictionaryKeys>& keys, std::size_t size, std::size_t hash,
                                  const Change& change) {
  Table& table = DictionaryKeys::table();
  const std::lock_guard lock(table.lock);
  auto [entry, last] = table.lists.equal_range(hash);
  while (entry != last) {
    std::shared_ptr<DictionaryKeys> found = entry->second.lock();
    if (!found) {
      entry = table.lists.erase(entry);  // lists left behind while a dictionary was built key by key
    } else if (change.isNamesOf(*found)) {
      keys = share(found);
      return;
    } else {
      ++entry;
    }
  }
  TableEntries::node_type filed;
  if (keys && !keys->shared_.load(std::memory_order_relaxed)) {
    // Nobody else ever held it, and nobody can find it while the lock is held: it changes in place and is filed anew.
    if (keys->inTable_) filed = table.lists.extract(entryOf(table, keys));
    keys->inTable_ = false;
    change.applyTo(*keys);
    keys->hash_ = hash;
  } else {
    keys = changedCopy(keys.get(), size, hash, change);
  }
  try {
    if (filed) {
      filed.key() = hash;
      table.lists.insert(std::move(filed));
    } else {
      table.lists.emplace(hash, keys);
    }
    keys->inTable_ = true;
  } catch (const std::bad_alloc&) {
    return;  // a list the table could not take stays private
  }
  if (table.lists.size() >= table.sweepAt) {
    std::erase_if(table.lists, [](const auto& entry) { return entry.second.expired(); });
    table.sweepAt = std::max(kFirstSweep, 2 * table.lists.size());
  }
}

// The table's entry of a list in it.
DictionaryKeys::TableEntries::iterator DictionaryKeys::entryOf(Table& table,
                                                               const std::shared_ptr<DictionaryKeys>& keys) noexcept {
  const auto [first, last] = table.lists.equal_range(keys->hash_);
  for (auto entry = first; entry != last; ++entry)
    if (!entry->second.owner_before(keys) && !keys.owner_before(entry->second)) return entry;
  return table.lists.end();
}

template <typename Change>
std::shared_ptr<DictionaryKeys> DictionaryKeys::changedCopy(const DictionaryKeys* keys, std::size_t size,
                                                            std::size_t hash, const Change& change) {
  // Allocated apart from its count block, which the table's weak reference keeps until the next sweep.
  std::shared_ptr<DictionaryKeys> copy(std::make_unique<DictionaryKeys>());
  copy->names_.reserve(size);
  if (keys) copy->names_.assign(keys->names_.begin(), keys->names_.end());
  change.applyTo(*copy);
  copy->hash_ = hash;
  return copy;
}

void DictionaryKeys::append(std::string_view key) {
  const std::size_t capacity = names_.capacity();
  names_.emplace_back(key);
  if (!index_ || names_.capacity() != capacity) {
    rebuildIndex();  // the names moved, or grew past the threshold
    return;
  }
  try {
    index_->emplace(names_.back(), names_.size() - 1);
  } catch (const std::bad_alloc&) {
    index_.reset();  // lookups compare in turn
  }
}

void DictionaryKeys::erase(std::size_t index) {
  names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(index));
  rebuildIndex();
}

void DictionaryKeys::rebuildIndex() noexcept {
  index_.reset();
  if (names_.size() < kIndexThreshold) return;
  try {
    auto index = std::make_unique<std::unordered_map<std::string_view, std::size_t>>();
    index->reserve(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i) index->emplace(names_[i], i);
    index_ = std::move(index);
  } catch (const std::bad_alloc&) {
    // Lookups compare in turn.
  }
}

}  // namespace platform
