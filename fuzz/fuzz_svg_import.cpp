// Hostile SVG bytes read into a fresh document, the page grown to them and the document saved and read back: no
// crash, hang or sanitizer report, no number that is not finite in any record, and the keyed archive of the
// document reads back to an equal tree.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/CMDocument.h"
#include "io/svg/VDSVGParser.h"
#include "platform/core/folders.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_svg_import: %s\n", what);
  std::abort();
}

bool isPointKey(std::string_view key) {
  return key == "point" || key == "control_point1" || key == "control_point2";
}

// Walks without recursion: every number, and every point string, is finite.
void checkFinite(const platform::ArrayRef& records) {
  std::vector<platform::Value> pending{platform::Value(records)};
  while (!pending.empty()) {
    const platform::Value value = pending.back();
    pending.pop_back();
    if (value.isReal() && !std::isfinite(value.doubleValue())) fail("a record holds a number that is not finite");
    if (const platform::ArrayRef array = value.array()) {
      for (const platform::Value& item : *array) pending.push_back(item);
    }
    if (const platform::DictRef dictionary = value.dictionary()) {
      for (const auto& [key, item] : *dictionary) {
        if (isPointKey(key)) {
          const platform::Point p = platform::pointFromString(item.string());
          if (!std::isfinite(p.x) || !std::isfinite(p.y)) fail("a point record holds a point that is not finite");
        }
        pending.push_back(item);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The project's folders go to a scratch place, never to the user's.
  const std::filesystem::path root = std::filesystem::temp_directory_path() / "draftwork-fuzz-svg-import";
  std::filesystem::create_directories(root);
  platform::overrideFoldersRoot(root);
  platform::setLogSink([](platform::LogLevel, std::string_view) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CMDocument document;
  VDSVGParser reader;
  const platform::ArrayRef records = reader.parseSVG(platform::Bytes(data, data + size), document);
  checkFinite(records);
  document.resizeDocument(records);
  document.data()->array("layers")->addAll(*records);
  const platform::Expected<platform::Bytes> saved = document.dataOfType(CMDocument::kFileType);
  if (!saved) fail("the document with the import cannot be saved");
  CMDocument reopened;
  if (!reopened.readFromData(saved.value(), CMDocument::kFileType).ok()) fail("the saved document does not reopen");
  if (!reopened.data()->isEqual(*document.data())) fail("the document changed through saving and reopening");
  return 0;
}
