// Hostile SVG bytes read into a fresh document, the page grown to them and the document saved and read back: no
// crash, hang or sanitizer report, no number that is not finite in any record, and the keyed archive of the
// document reads back to an equal tree.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "document/CMDocument.h"
#include "finite_records.h"
#include "io/svg/VDSVGParser.h"
#include "platform/core/folders.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"

namespace {

[[noreturn]] void fail(const char* what) { fuzzing::fail("fuzz_svg_import", what); }

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
  fuzzing::checkFinite("fuzz_svg_import", records);
  document.resizeDocument(records);
  document.data()->array("layers")->addAll(*records);
  const platform::Expected<platform::Bytes> saved = document.dataOfType(CMDocument::kFileType);
  if (!saved) fail("the document with the import cannot be saved");
  CMDocument reopened;
  if (!reopened.readFromData(saved.value(), CMDocument::kFileType).ok()) fail("the saved document does not reopen");
  if (!reopened.data()->isEqual(*document.data())) fail("the document changed through saving and reopening");
  return 0;
}
