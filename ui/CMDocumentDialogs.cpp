#include "ui/CMDocumentDialogs.h"

#include <gtkmm/dialog.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "document/CMCDRDocument.h"
#include "document/CMDocument.h"
#include "platform/core/document.h"
#include "platform/core/error.h"
#include "platform/core/log.h"
#include "platform/core/user_cancelled.h"
#include "platform/ui/alert.h"
#include "platform/ui/file_panel.h"

namespace {
constexpr int kSaveAnswer = platform::Alert::FirstButtonReturn;
constexpr int kDontSaveAnswer = platform::Alert::FirstButtonReturn + 1;
}  // namespace

CMDocumentDialogs::CMDocumentDialogs(std::function<platform::Window*()> window) : window_(std::move(window)) {}

void CMDocumentDialogs::runAlert(std::shared_ptr<platform::Alert> alert, std::function<void(int)> answered) {
  alert_ = alert;
  platform::Window* window = window_ ? window_() : nullptr;
  if (!window) {
    const int answer = alert->runModal();
    alert_.reset();
    answered(answer);
    return;
  }
  alert->beginSheet(*window, [this, alert, answered = std::move(answered)](int answer) {
    if (alert_ == alert) alert_.reset();
    answered(answer);
  });
}

void CMDocumentDialogs::askToSaveChanges(const platform::Document& document,
                                         std::function<void(platform::SaveChoice)> answer) {
  auto alert = platform::Alert::create();
  alert->setMessageText("Do you want to save the changes made to the document \u201c" + document.displayName() +
                        "\u201d?");
  alert->setInformativeText("Your changes will be lost if you don't save them.");
  alert->addButtonWithTitle("Save");
  alert->addButtonWithTitle("Don't Save");
  alert->addButtonWithTitle("Cancel");
  runAlert(std::move(alert), [answer = std::move(answer)](int response) {
    if (response == kSaveAnswer) return answer(platform::SaveChoice::Save);
    if (response == kDontSaveAnswer) return answer(platform::SaveChoice::DontSave);
    answer(platform::SaveChoice::Cancel);
  });
}

void CMDocumentDialogs::presentError(const platform::Error& error) {
  if (platform::isUserCancelled(error)) return;
  // On the standard error too, for a program started from a terminal or handed a file by another copy.
  platform::logError(error.description);
  auto alert = platform::Alert::create();
  alert->setMessageText("Error");
  alert->setInformativeText(error.description);
  alert->setAlertStyle(platform::AlertStyle::Critical);
  alert->addButtonWithTitle("OK");
  std::shared_ptr<platform::Alert> shown = alert;
  runAlert(std::move(alert), [](int) {});
  if (alert_ == shown && shown->dialog()) shown->dialog()->set_title("Error");
}

void CMDocumentDialogs::runPanel(std::shared_ptr<platform::FilePanel> panel, PathChosen chosen) {
  platform::Window* window = window_ ? window_() : nullptr;
  if (!window) return chosen(std::nullopt);
  filePanel_ = panel;
  panel->beginSheet(*window, [this, panel, chosen = std::move(chosen)](bool accepted) {
    if (filePanel_ == panel) filePanel_.reset();
    if (!accepted || panel->paths().empty()) return chosen(std::nullopt);
    chosen(std::filesystem::path(panel->paths().front()));
  });
}

void CMDocumentDialogs::chooseSavePath(const platform::Document& document, PathChosen chosen) {
  auto panel = platform::FilePanel::savePanel();
  panel->setAllowedFileTypes({CMDocument::kFileType});
  const std::filesystem::path current = document.fileURL();
  if (!current.empty()) panel->setDirectory(current.parent_path().string());
  panel->setNameFieldStringValue(std::filesystem::path(document.displayName()).stem().string());
  runPanel(std::move(panel), std::move(chosen));
}

void CMDocumentDialogs::chooseOpenPath(PathChosen chosen) {
  auto panel = platform::FilePanel::openPanel();
  panel->setAllowedFileTypes({CMDocument::kFileType, CMCDRDocument::kFileType});
  runPanel(std::move(panel), std::move(chosen));
}
