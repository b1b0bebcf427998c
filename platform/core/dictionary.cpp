#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "platform/core/dictionary_keys.h"
#include "platform/core/value.h"

namespace platform {
namespace {

using Watchers = std::vector<std::pair<DictionaryWatcher*, std::uintptr_t>>;

// The watchers of every watched dictionary.
struct WatcherTable {
  std::mutex lock;
  std::unordered_map<const Dictionary*, Watchers> watchers;
};

WatcherTable& watcherTable() {
  static WatcherTable table;
  return table;
}

}  // namespace

Dictionary::Dictionary() = default;

Dictionary::~Dictionary() {
  if (!watched()) return;
  WatcherTable& table = watcherTable();
  const std::lock_guard lock(table.lock);
  table.watchers.erase(this);
}

DictRef Dictionary::make() { return std::make_shared<Dictionary>(); }

DictRef Dictionary::make(std::initializer_list<std::pair<std::string_view, Value>> entries) {
  std::vector<std::string_view> keys;
  std::vector<Value> values;
  keys.reserve(entries.size());
  values.reserve(entries.size());
  for (const auto& [key, value] : entries) {
    keys.push_back(key);
    values.push_back(value);
  }
  return make(keys, std::move(values));
}

namespace {

bool distinct(std::span<const std::string_view> keys) {
  if (keys.size() <= 16) {
    for (std::size_t i = 1; i < keys.size(); ++i) {
      const auto before = keys.begin() + static_cast<std::ptrdiff_t>(i);
      if (std::find(keys.begin(), before, keys[i]) != before) return false;
    }
    return true;
  }
  std::unordered_set<std::string_view> seen;
  seen.reserve(keys.size());
  for (const std::string_view key : keys)
    if (!seen.insert(key).second) return false;
  return true;
}

}  // namespace

DictRef Dictionary::make(std::span<const std::string_view> keys, std::vector<Value> values) {
  DictRef d = make();
  const std::size_t count = std::min(keys.size(), values.size());
  keys = keys.first(count);
  d->values_.reserve(count);
  const auto nil = [](const Value& value) { return value.isNil(); };
  if (std::any_of(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count), nil) || !distinct(keys)) {
    for (std::size_t i = 0; i < count; ++i) d->set(keys[i], std::move(values[i]));
    return d;
  }
  if (count == 0) return d;
  for (std::size_t i = 0; i < count; ++i) d->values_.push_back(std::move(values[i]));
  DictionaryKeys::assign(d->keys_, keys);
  return d;
}

std::ptrdiff_t Dictionary::indexOf(std::string_view key) const { return keys_ ? keys_->indexOf(key) : -1; }

Value Dictionary::get(std::string_view key) const {
  const Value* v = find(key);
  return v ? *v : Value();
}

const Value* Dictionary::find(std::string_view key) const {
  const std::ptrdiff_t i = indexOf(key);
  return i < 0 ? nullptr : &values_[static_cast<std::size_t>(i)];
}

DictRef Dictionary::dictionary(std::string_view key) const {
  const Value* v = find(key);
  return v ? v->dictionary() : nullptr;
}

ArrayRef Dictionary::array(std::string_view key) const {
  const Value* v = find(key);
  return v ? v->array() : nullptr;
}

void Dictionary::set(std::string_view key, Value value) {
  if (value.isNil()) {
    remove(key);
    return;
  }
  const std::ptrdiff_t i = indexOf(key);
  if (i >= 0) {
    values_[static_cast<std::size_t>(i)] = std::move(value);
  } else {
    values_.push_back(std::move(value));
    try {
      DictionaryKeys::add(keys_, key);
    } catch (...) {
      values_.pop_back();
      throw;
    }
  }
  noteChange();
}

void Dictionary::remove(std::string_view key) {
  const std::ptrdiff_t i = indexOf(key);
  if (i < 0) return;
  DictionaryKeys::remove(keys_, static_cast<std::size_t>(i));
  values_.erase(static_cast<std::size_t>(i));
  noteChange();
}

void Dictionary::removeAll() {
  keys_.reset();
  values_.clear();
  noteChange();
}

void Dictionary::noteChange() noexcept {
  ++changes_;
  if (!watched()) return;
  WatcherTable& table = watcherTable();
  const std::lock_guard lock(table.lock);
  const auto watchers = table.watchers.find(this);
  if (watchers == table.watchers.end()) return;
  for (const auto& [watcher, tag] : watchers->second) watcher->dictionaryChanged(tag);
}

void Dictionary::watch(DictionaryWatcher& watcher, std::uintptr_t tag) {
  WatcherTable& table = watcherTable();
  const std::lock_guard lock(table.lock);
  table.watchers[this].emplace_back(&watcher, tag);
  changes_ |= kWatched;
}

void Dictionary::unwatch(DictionaryWatcher& watcher, std::uintptr_t tag) noexcept {
  if (!watched()) return;
  WatcherTable& table = watcherTable();
  const std::lock_guard lock(table.lock);
  const auto watchers = table.watchers.find(this);
  if (watchers == table.watchers.end()) return;
  const auto found = std::find(watchers->second.begin(), watchers->second.end(), std::pair{&watcher, tag});
  if (found == watchers->second.end()) return;
  watchers->second.erase(found);
  if (!watchers->second.empty()) return;
  table.watchers.erase(watchers);
  changes_ &= ~kWatched;
}

void Dictionary::addEntries(const Dictionary& other) {
  if (&other == this) return;
  for (const auto& [key, value] : other) set(key, value);
}

std::vector<std::string> Dictionary::keys() const {
  if (!keys_) return {};
  return {keys_->names(), keys_->names() + keys_->size()};
}

Dictionary::const_iterator Dictionary::begin() const noexcept {
  return {keys_ ? keys_->names() : nullptr, values_.data()};
}

Dictionary::const_iterator Dictionary::end() const noexcept {
  return {keys_ ? keys_->names() + keys_->size() : nullptr, values_.data() + values_.size()};
}

DictRef Dictionary::mutableCopy() const {
  DictRef copy = make();
  copy->values_.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) copy->values_.push_back(values_[i]);
  copy->keys_ = DictionaryKeys::share(keys_);
  return copy;
}

bool Dictionary::isEqual(const Dictionary& other) const {
  if (this == &other) return true;
  if (size() != other.size()) return false;
  for (const auto& [key, value] : *this) {
    const Value* theirs = other.find(key);
    if (!theirs || !value.isEqual(*theirs)) return false;
  }
  return true;
}

void Dictionary::Values::reserve(std::size_t count) {
  if (count > capacity_) reallocate(count);
}

void Dictionary::Values::push_back(Value value) {
  if (size_ == capacity_) reallocate(std::max<std::size_t>(4, 2 * std::size_t{capacity_}));
  std::construct_at(data_ + size_, std::move(value));
  ++size_;
}

void Dictionary::Values::pop_back() noexcept { std::destroy_at(data_ + --size_); }

void Dictionary::Values::erase(std::size_t index) noexcept {
  std::move(data_ + index + 1, data_ + size_, data_ + index);
  pop_back();
}

void Dictionary::Values::clear() noexcept {
  if (!data_) return;
  std::destroy(data_, data_ + size_);
  std::allocator<Value>().deallocate(data_, capacity_);
  data_ = nullptr;
  size_ = capacity_ = 0;
}

// Through the allocator rather than an array of values, which would carry its length ahead of them.
void Dictionary::Values::reallocate(std::size_t capacity) {
  constexpr std::size_t kMost = std::numeric_limits<std::uint32_t>::max();
  if (size_ == kMost) throw std::length_error("A dictionary cannot hold more entries.");
  capacity = std::min(capacity, kMost);
  Value* moved = std::allocator<Value>().allocate(capacity);
  std::uninitialized_move(data_, data_ + size_, moved);
  const std::uint32_t size = size_;
  clear();
  data_ = moved;
  size_ = size;
  capacity_ = static_cast<std::uint32_t>(capacity);
}

}  // namespace platform
