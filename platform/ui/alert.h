#pragma once

// NSAlert: a message, informative text, buttons (the first is the default,
// answered as 1000, the next 1001, …) and an optional text field. Every alert
// is a modal dialog transient for the window the user works in (frontWindow),
// else for the sheet's window; as a sheet the completion handler runs on the
// main queue after the dialog has closed, so it may open another.

#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/error.h"

namespace platform {

class Window;

enum class AlertStyle { Warning, Informational, Critical };

class Alert : public std::enable_shared_from_this<Alert> {
 public:
  static constexpr int FirstButtonReturn = 1000;

  static std::shared_ptr<Alert> create();
  // alertWithNonRecoverableError: the error's description as the message, its recovery suggestion as the
  // informative text (shown as it stands), its first recovery option as the one button ("OK" without any).
  static std::shared_ptr<Alert> alertWithNonRecoverableError(const Error& error);

  void setMessageText(const std::string& text) { message_ = text; }
  void setInformativeText(const std::string& text) { informative_ = text; }
  const std::string& messageText() const { return message_; }
  const std::string& informativeText() const { return informative_; }
  void setAlertStyle(AlertStyle style) { style_ = style; }
  // Returns the button's answer. A button titled "Cancel" also answers Escape and closing.
  int addButtonWithTitle(const std::string& title);
  // An accessory text field holding `initialText`; read it with accessoryText() in the handler.
  void addAccessoryTextField(const std::string& initialText);
  std::string accessoryText() const;

  // beginSheetModalForWindow:completionHandler:
  void beginSheet(Window& window, std::function<void(int response)> completion);
  // runModal: a nested main loop until answered.
  int runModal();
  // A message and its informative text with one "OK" button, run modal.
  static void runModalWithOK(const std::string& message, const std::string& informative);

  // The dialog while it is up, for tests that answer it.
  Gtk::Dialog* dialog() { return dialog_.get(); }

 private:
  Alert() = default;
  void build(Gtk::Window* parent);
  int answerFor(int gtkResponse) const;

  std::string message_;
  std::string informative_;
  AlertStyle style_ = AlertStyle::Warning;
  std::vector<std::string> buttons_;
  bool hasTextField_ = false;
  std::string text_;
  std::unique_ptr<Gtk::Dialog> dialog_;
  Gtk::Entry* entry_ = nullptr;  // managed by dialog_
};

}  // namespace platform
