// Save, save as, and the "can close?" flow of the document controller.

#include <utility>

#include "platform/core/document_controller.h"

namespace platform {

namespace {

void finish(const DocumentController::Finished& done, bool result) {
  if (done) done(result);
}

}  // namespace

void DocumentController::writeDocument(const DocumentRef& document, const std::filesystem::path& path, Finished done) {
  // The file's extension names its type (Save As of a document read from another format writes the chosen one);
  // a path of no registered type is written in the document's own.
  std::string type = typeForExtension(path.extension().string());
  if (type.empty()) type = document->fileType().empty() ? defaultType() : document->fileType();
  Status written = document->writeToURL(path, type);
  if (!written) panels_->presentError(written.error());
  if (written && noteRecent_) noteRecent_(path);
  finish(done, written.ok());
}

void DocumentController::saveDocument(const DocumentRef& document, Finished done) {
  if (!document) return finish(done, false);
  if (document->fileURL().empty() || !document->canWriteType(document->fileType()))
    return saveDocumentAs(document, std::move(done));
  writeDocument(document, document->fileURL(), std::move(done));
}

void DocumentController::saveDocumentAs(const DocumentRef& document, Finished done) {
  if (!document) return finish(done, false);
  panels_->chooseSavePath(*document,
                          [this, document, done = std::move(done)](std::optional<std::filesystem::path> path) {
                            if (!path) return finish(done, false);
                            writeDocument(document, *path, done);
                          });
}

void DocumentController::canCloseDocument(const DocumentRef& document, Finished done) {
  if (!document) return finish(done, false);
  if (!document->isDocumentEdited()) return finish(done, true);
  panels_->askToSaveChanges(*document, [this, document, done = std::move(done)](SaveChoice choice) {
    switch (choice) {
      case SaveChoice::Save:
        saveDocument(document, done);
        return;
      case SaveChoice::DontSave:
        return finish(done, true);
      case SaveChoice::Cancel:
        return finish(done, false);
    }
  });
}

}  // namespace platform
