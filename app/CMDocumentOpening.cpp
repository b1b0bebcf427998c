#include "app/CMDocumentOpening.h"

#include <vector>

#include "document/CMDocumentManager.h"
#include "platform/core/document_controller.h"
#include "platform/core/document_panels.h"
#include "platform/core/error.h"

namespace {

void closeInTurn(std::vector<std::shared_ptr<platform::Document>> documents, std::function<void()> then) {
  if (documents.empty()) return then();
  const std::shared_ptr<platform::Document> next = documents.back();
  documents.pop_back();
  CMDocumentManager::sharedDocumentManager().closeDocument(
      next, [documents = std::move(documents), then = std::move(then)](bool closed) mutable {
        if (closed) closeInTurn(std::move(documents), std::move(then));
      });
}

}  // namespace

void presentErrorText(const std::string& text) {
  platform::DocumentController::shared().panels().presentError(platform::Error::make("Draftwork", 0, text));
}

bool openFileDisplayed(const std::filesystem::path& path) {
  platform::DocumentController& controller = platform::DocumentController::shared();
  auto opened = controller.openDocument(path);
  if (!opened) {
    controller.panels().presentError(opened.error());
    return false;
  }
  return true;
}

void closeDocumentForPathThen(const std::filesystem::path& path, std::function<void()> then) {
  std::vector<std::shared_ptr<platform::Document>> open;
  if (auto document = platform::DocumentController::shared().documentForURL(path)) open.push_back(document);
  closeInTurn(std::move(open), std::move(then));
}

void closeAllDocumentsThen(std::function<void()> then) {
  closeInTurn(platform::DocumentController::shared().documents(), std::move(then));
}
