#include "platform/core/document.h"

#include <utility>

#include "platform/core/document_controller.h"
#include "platform/core/files.h"

namespace platform {

std::string Document::displayName() const {
  if (!fileURL_.empty()) return fileURL_.filename().string();
  if (untitledNumber_ <= 1) return "Untitled";
  return "Untitled " + std::to_string(untitledNumber_);
}

Status Document::readFromURL(const std::filesystem::path& path, std::string_view type) {
  Expected<Bytes> bytes = readFile(path);
  if (!bytes) return bytes.error();
  Status read = readFromData(bytes.value(), type);
  if (!read) return read;
  setFileURL(path);
  setFileType(std::string(type));
  setDocumentEdited(false);
  return success();
}

Status Document::writeToURL(const std::filesystem::path& path, std::string_view type) {
  Expected<Bytes> bytes = dataOfType(type);
  if (!bytes) return bytes.error();
  Status written = writeFileAtomically(path, bytes.value());
  if (!written) return written;
  setFileURL(path);
  setFileType(std::string(type));
  setDocumentEdited(false);
  return success();
}

void Document::shouldCloseWindowController() {
  std::shared_ptr<Document> self = shared_from_this();
  canCloseDocument([self](bool shouldClose) {
    if (shouldClose) self->close();
  });
}

void Document::canCloseDocument(std::function<void(bool shouldClose)> done) {
  if (!controller_) {
    // No controller, no one to ask: only a document without changes may go.
    done(!isDocumentEdited());
    return;
  }
  controller_->canCloseDocument(shared_from_this(), std::move(done));
}

void Document::close() {
  if (controller_) controller_->removeDocument(*this);
}

}  // namespace platform
