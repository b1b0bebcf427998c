// Any property list as a document's root record, listed as the layers panel lists it: one row per record the
// walk reaches, levels that deepen one at a time, "group_level" written as the row's level, a name for every
// row, and a selection kept by id that finds exactly the rows of those ids.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "platform/core/property_list.h"
#include "ui/CMLayerRows.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_layer_rows: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const platform::Expected<platform::Value> read = platform::propertyListFromData(platform::Bytes(data, data + size));
  if (!read) return 0;
  CMLayerRows rows;
  rows.rebuild(read.value().dictionary());
  std::int32_t previous = -1;
  std::unordered_set<std::int32_t> chosen;
  std::unordered_map<const platform::Dictionary*, std::int32_t> lastLevel;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CMLayerRow& row = rows[i];
    if (row.level < 0 || row.level > previous + 1) fail("a row deeper than one level below the row before it");
    lastLevel[row.record.get()] = row.level;
    if (CMLayerRows::displayName(row.record).empty() && !row.record->get("name").isString())
      fail("a row without a name to show");
    if (rows.rowOfID(row.id) > i) fail("an id's first row lies after a row of that id");
    // Every third row is selected, by id.
    if (i % 3 == 0) chosen.insert(row.id);
    previous = row.level;
  }
  // A record listed twice (a shared entry of a binary list) keeps the level of its last row.
  for (const auto& [record, level] : lastLevel)
    if (record->get("group_level").intValue() != level) fail("group_level differs from the row's level");
  const platform::IndexSet kept = rows.rowsWithIDs(chosen);
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (kept.contains(i) != (chosen.count(rows[i].id) != 0)) fail("reselection by id missed or added a row");
  if (rows.idsOfRows(kept) != chosen) fail("ids of the reselected rows differ");
  return 0;
}
