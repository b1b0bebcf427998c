#pragma once

// The document controller's questions answered with GTK dialogs on the main
// window: the Save / Don't Save / Cancel prompt, the open and save panels
// (drawings and CorelDRAW files open; drawings are saved) and the "Error" alert.

#include <functional>
#include <memory>

#include "platform/core/document_panels.h"

namespace platform {
class Alert;
class FilePanel;
class Window;
}  // namespace platform

class CMDocumentDialogs final : public platform::DocumentPanels {
 public:
  // The window the dialogs sit on; null while there is none (the alerts then run modal).
  explicit CMDocumentDialogs(std::function<platform::Window*()> window);

  void askToSaveChanges(const platform::Document& document,
                        std::function<void(platform::SaveChoice)> answer) override;
  void chooseSavePath(const platform::Document& document, PathChosen chosen) override;
  void chooseOpenPath(PathChosen chosen) override;
  void presentError(const platform::Error& error) override;

  // The dialog shown last, while it is up: tests answer it.
  platform::Alert* currentAlert() const { return alert_.get(); }
  platform::FilePanel* currentFilePanel() const { return filePanel_.get(); }

 private:
  void runAlert(std::shared_ptr<platform::Alert> alert, std::function<void(int)> answered);
  void runPanel(std::shared_ptr<platform::FilePanel> panel, PathChosen chosen);

  std::function<platform::Window*()> window_;
  std::shared_ptr<platform::Alert> alert_;
  std::shared_ptr<platform::FilePanel> filePanel_;
};
