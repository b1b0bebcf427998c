#pragma once

// NSIndexSet: a set of row indexes kept in ascending order, each once. Adding
// in ascending order (the way rows are walked) costs nothing more than a push.

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class IndexSet {
 public:
  using const_iterator = std::vector<std::size_t>::const_iterator;

  IndexSet() = default;
  IndexSet(std::initializer_list<std::size_t> indexes);
  // Every index of [first, first + count).
  static IndexSet range(std::size_t first, std::size_t count);

  bool contains(std::size_t index) const;
  void add(std::size_t index);
  void addRange(std::size_t first, std::size_t count);
  void remove(std::size_t index);
  void clear() noexcept { indexes_.clear(); }

  std::size_t count() const noexcept { return indexes_.size(); }
  bool empty() const noexcept { return indexes_.empty(); }
  std::optional<std::size_t> firstIndex() const;
  std::optional<std::size_t> lastIndex() const;
  const std::vector<std::size_t>& indexes() const noexcept { return indexes_; }
  const_iterator begin() const noexcept { return indexes_.begin(); }
  const_iterator end() const noexcept { return indexes_.end(); }

  // "(0-2 5)": runs of neighbours as ranges, for logs.
  std::string description() const;

  friend bool operator==(const IndexSet&, const IndexSet&) = default;

 private:
  std::vector<std::size_t> indexes_;
};

}  // namespace platform
