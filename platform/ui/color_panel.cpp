#include "platform/ui/color_panel.h"

#include <gtkmm/colorchooserdialog.h>

namespace platform {

ColorPanel& ColorPanel::shared() {
  static ColorPanel panel;
  return panel;
}

ColorPanel::ColorPanel() : dialog_(std::make_unique<Gtk::ColorChooserDialog>("Colors")) {
  dialog_->set_modal(false);
  dialog_->set_use_alpha(false);
  dialog_->property_show_editor() = true;
  // The editor reports each change while the user drags in it; a choice from the palette comes as its response.
  dialog_->property_rgba().signal_changed().connect([this] { colorChanged(); });
  dialog_->signal_response().connect([this](int response) {
    if (response == Gtk::RESPONSE_OK) colorChanged();
    close();
  });
  dialog_->signal_delete_event().connect([this](GdkEventAny*) {
    close();
    return true;
  });
}

ColorPanel::~ColorPanel() = default;

Color ColorPanel::color() const {
  const Gdk::RGBA rgba = dialog_->get_rgba();
  return Color::calibrated(rgba.get_red(), rgba.get_green(), rgba.get_blue(), 1);
}

void ColorPanel::setColor(const Color& color) {
  Gdk::RGBA rgba;
  rgba.set_rgba(color.red(), color.green(), color.blue(), 1);
  settingColor_ = true;
  dialog_->set_rgba(rgba);
  settingColor_ = false;
  reported_ = this->color();
}

void ColorPanel::setTarget(const void* target, Action action) {
  target_ = target;
  action_ = target ? std::move(action) : nullptr;
}

void ColorPanel::colorChanged() {
  // GTK tells of one change more than once.
  const Color current = color();
  if (settingColor_ || current == reported_) return;
  reported_ = current;
  if (!action_) return;
  // The action may clear or replace the target.
  const Action action = action_;
  action(*this);
}

void ColorPanel::orderFront(Gtk::Window* parent) {
  if (parent) dialog_->set_transient_for(*parent);
  // Mapped, the dialog goes back to its palette and may pick a colour of its own there: nobody chose that one.
  const Color shown = color();
  settingColor_ = true;
  dialog_->present();
  // The editor is what this panel shows.
  dialog_->property_show_editor() = true;
  settingColor_ = false;
  setColor(shown);
}

void ColorPanel::close() {
  const bool wasVisible = dialog_->get_visible();
  dialog_->hide();
  if (wasVisible && closeHandler_) {
    const std::function<void()> handler = closeHandler_;
    handler();
  }
}

bool ColorPanel::isVisible() const { return dialog_->get_visible(); }

}  // namespace platform
