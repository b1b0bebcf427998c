#pragma once

// A non-editable NSTextField used as a label.

#include <gtkmm/label.h>

#include <string>

#include "platform/ui/view.h"

namespace platform {

class Label : public View {
 public:
  Label(Rect frame, const std::string& text);

  std::string stringValue() const { return label_->get_text(); }
  void setStringValue(const std::string& text) { label_->set_text(text); }
  Gtk::Label& gtkLabel() { return *label_; }

 private:
  Gtk::Label* label_;  // managed
};

}  // namespace platform
