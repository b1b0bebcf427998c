#include "io/import/CMDrawingImport.h"

#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "document/CMUndoActionType.h"
#include "platform/graphics/image.h"

CMSVGImport importSVGData(CMDocument& document, const platform::Bytes& data) {
  VDSVGParser parser;
  CMSVGImport result{parser.parseSVG(data, document), parser.failure(), parser.skippedSummary()};
  if (result.records->empty()) return result;
  // The page growth and the records are one step of undo; registering them marks the document edited.
  CMUndoManager::Transaction transaction(document.undoManager());
  document.resizeDocument(result.records);
  platform::ArrayRef layers = document.data()->array("layers");
  if (!layers) {
    layers = platform::Array::make();
    document.data()->set("layers", layers);
  }
  layers->addAll(*result.records);
  document.undoManager().regUndoArray(kCMUndoAddingLayers, result.records);
  return result;
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
