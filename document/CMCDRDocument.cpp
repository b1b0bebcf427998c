#include "document/CMCDRDocument.h"

#include "document/CMImportExportServices.h"

platform::Status CMCDRDocument::readFromData(const platform::Bytes& data, std::string_view) {
  const std::unique_ptr<CMCorelDrawReadService> reader = CMCorelDrawReadServiceFactory::make();
  if (!reader) return platform::Error::make(platform::Error::cocoaDomain, 10, "Unsupported file format!");
  return reader->readCorelDrawing(*this, data);
}

platform::Expected<platform::Bytes> CMCDRDocument::dataOfType(std::string_view type) {
  if (type == CMDocument::kFileType) return CMDocument::dataOfType(type);
  return platform::Error::osStatus(-4);
}
