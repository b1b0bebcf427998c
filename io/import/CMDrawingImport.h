#pragma once

// The model's half of an import: a drawing's records or a picture brought into the document, with what could not
// be brought. No window is involved, so the import command and the benchmarks share it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "io/svg/VDSVGParser.h"
#include "platform/core/error.h"
#include "platform/core/value.h"

class CMDocument;

// The largest file an import reads.
inline constexpr std::uint64_t kLargestImportFile = 256u << 20;

struct CMSVGImport {
  // The top-level records added; empty when nothing was (the document is then unchanged).
  platform::ArrayRef records;
  // Where the XML broke, when it did.
  std::optional<VDSVGParser::Failure> failure;
  // The elements left out, as VDSVGParser::skippedSummary gives them.
  std::string skipped;
};

// SVG text read into the document: the page grows to the records and they are appended, as one step of undo.
CMSVGImport importSVGData(CMDocument& document, const platform::Bytes& data);

// A picture file as one image layer at (0, 0) of the picture's size holding its TIFF data; the layer record, or
// why the file is no picture.
platform::Expected<platform::DictRef> importImageFile(CMDocument& document, const std::filesystem::path& path);
