#include "app/CMDocumentOpening.h"

#include <vector>

#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "document/CMProject.h"
#include "platform/core/document_controller.h"
#include "platform/core/document_panels.h"
#include "platform/core/error.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/resources.h"

namespace {

using DocumentRef = std::shared_ptr<platform::Document>;

// Asks about each document in turn, the last first. Only once every one may close do they all close: a Cancel at
// any prompt leaves every document open, as it was (one saved at an earlier prompt stays saved).
void askInTurn(std::vector<DocumentRef> asking, std::vector<DocumentRef> answered, std::function<void()> then) {
  if (asking.empty()) {
    for (const DocumentRef& document : answered) CMDocumentManager::sharedDocumentManager().closeAnswered(document);
    return then();
  }
  const DocumentRef next = asking.back();
  asking.pop_back();
  next->canCloseDocument([next, asking = std::move(asking), answered = std::move(answered),
                          then = std::move(then)](bool shouldClose) mutable {
    if (!shouldClose) return;
    answered.push_back(next);
    askInTurn(std::move(asking), std::move(answered), std::move(then));
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

bool newDocumentFromDrawing(const platform::DictRef& root) {
  CMProject& project = CMProject::shareProject();
  project.setLockAutoOpenDocument(false);
  project.setDefaultTemplate(root);
  platform::DocumentController& controller = platform::DocumentController::shared();
  auto made = controller.newDocument();
  project.setDefaultTemplate(nullptr);
  if (!made) controller.panels().presentError(made.error());
  return made.ok();
}

bool newDocumentFromSample(const std::string& name) {
  const std::filesystem::path path = platform::pathForResource(name, CMDocument::kFileType, "Samples");
  std::error_code missing;
  if (path.empty() || !std::filesystem::exists(path, missing)) {
    presentErrorText(kFileDoesNotExist);
    return false;
  }
  platform::Expected<platform::Bytes> bytes = platform::readFile(path);
  platform::Expected<platform::Value> root =
      bytes ? platform::unarchiveObjectWithData(bytes.value()) : platform::Expected<platform::Value>(bytes.error());
  const platform::DictRef drawing = root ? root.value().dictionary() : nullptr;
  if (!drawing || !drawing->get("layers").isArray()) {
    presentErrorText("The sample cannot be read.");
    return false;
  }
  return newDocumentFromDrawing(drawing);
}

void closeDocumentForPathThen(const std::filesystem::path& path, std::function<void()> then) {
  std::vector<DocumentRef> open;
  if (DocumentRef document = platform::DocumentController::shared().documentForURL(path)) open.push_back(document);
  askInTurn(std::move(open), {}, std::move(then));
}

void closeAllDocumentsThen(std::function<void()> then) {
  askInTurn(platform::DocumentController::shared().documents(), {}, std::move(then));
}
