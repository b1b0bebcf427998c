// Hostile shape library files: reading must fail cleanly or give libraries whose items all have their thumbnails,
// and which archive and read back to the same names and records.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "document/CMShapeLibarary.h"
#include "value_traits.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_shape_library: %s\n", what);
  std::abort();
}

// The libraries of a store (an array) or of a library file (one library).
std::vector<std::shared_ptr<CMShapeLibarary>> librariesIn(const platform::Value& root) {
  std::vector<std::shared_ptr<CMShapeLibarary>> found;
  if (const platform::ArrayRef list = root.array()) {
    for (const platform::Value& element : *list) {
      if (auto library = shape_library_archive::library(element)) found.push_back(std::move(library));
    }
  } else if (auto library = shape_library_archive::library(root)) {
    found.push_back(std::move(library));
  }
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto first = shape_library_archive::unarchive(platform::Bytes(data, data + size));
  if (!first) return 0;
  const std::vector<std::shared_ptr<CMShapeLibarary>> read = librariesIn(first.value().root);
  bool comparable = true;
  for (const auto& library : read) {
    for (const auto& item : library->items()) {
      if (!item->thumbnailImage() || item->thumbnailImage()->pixelsWide() != 80) fail("an item without a thumbnail");
      const platform::ValueTraits traits = platform::valueTraits(platform::Value(item->shapeData()));
      if (!traits.utf8) fail("the reader let malformed UTF-8 into a record");
      // NaN never equals itself, objects compare by identity, cycles cannot be compared.
      comparable = comparable && !traits.hasNaN && !traits.hasObject && !traits.cyclic;
    }
  }
  if (!comparable) return 0;

  const auto second = shape_library_archive::unarchive(shape_library_archive::archive(first.value().root));
  if (!second) fail("our own archive of libraries we read does not read back");
  const std::vector<std::shared_ptr<CMShapeLibarary>> again = librariesIn(second.value().root);
  if (again.size() != read.size()) fail("libraries were lost through archive and unarchive");
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (again[i]->name() != read[i]->name()) fail("a library's name changed");
    if (again[i]->items().size() != read[i]->items().size()) fail("items were lost");
    for (std::size_t j = 0; j < read[i]->items().size(); ++j) {
      const auto& before = read[i]->items()[j];
      const auto& after = again[i]->items()[j];
      if (before->className() != after->className() || before->name() != after->name() ||
          !before->shapeData()->isEqual(*after->shapeData())) {
        fail("an item changed through archive and unarchive");
      }
    }
  }
  return 0;
}
