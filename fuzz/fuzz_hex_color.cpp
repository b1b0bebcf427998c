// Colour records from any text and any alpha: four integer components, each within 0…255.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "document/CMColorRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  float alpha = 0;
  if (size >= sizeof alpha) {
    std::memcpy(&alpha, data, sizeof alpha);
    data += sizeof alpha;
    size -= sizeof alpha;
  }
  const platform::DictRef record =
      dictionaryFromHexRGB(std::string_view(reinterpret_cast<const char*>(data), size), alpha);
  if (record->size() != 4) std::abort();
  for (const char* key : {"r", "g", "b", "a"}) {
    const platform::Value value = record->get(key);
    if (!value.isInteger() || value.integerValue() < 0 || value.integerValue() > 255) {
      std::fprintf(stderr, "fuzz_hex_color: %s out of 0...255\n", key);
      std::abort();
    }
  }
  return 0;
}
