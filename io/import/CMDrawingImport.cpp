#include "io/import/CMDrawingImport.h"

#include "canvas/CMZoomSteps.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "io/cdr/CDR2SVG.h"
#include "io/cdr/CMCDRConverterProcess.h"
#include "io/cdr/CMConversionFolder.h"
#include "platform/core/files.h"
#include "platform/graphics/image.h"

namespace {

// An imported drawing's records added, the page grown to hold them: one step of undo, as pasted records are;
// registering them marks the document edited.
void addImportedDrawing(CMDocument& document, const platform::ArrayRef& records) {
  CMUndoManager::Transaction transaction(document.undoManager());
  document.resizeDocument(records);
  appendLayers(document, records);
  document.undoManager().regUndoAddedLayers(records);
}

}  // namespace

CMSVGImport importSVGData(CMDocument& document, const platform::Bytes& data, std::uint64_t recordBudget) {
  VDSVGParser parser(recordBudget);
  CMSVGImport result{parser.parseSVG(data, document), parser.failure(), parser.skippedSummary(), parser.refusal()};
  if (!result.refusal.empty()) result.failure.reset();
  if (!result.records->empty()) addImportedDrawing(document, result.records);
  return result;
}

void appendLayers(CMBaseDocument& document, const platform::ArrayRef& records) {
  platform::ArrayRef layers = document.data()->array("layers");
  if (!layers) {
    layers = platform::Array::make();
    document.data()->set("layers", layers);
  }
  layers->addAll(*records);
}

namespace {

platform::Error unsupportedCorelDrawing() {
  return platform::Error::make(platform::Error::cocoaDomain, CDR2SVG::kUnsupportedFormat, "Unsupported file format!");
}

// The converter's page read into records. The page is the converter's own XHTML: one that does not read to its end
// came from a converter that went wrong, and nothing of it is taken.
platform::Expected<platform::ArrayRef> readConvertedPage(CMBaseDocument& document, const std::filesystem::path& path,
                                                         const CMConversionFolder& folder,
                                                         std::optional<platform::Size>* firstPage) {
  const platform::Expected<platform::Bytes> page = CMCDRConverterProcess::convert(path, folder.path());
  if (!page) return page.error();
  VDSVGParser parser;
  platform::ArrayRef records = parser.parseSVG(page.value(), document);
  if (parser.failure() || records->empty()) return unsupportedCorelDrawing();
  if (firstPage) *firstPage = parser.firstSize();
  return records;
}

}  // namespace

platform::Expected<platform::ArrayRef> readCorelDrawing(CMBaseDocument& document, const std::filesystem::path& path) {
  const platform::Expected<CMConversionFolder> folder = CMConversionFolder::make();
  if (!folder) return folder.error();
  return readConvertedPage(document, path, folder.value(), nullptr);
}

platform::Expected<platform::ArrayRef> readCorelDrawingData(CMBaseDocument& document, const platform::Bytes& data,
                                                            std::optional<platform::Size>* firstPage) {
  const platform::Expected<CMConversionFolder> folder = CMConversionFolder::make();
  if (!folder) return folder.error();
  // The converter reads files: the bytes go into the conversion's own folder, which takes them away afterwards.
  const std::filesystem::path drawing = folder.value().path() / "drawing.cdr";
  if (!platform::writeFileAtomically(drawing, data)) return unsupportedCorelDrawing();
  return readConvertedPage(document, drawing, folder.value(), firstPage);
}

platform::Expected<platform::ArrayRef> importCorelDrawing(CMDocument& document, const std::filesystem::path& path) {
  platform::Expected<platform::ArrayRef> records = readCorelDrawing(document, path);
  if (records) addImportedDrawing(document, records.value());
  return records;
}

platform::Status CMCorelDrawReader::readCorelDrawing(CMDocument& document, const platform::Bytes& data) {
  std::optional<platform::Size> firstPage;
  const platform::Expected<platform::ArrayRef> records = readCorelDrawingData(document, data, &firstPage);
  if (!records) return records.error();
  // The opened drawing gets its first page's size, where the canvas can show it; else it keeps the new page's.
  const auto usable = [](double side) { return side >= 1 && side <= kCMLargestPageLength; };
  if (firstPage && usable(firstPage->width) && usable(firstPage->height)) {
    document.data()->set("width", static_cast<float>(firstPage->width));
    document.data()->set("height", static_cast<float>(firstPage->height));
  }
  appendLayers(document, records.value());
  return platform::success();
}

platform::Expected<platform::DictRef> importImageFile(CMDocument& document, const std::filesystem::path& path) {
  platform::Expected<platform::Image> image = platform::Image::fromFile(path);
  if (!image) return image.error();
  platform::Expected<platform::Bytes> tiff = image.value().representation(platform::ImageFileType::Tiff);
  if (!tiff) return tiff.error();
  // The record holds its picture before the addition is registered, so that a redo brings the picture back too.
  const platform::DictRef record = CMProject::defaultObject("image");
  record->set("image", std::move(tiff).value());
  record->set("height", image.value().size().height);
  record->set("width", image.value().size().width);
  return document.addObjectWithData(record, {0, 0});
}
