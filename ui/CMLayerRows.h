#pragma once

// The rows of the layers list, read from a document's root record in one walk
// of its tree (no recursion, so a tree at the reader's depth limit lists
// too): the top-level layers in order, each group followed at once by its
// items (depth first), each other top-level layer by its masks. Masks of
// layers inside groups have no rows. Every row's record gets its depth as
// "group_level"; the rows keep the document's own records, not copies.
//
// Ids map to rows in both directions, so finding a layer's row and keeping a
// selection across a rebuild cost one lookup per row.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/core/index_set.h"
#include "platform/core/value.h"

struct CMLayerRow {
  platform::DictRef record;
  std::int32_t id = 0;
  std::int32_t level = 0;
  // Listed from a layer's "masks": not in any layer list, so no move reaches it.
  bool isMaskEntry = false;
};

class CMLayerRows {
 public:
  // Reads the rows of the root record (none for null or a root without a "layers" array).
  void rebuild(const platform::DictRef& root);

  std::size_t size() const noexcept { return rows_.size(); }
  bool empty() const noexcept { return rows_.empty(); }
  const CMLayerRow& operator[](std::size_t row) const { return rows_[row]; }
  const std::vector<CMLayerRow>& rows() const noexcept { return rows_; }

  // The first row of the id.
  std::optional<std::size_t> rowOfID(std::int32_t id) const;
  // The first row's record of the id, or null.
  platform::DictRef layerByID(std::int32_t id) const;
  std::unordered_set<std::int32_t> idsOfRows(const platform::IndexSet& rows) const;
  // Every row whose id is among the ids.
  platform::IndexSet rowsWithIDs(const std::unordered_set<std::int32_t>& ids) const;

  // What a row shows: the "name", or "Layer<id>" ("Group<id>" for a group) without one; masks add " (mask)".
  static std::string displayName(const platform::DictRef& record);

 private:
  std::vector<CMLayerRow> rows_;
  std::unordered_map<std::int32_t, std::size_t> firstRowOfID_;
};
