// The document's menu commands: export, import, save as template and print.

#include "document/CMDocument.h"
#include "document/CMImportExportServices.h"
#include "document/CMProject.h"
#include "document/CMTemplateStore.h"
#include "document/CMUserNotices.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"
#include "platform/core/uuid.h"

namespace {

void logFailure(const char* what, const platform::Status& status) {
  if (!status) platform::logWarning(std::string(what) + ": " + status.error().description);
}

}  // namespace

std::string CMDocument::guid() { return platform::makeUUIDString(); }

void CMDocument::OnExport() {
  if (std::unique_ptr<CMExportService> manager = CMExportServiceFactory::make()) {
    manager->exportDocument(*this);
  } else {
    platform::logWarning("no export manager installed");
  }
}

void CMDocument::doImport() {
  if (std::unique_ptr<CMImportService> command = CMImportServiceFactory::make()) {
    command->doImport(*this);
  } else {
    platform::logWarning("no import command installed");
  }
}

platform::Expected<platform::Bytes> CMDocument::printImage(double pixelsPerPoint) {
  std::unique_ptr<CMPageImageService> format = CMPageImageServiceFactory::make();
  if (!format) return platform::Error::osStatus(-4);
  format->setPixelsPerPoint(pixelsPerPoint);
  return format->generate(*this);
}

void CMDocument::OnSaveAsTemplate() {
  const std::filesystem::path storePath = CMProject::appFilePath(kTemplateStoreName);
  platform::ArrayRef templates = readUserTemplateStore(storePath);
  if (!templates) return;  // the damaged store stays; the user has been told
  const platform::Bytes archive = platform::archivedDataWithRootObject(platform::Value(data()));
  const std::string imageName = guid() + ".png";
  platform::Expected<platform::Bytes> thumbnail = printImage();
  if (thumbnail) {
    logFailure("template thumbnail not written",
               platform::writeFileAtomically(CMProject::appFilePath(imageName), thumbnail.value()));
  } else {
    platform::logWarning("template thumbnail not made: " + thumbnail.error().description);
  }
  templates->add(platform::Dictionary::make({{"data", archive}, {"imagefilename", imageName}}));
  const platform::Status written =
      platform::writeFileAtomically(storePath, platform::archivedDataWithRootObject(platform::Value(templates)));
  if (!written) CMUserNotices::post("The template could not be saved: " + written.error().description);
}
