#pragma once

// The model's half of an import: a drawing's records or a picture brought into the document, with what could not
// be brought. No window is involved, so the import command and the benchmarks share it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "document/CMImportExportServices.h"
#include "io/svg/VDSVGParser.h"
#include "platform/core/error.h"
#include "platform/core/value.h"

class CMBaseDocument;
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
  // Why nothing of the file was imported (VDSVGParser::refusal); empty when it was not refused.
  std::string refusal;
};

// SVG text read into the document: the page grows to the records and they are appended, as one step of undo. A file
// whose records would take more than `recordBudget` bytes is refused and leaves the document as it was.
CMSVGImport importSVGData(CMDocument& document, const platform::Bytes& data,
                          std::uint64_t recordBudget = VDSVGParser::defaultRecordBudget());

// A CorelDRAW drawing converted by the converter process and read into records of the document, not yet added to
// it; the error 10 "Unsupported file format!" when it cannot be read, the converter's own error when it crashed, ran
// too long, wrote too much or was cancelled, or the conversion folder's when none could be made. The conversion's pictures are deleted before this
// returns: the reader leaves pictures out, so nothing refers to them.
platform::Expected<platform::ArrayRef> readCorelDrawing(CMBaseDocument& document, const std::filesystem::path& path);
// The same for a drawing's bytes, as a document being opened has them; `firstPage`, when given, gets the size of
// the drawing's first page.
platform::Expected<platform::ArrayRef> readCorelDrawingData(CMBaseDocument& document, const platform::Bytes& data,
                                                            std::optional<platform::Size>* firstPage = nullptr);
// A CorelDRAW drawing's records appended to the document as one step of undo, the page grown to hold them as for SVG.
platform::Expected<platform::ArrayRef> importCorelDrawing(CMDocument& document, const std::filesystem::path& path);
// Appends records to the root record's "layers".
void appendLayers(CMBaseDocument& document, const platform::ArrayRef& records);

// Opening a CorelDRAW document reads its drawing through the converter, on a page of the drawing's first page's size.
class CMCorelDrawReader final : public CMCorelDrawReadService {
 public:
  platform::Status readCorelDrawing(CMDocument& document, const platform::Bytes& data) override;
};

// A picture file as one image layer at (0, 0) of the picture's size holding its TIFF data; the layer record, or
// why the file is no picture.
platform::Expected<platform::DictRef> importImageFile(CMDocument& document, const std::filesystem::path& path);
