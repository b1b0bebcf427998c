#include "platform/ui/alert.h"

#include <gtkmm/messagedialog.h>

#include "platform/core/main_queue.h"
#include "platform/ui/front_window.h"
#include "platform/ui/window.h"

namespace platform {

std::shared_ptr<Alert> Alert::create() {
  // The constructor is private so every alert is shared, which keeps it alive while it is up.
  struct Constructible : Alert {};
  return std::make_shared<Constructible>();
}

std::shared_ptr<Alert> Alert::alertWithNonRecoverableError(const Error& error) {
  std::shared_ptr<Alert> alert = create();
  alert->setMessageText(error.description);
  alert->setInformativeText(error.recoverySuggestion);
  if (!error.recoveryOptions.empty()) alert->addButtonWithTitle(error.recoveryOptions.front());
  return alert;
}

int Alert::addButtonWithTitle(const std::string& title) {
  buttons_.push_back(title);
  return FirstButtonReturn + static_cast<int>(buttons_.size()) - 1;
}

void Alert::addAccessoryTextField(const std::string& initialText) {
  hasTextField_ = true;
  text_ = initialText;
}

std::string Alert::accessoryText() const { return entry_ ? std::string(entry_->get_text()) : text_; }

void Alert::build(Gtk::Window* parent) {
  const Gtk::MessageType type = style_ == AlertStyle::Informational ? Gtk::MESSAGE_INFO
                                : style_ == AlertStyle::Critical    ? Gtk::MESSAGE_ERROR
                                                                    : Gtk::MESSAGE_WARNING;
  auto dialog = std::make_unique<Gtk::MessageDialog>(message_, false, type, Gtk::BUTTONS_NONE, true);
  if (!informative_.empty()) dialog->set_secondary_text(informative_);
  if (buttons_.empty()) buttons_.push_back("OK");
  // GTK puts the last-added button at the trailing end, where AppKit puts the first.
  for (auto i = buttons_.size(); i-- > 0;) dialog->add_button(buttons_[i], static_cast<int>(i));
  dialog->set_default_response(0);
  if (hasTextField_) {
    entry_ = Gtk::make_managed<Gtk::Entry>();
    entry_->set_text(text_);
    entry_->set_activates_default(true);
    dialog->get_message_area()->pack_end(*entry_);
    entry_->show();
  }
  // The window the user works in is the one the alert concerns: the window it was asked for may lie beneath one
  // shown since, which a modal alert on it would leave dead to the user's clicks.
  if (Gtk::Window* front = frontWindow()) parent = front;
  if (parent) dialog->set_transient_for(*parent);
  dialog->set_modal(true);
  dialog_ = std::move(dialog);
}

int Alert::answerFor(int gtkResponse) const {
  if (gtkResponse >= 0 && gtkResponse < static_cast<int>(buttons_.size())) return FirstButtonReturn + gtkResponse;
  // Escape or the close button: the Cancel button's answer, else the last button's.
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i] == "Cancel") return FirstButtonReturn + static_cast<int>(i);
  }
  return FirstButtonReturn + static_cast<int>(buttons_.size()) - 1;
}

void Alert::beginSheet(Window& window, std::function<void(int response)> completion) {
  build(&window.gtkWindow());
  std::shared_ptr<Alert> self = shared_from_this();
  dialog_->signal_response().connect([self, completion = std::move(completion)](int gtkResponse) {
    const int answer = self->answerFor(gtkResponse);
    self->text_ = self->accessoryText();
    self->dialog_->hide();
    // The dialog is dropped and the handler run once GTK has finished with the response.
    dispatchAsync([self, completion, answer] {
      self->entry_ = nullptr;
      self->dialog_.reset();
      if (completion) completion(answer);
    });
  });
  dialog_->show();
}

void Alert::runModalWithOK(const std::string& message, const std::string& informative) {
  const std::shared_ptr<Alert> alert = create();
  alert->setMessageText(message);
  alert->setInformativeText(informative);
  alert->addButtonWithTitle("OK");
  alert->runModal();
}

int Alert::runModal() {
  build(nullptr);
  const int answer = answerFor(dialog_->run());
  text_ = accessoryText();
  entry_ = nullptr;
  dialog_.reset();
  return answer;
}

}  // namespace platform
