#include "platform/ui/button.h"

#include <gtkmm/checkbutton.h>

namespace platform {

Button::Button(Rect frame, ButtonType type, const std::string& title) : Control(frame), type_(type) {
  switch (type) {
    case ButtonType::MomentaryPush:
      button_ = Gtk::make_managed<Gtk::Button>(title);
      break;
    case ButtonType::Toggle:
      button_ = Gtk::make_managed<Gtk::ToggleButton>(title);
      break;
    case ButtonType::Switch:
      button_ = Gtk::make_managed<Gtk::CheckButton>(title);
      break;
  }
  setContent(*button_);
  if (type == ButtonType::MomentaryPush) {
    keepConnection(button_->signal_clicked().connect([this] { userDidChange(); }));
  } else {
    auto* toggle = static_cast<Gtk::ToggleButton*>(button_);
    // Image swapping follows every change, the action only the user's.
    toggle->signal_toggled().connect([this] { showImageForState(); });
    keepConnection(toggle->signal_toggled().connect([this] { userDidChange(); }));
  }
}

int Button::state() const {
  if (type_ == ButtonType::MomentaryPush) return 0;
  return static_cast<Gtk::ToggleButton*>(button_)->get_active() ? 1 : 0;
}

void Button::setState(int state) {
  if (type_ == ButtonType::MomentaryPush) return;
  auto blocked = guard();
  static_cast<Gtk::ToggleButton*>(button_)->set_active(state != 0);
}

std::string Button::title() const { return button_->get_label(); }

void Button::setTitle(const std::string& title) { button_->set_label(title); }

void Button::setImage(Glib::RefPtr<Gdk::Pixbuf> image) {
  offImage_ = std::move(image);
  showImageForState();
}

void Button::setAlternateImage(Glib::RefPtr<Gdk::Pixbuf> image) {
  onImage_ = std::move(image);
  showImageForState();
}

void Button::showImageForState() {
  const Glib::RefPtr<Gdk::Pixbuf>& wanted = state() == 1 && onImage_ ? onImage_ : offImage_;
  if (!wanted) return;
  if (!image_) {
    image_ = Gtk::make_managed<Gtk::Image>();
    button_->set_image(*image_);
    button_->set_always_show_image(true);
    if (type_ != ButtonType::Switch) button_->set_relief(Gtk::RELIEF_NONE);
  }
  if (image_->get_pixbuf() != wanted) image_->set(wanted);
}

}  // namespace platform
