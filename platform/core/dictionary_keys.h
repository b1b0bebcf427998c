#pragma once

// The keys of a dictionary, in their order, apart from its values. Dictionaries with the same keys in the same
// order (copies of one record, records built alike) share one list, so that a record pays for its values only: a
// drawing of many shapes holds many records of the same few kinds.
//
// Lists of a few dozen keys are kept in one table, where the next dictionary that comes to hold the same keys
// finds them. A list that only one dictionary has ever held is changed in place; once a second one holds it, it never
// changes again, even after the others have let it go: their count says nothing of whether a thread that read
// through one of them is done, so only a list nobody else ever held can be known to have no reader. Longer lists stay
// private to the dictionaries that copied them.

#include <atomic>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class DictionaryKeys {
 public:
  DictionaryKeys() = default;
  DictionaryKeys(const DictionaryKeys&) = delete;
  DictionaryKeys& operator=(const DictionaryKeys&) = delete;

  std::size_t size() const noexcept { return names_.size(); }
  const std::string* names() const noexcept { return names_.data(); }
  // The key's position, or -1. Only reads, so that threads may share a dictionary nobody changes meanwhile.
  std::ptrdiff_t indexOf(std::string_view key) const;

  // `keys` (null: no keys) with `key`, which it lacks, appended; `keys` is replaced by the list that holds them.
  static void add(std::shared_ptr<DictionaryKeys>& keys, std::string_view key);
  // `keys` without the key at `index`; null when none is left.
  static void remove(std::shared_ptr<DictionaryKeys>& keys, std::size_t index);
  // `keys` (null) replaced by the list of `names`, which are distinct and at least one.
  static void assign(std::shared_ptr<DictionaryKeys>& keys, std::span<const std::string_view> names);
  // `keys` (null: no keys) for another dictionary to hold as well.
  static std::shared_ptr<DictionaryKeys> share(const std::shared_ptr<DictionaryKeys>& keys) noexcept;

 private:
  struct Table;
  using TableEntries = std::unordered_multimap<std::size_t, std::weak_ptr<DictionaryKeys>>;
  struct Appending;
  struct Removing;
  struct Assigning;
  static Table& table();
  // `keys` changed as `change` says into a list of `size` names hashing to `hash`: the list in the table with
  // those names, or `keys` itself changed in place when nobody else holds it, or a new list.
  template <typename Change>
  static void change(std::shared_ptr<DictionaryKeys>& keys, std::size_t size, std::size_t hash, const Change& change);
  template <typename Change>
  static void changeShared(std::shared_ptr<DictionaryKeys>& keys, std::size_t size, std::size_t hash,
                           const Change& change);
  template <typename Change>
  static std::shared_ptr<DictionaryKeys> changedCopy(const DictionaryKeys* keys, std::size_t size,
                                                     std::size_t hash, const Change& change);
  static TableEntries::iterator entryOf(Table& table, const std::shared_ptr<DictionaryKeys>& keys) noexcept;
  void append(std::string_view key);
  void erase(std::size_t index);
  void rebuildIndex() noexcept;

  std::vector<std::string> names_;
  // Past a few keys a lookup goes through a hash index of views into the names.
  std::unique_ptr<std::unordered_map<std::string_view, std::size_t>> index_;
  std::size_t hash_ = 0;     // of the names in order, while in the table
  bool inTable_ = false;
  // Set by whoever gives the list to a second dictionary, possibly one of several threads copying the same
  // dictionary at once; a copy happens before any change of the dictionary copied, so the holder sees it.
  std::atomic<bool> shared_ = false;
};

}  // namespace platform
