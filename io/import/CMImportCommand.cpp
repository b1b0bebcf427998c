#include "io/import/CMImportCommand.h"

#include <utility>

#include "document/CMDocument.h"
#include "document/CMNotificationNames.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/files.h"
#include "platform/core/log.h"
#include "platform/core/notification_center.h"
#include "platform/core/string_utilities.h"
#include "platform/core/user_cancelled.h"
#include "platform/graphics/image_codecs.h"
#include "platform/ui/alert.h"
#include "platform/ui/file_panel.h"
#include "ui/CMMainWindowController.h"

namespace {

enum class ImportKind { Drawing, CorelDraw, Picture };

ImportKind kindOf(const std::filesystem::path& url) {
  std::string extension = url.extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension == "SVG") return ImportKind::Drawing;
  if (extension == "CDR") return ImportKind::CorelDraw;
  return ImportKind::Picture;
}

// The alert of an import that failed, with the reason.
void showError(const std::string& reason) { platform::Alert::runModalWithOK("Error", reason); }

// The imported layers become the selection everywhere, as layers made any other way do.
void selectImported(const CMDocument& document, const platform::ArrayRef& records) {
  std::vector<platform::DictRef> added;
  added.reserve(records->size());
  for (const platform::Value& entry : *records) added.push_back(entry.dictionary());
  CMMainWindowController::sharedWindowController()->selectAddedLayers(document, added);
}

void importDrawing(CMDocument& document, const std::filesystem::path& url) {
  const platform::Expected<platform::Bytes> data = platform::readFile(url, kLargestImportFile);
  if (!data) return showError(data.error().description);
  const CMSVGImport imported = importSVGData(document, data.value());
  if (!imported.refusal.empty()) return showError(imported.refusal);
  if (!imported.skipped.empty()) {
    platform::logWarning("SVG import of " + url.string() + " skipped: " + imported.skipped);
  }
  if (imported.records->empty()) {
    if (imported.failure) {
      return showError(platform::formatString("The file is not readable SVG (line %d: %s).", imported.failure->line,
                                              imported.failure->message.c_str()));
    }
    return showError("The file holds nothing that can be imported.");
  }
  const std::shared_ptr<CMMainWindowController> controller = CMMainWindowController::sharedWindowController();
  controller->updateEditor();
  controller->update();
  platform::NotificationCenter::defaultCenter().post(kNotificationLayersReCreate,
                                                     static_cast<const CMDocument*>(&document));
  selectImported(document, imported.records);
  if (imported.failure) {
    showError(platform::formatString("The file is damaged at line %d (%s); what came before it was imported.",
                                     imported.failure->line, imported.failure->message.c_str()));
  }
}

void importCorel(CMDocument& document, const std::filesystem::path& url) {
  const platform::Expected<platform::ArrayRef> imported = importCorelDrawing(document, url);
  if (!imported) {
    // A conversion the user cancelled ends as asked, without an alert.
    if (!platform::isUserCancelled(imported.error())) showError(imported.error().description);
    return;
  }
  CMMainWindowController::sharedWindowController()->updateEditor();
  platform::NotificationCenter::defaultCenter().post(kNotificationLayersReCreate,
                                                     static_cast<const CMDocument*>(&document));
  selectImported(document, imported.value());
}

void importPicture(CMDocument& document, const std::filesystem::path& url) {
  const platform::Expected<platform::DictRef> layer = importImageFile(document, url);
  if (!layer) return showError("The file cannot be read as a picture: " + layer.error().description);
  CMMainWindowController::sharedWindowController()->selectAddedLayers(document, {layer.value()});
}

class ImportLauncher final : public CMImportService {
 public:
  void doImport(CMDocument& document) override { std::make_shared<CMImportCommand>()->doImport(document); }
};

}  // namespace

std::unique_ptr<CMImportService> CMImportCommand::makeService() { return std::make_unique<ImportLauncher>(); }

std::vector<std::string> CMImportCommand::importFileTypes() {
  std::vector<std::string> types = platform::readableImageFileTypes();
  types.emplace_back("cdr");
  types.emplace_back("svg");
  return types;
}

void CMImportCommand::doImport(CMDocument& document) {
  // The handler keeps the command, and the document when shared, until the panel has closed.
  importObject([self = shared_from_this(), target = &document,
                keep = document.weak_from_this().lock()](std::optional<std::filesystem::path> url) {
    if (url) importURL(*target, *url);
  });
}

void CMImportCommand::importObject(std::function<void(std::optional<std::filesystem::path>)> chosen) {
  currentImportPanel_ = platform::FilePanel::openPanel();
  currentImportPanel_->setTitle("Import");
  currentImportPanel_->setAllowedFileTypes(importFileTypes());
  currentImportPanel_->beginSheet(
      CMMainWindowController::sharedWindowController()->window(),
      [self = shared_from_this(), chosen = std::move(chosen)](bool accepted) {
        const std::shared_ptr<platform::FilePanel> panel = std::exchange(self->currentImportPanel_, nullptr);
        if (!accepted || panel->paths().empty()) return chosen(std::nullopt);
        chosen(std::filesystem::path(panel->paths().front()));
      });
}

void CMImportCommand::importURL(CMDocument& document, const std::filesystem::path& url) {
  switch (kindOf(url)) {
    case ImportKind::Drawing: return importDrawing(document, url);
    case ImportKind::CorelDraw: return importCorel(document, url);
    case ImportKind::Picture: return importPicture(document, url);
  }
}
