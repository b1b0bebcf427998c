// Hostile property lists: reading must fail cleanly or give a tree of
// well-formed UTF-8 text that both formats write and read back to an equal tree.
//
// Binary must carry every tree. XML is only held to trees whose strings XML
// 1.0 can express: it has no way to write most control characters (U+0000,
// U+0001...), so a writer may refuse those or a reader may reject them.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/core/property_list.h"
#include "value_traits.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_property_list: %s\n", what);
  std::abort();
}

void checkRoundTrip(const platform::Value& original, platform::PropertyListFormat format, bool mustCarry,
                    bool comparable) {
  using namespace platform;
  const bool binary = format == PropertyListFormat::Binary;
  const Expected<Bytes> written = dataFromPropertyList(original, format);
  if (!written) {
    if (mustCarry) fail(binary ? "binary write failed" : "XML write failed");
    return;
  }
  const Expected<Value> readBack = propertyListFromData(written.value());
  if (!readBack) {
    if (mustCarry) fail(binary ? "binary does not read back" : "XML does not read back");
    return;
  }
  if (mustCarry && comparable && !original.isEqual(readBack.value())) {
    fail(binary ? "binary round trip changed the tree" : "XML round trip changed the tree");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace platform;
  const Expected<Value> value = propertyListFromData(Bytes(data, data + size));
  if (!value) return 0;
  const ValueTraits traits = valueTraits(value.value());
  // Whatever reads without an error must be writable again.
  if (value.value().isNil()) fail("the reader gave nil without an error");
  if (!traits.utf8) fail("the reader let malformed UTF-8 into a string");
  if (traits.cyclic) return 0;
  // NaN never equals itself, so such trees are written and read but not compared.
  const bool comparable = !traits.hasNaN;
  checkRoundTrip(value.value(), PropertyListFormat::Binary, true, comparable);
  checkRoundTrip(value.value(), PropertyListFormat::Xml, traits.xmlSafe, comparable);
  return 0;
}
