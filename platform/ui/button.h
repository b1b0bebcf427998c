#pragma once

// NSButton in the kinds the panels use: a momentary push button, an on/off
// (toggle) button that may show an alternate image while on, and a check box.
// state() is 0 or 1; setState never sends the action.

#include <gdkmm/pixbuf.h>
#include <gtkmm/image.h>
#include <gtkmm/togglebutton.h>

#include <string>

#include "platform/ui/control.h"

namespace platform {

enum class ButtonType { MomentaryPush, Toggle, Switch };

class Button : public Control {
 public:
  Button(Rect frame, ButtonType type, const std::string& title = {});

  ButtonType type() const { return type_; }
  int state() const;
  void setState(int state);
  std::string title() const;
  void setTitle(const std::string& title);
  // The image shown while off (or always, for a momentary button) and while on.
  void setImage(Glib::RefPtr<Gdk::Pixbuf> image);
  void setAlternateImage(Glib::RefPtr<Gdk::Pixbuf> image);

  // The GTK button, for tests that click it.
  Gtk::Button& gtkButton() { return *button_; }

 private:
  void showImageForState();

  ButtonType type_;
  Gtk::Button* button_ = nullptr;  // managed
  Gtk::Image* image_ = nullptr;    // managed
  Glib::RefPtr<Gdk::Pixbuf> offImage_;
  Glib::RefPtr<Gdk::Pixbuf> onImage_;
};

}  // namespace platform
