// Hostile keyed archives: reading must fail cleanly or give a tree that
// archives and reads back to an equal tree, archiving the same bytes again.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/core/keyed_archive.h"
#include "value_traits.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_keyed_archive: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace platform;
  const Expected<Value> first = unarchiveObjectWithData(Bytes(data, data + size));
  if (!first) return 0;
  const ValueTraits traits = valueTraits(first.value());
  if (!traits.utf8) fail("the reader let malformed UTF-8 into a string");
  // Equality cannot be decided on a cycle, so there is nothing to compare against.
  if (traits.cyclic) return 0;

  const Bytes archived = archivedDataWithRootObject(first.value());
  const Expected<Value> second = unarchiveObjectWithData(archived);
  if (!second) fail("our own archive of a tree we read does not read back");
  // NaN never equals itself and program objects compare by identity, so only
  // trees free of both can be compared.
  if (traits.hasNaN || traits.hasObject) return 0;
  if (!first.value().isEqual(second.value())) fail("the tree changed through archive and unarchive");
  if (archivedDataWithRootObject(second.value()) != archived) fail("archiving the read-back tree gave other bytes");
  return 0;
}
