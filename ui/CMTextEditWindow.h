#pragma once

// The rename sheet of the layers panel: a small modal window over the main
// window with the layer's name in a field, "Cancel" and "OK". An empty name
// is refused with an alert and the sheet stays open for another try; a name
// is taken as it stands, registered for undo first.

#include <functional>
#include <memory>

#include "platform/core/value.h"

class CMDocument;

namespace platform {
class Alert;
class Button;
class TextField;
class Window;
}  // namespace platform

class CMTextEditWindow {
 public:
  static constexpr const char* kEmptyNameMessage = "You can't use empty string as layer name.";

  CMTextEditWindow();
  ~CMTextEditWindow();
  CMTextEditWindow(const CMTextEditWindow&) = delete;
  CMTextEditWindow& operator=(const CMTextEditWindow&) = delete;

  // The record renamed and its document; the field shows its name ("Layer<id>" without one).
  void setLayerData(platform::DictRef record, std::shared_ptr<CMDocument> document);
  // Shows the sheet, modal and transient for `parent` when there is one; `didEnd` runs once it has closed.
  void beginSheet(platform::Window* parent, std::function<void()> didEnd);
  void OnOK();
  void OnClose();

  bool isOpen() const { return open_; }
  platform::Window& window() const { return *window_; }
  platform::TextField& textField() const { return *textField_; }
  platform::Button& okButton() const { return *okButton_; }
  platform::Button& cancelButton() const { return *cancelButton_; }
  // The alert about an empty name while it is up, else null.
  platform::Alert* emptyNameAlert() const { return alert_.get(); }

 private:
  void endSheet();

  std::unique_ptr<platform::Window> window_;
  std::shared_ptr<platform::TextField> textField_;
  std::shared_ptr<platform::Button> okButton_;
  std::shared_ptr<platform::Button> cancelButton_;
  std::shared_ptr<platform::Alert> alert_;
  platform::DictRef record_;
  std::shared_ptr<CMDocument> document_;
  std::function<void()> didEnd_;
  bool open_ = false;
};
