#include "ui/CMTextEditWindow.h"

#include <utility>

#include "document/CMDocument.h"
#include "platform/core/main_queue.h"
#include "platform/ui/alert.h"
#include "platform/ui/button.h"
#include "platform/ui/text_field.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace {

constexpr double kWidth = 320;
constexpr double kHeight = 96;

}  // namespace

CMTextEditWindow::CMTextEditWindow()
    : window_(std::make_unique<platform::Window>(platform::Size{kWidth, kHeight}, "Rename")),
      textField_(std::make_shared<platform::TextField>(platform::Rect{20, 52, kWidth - 40, 24})),
      okButton_(std::make_shared<platform::Button>(platform::Rect{kWidth - 100, 12, 80, 28},
                                                   platform::ButtonType::MomentaryPush, "OK")),
      cancelButton_(std::make_shared<platform::Button>(platform::Rect{kWidth - 190, 12, 80, 28},
                                                       platform::ButtonType::MomentaryPush, "Cancel")) {
  platform::View& content = *window_->contentView();
  content.addSubview(textField_);
  content.addSubview(cancelButton_);
  content.addSubview(okButton_);
  // Return in the field answers OK, as the sheet's default button.
  textField_->gtkEntry().signal_activate().connect([this] { OnOK(); });
  okButton_->setAction([this](platform::Control&) { OnOK(); });
  cancelButton_->setAction([this](platform::Control&) { OnClose(); });
  Gtk::Window& gtkWindow = window_->gtkWindow();
  gtkWindow.set_resizable(false);
  gtkWindow.signal_delete_event().connect([this](GdkEventAny*) {
    OnClose();
    return true;
  });
}

CMTextEditWindow::~CMTextEditWindow() = default;

void CMTextEditWindow::setLayerData(platform::DictRef record, std::shared_ptr<CMDocument> document) {
  record_ = std::move(record);
  document_ = std::move(document);
  const platform::Value name = record_ ? record_->get("name") : platform::Value();
  textField_->setStringValue(name.isString() ? name.string()
                                             : "Layer" + std::to_string(record_ ? record_->get("id").intValue() : 0));
}

void CMTextEditWindow::beginSheet(platform::Window* parent, std::function<void()> didEnd) {
  didEnd_ = std::move(didEnd);
  Gtk::Window& gtkWindow = window_->gtkWindow();
  gtkWindow.set_modal(true);
  if (parent) {
    gtkWindow.set_transient_for(parent->gtkWindow());
    gtkWindow.set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  }
  open_ = true;
  window_->show();
  textField_->gtkEntry().grab_focus();
}

void CMTextEditWindow::OnOK() {
  if (!open_) return;
  const std::string name = textField_->stringValue();
  if (name.empty()) {
    alert_ = platform::Alert::create();
    alert_->setMessageText("Error");
    alert_->setInformativeText(kEmptyNameMessage);
    alert_->addButtonWithTitle("OK");
    alert_->beginSheet(*window_, [this](int) { alert_.reset(); });
    return;
  }
  if (record_ && document_) {
    document_->undoManager().regUndoLayers(kCMUndoEditing, {record_});
    record_->set("name", name);
  }
  endSheet();
}

void CMTextEditWindow::OnClose() { endSheet(); }

void CMTextEditWindow::endSheet() {
  if (!open_) return;
  open_ = false;
  window_->hide();
  // Told once the button's handler has returned: the one told may drop this window.
  if (didEnd_) platform::dispatchAsync(std::exchange(didEnd_, nullptr));
}
