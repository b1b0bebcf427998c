// The application shell's stores from outside: whatever the bytes, as the "keyshorts" default they give the
// built-in tool-key table or only valid records, and as a template store only records with data, whose
// thumbnail names are plain file names and whose drawings, when any, have layers.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/CMKeyBindingManager.h"
#include "document/CMTemplateStore.h"
#include "platform/core/value.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_shell_stores: %s\n", what);
  std::abort();
}

void checkKeyTable(const platform::Bytes& bytes) {
  const platform::ArrayRef items = CMKeyBindingManager::readStoredTable(platform::Value(bytes)).items;
  if (!items) return;
  if (items->empty() || items->size() > 14) fail("a key table kept no record or more records than there are tools");
  for (const platform::Value& entry : *items) {
    const platform::DictRef record = entry.dictionary();
    if (!record) fail("a key table kept something that is not a record");
    const std::int64_t keyId = record->get("keyId").integerValue();
    const std::int64_t code = record->get("code").integerValue();
    if (!record->get("title").isString()) fail("a key record kept a title that is not text");
    if (keyId < 1 || keyId > 15) fail("a key record kept a tool key id outside 1 to 15");
    if (code < -1 || code > 127) fail("a key record kept a key code outside -1 to 127");
    if (record->get("flags").integerValue() < 0) fail("a key record kept negative flags");
  }
}

void checkTemplates(const platform::Bytes& bytes) {
  const platform::ArrayRef records = readTemplateRecords(bytes);
  if (!records) return;
  for (const platform::Value& entry : *records) {
    const platform::DictRef record = entry.dictionary();
    if (!record || !record->get("data").isData()) fail("a template kept a record without data");
    const std::string image = templateImageName(record);
    if (image.find('/') != std::string::npos || image == "." || image == "..")
      fail("a template's thumbnail name reaches outside its folder");
    const platform::DictRef root = templateRootRecord(record);
    if (root && !root->get("layers").isArray()) fail("a template's drawing has no layers");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const platform::Bytes bytes(data, data + size);
  checkKeyTable(bytes);
  checkTemplates(bytes);
  return 0;
}
