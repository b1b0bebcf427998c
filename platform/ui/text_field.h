#pragma once

// NSTextField, editable: a Gtk::Entry whose action is sent when editing ends
// (Return, or focus leaving after a change), with an optional number format
// that validates the text then (invalid text reverts to the last value) and a
// text-did-change callback for each edit by the user.

#include <gtkmm/entry.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/control.h"
#include "platform/ui/number_format.h"

namespace platform {

class TextField : public Control {
 public:
  explicit TextField(Rect frame);

  std::string stringValue() const;
  void setStringValue(const std::string& text);
  // The formatted value: the number as the user typed it when it was committed, though the text shows it rounded
  // to the format's places; without a format, the text's leading number or 0.
  double doubleValue() const;
  void setDoubleValue(double value);
  void setNumberFormat(std::optional<NumberFormat> format);
  void setEditable(bool editable);
  // controlTextDidChange:
  void setTextDidChange(std::function<void(TextField&)> callback) { textDidChange_ = std::move(callback); }

  Gtk::Entry& gtkEntry() { return *entry_; }

 private:
  void endEditing();

  Gtk::Entry* entry_;  // managed
  std::optional<NumberFormat> format_;
  std::function<void(TextField&)> textDidChange_;
  std::string committed_;
  std::optional<double> typed_;  // what the committed text stands for, until the text is set otherwise
};

}  // namespace platform
