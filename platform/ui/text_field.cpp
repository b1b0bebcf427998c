#include "platform/ui/text_field.h"

#include <gtkmm/window.h>

#include <charconv>
#include <cmath>

#include "platform/ui/view_widget.h"

namespace platform {

TextField::TextField(Rect frame) : Control(frame), entry_(Gtk::make_managed<Gtk::Entry>()) {
  setContent(*entry_);
  keepConnection(entry_->signal_activate().connect([this] { endEditing(); }));
  keepConnection(entry_->signal_focus_out_event().connect([this](GdkEventFocus*) {
    if (entry_->get_text() != committed_) endEditing();
    return false;
  }));
  // The window's focus moving on to another widget (Tab) leaves the field too, also while the window itself is not
  // the active one, when GTK sends the field no focus-out. Focus taken away with nowhere to go (the field or its
  // window going away) commits nothing.
  keepConnection(entry_->property_is_focus().signal_changed().connect([this] {
    const auto* window = dynamic_cast<Gtk::Window*>(entry_->get_toplevel());
    const bool movedOn = window && window->get_focus() && !entry_->is_focus();
    if (movedOn && entry_->get_text() != committed_) endEditing();
  }));
  keepConnection(entry_->signal_changed().connect([this] {
    ViewWidget::HandlerScope scope(viewWidget());
    if (textDidChange_) textDidChange_(*this);
  }));
}

std::string TextField::stringValue() const { return entry_->get_text(); }

void TextField::setStringValue(const std::string& text) {
  auto blocked = guard();
  entry_->set_text(text);
  committed_ = text;
  typed_.reset();
}

double TextField::doubleValue() const {
  const std::string text = stringValue();
  if (typed_ && text == committed_) return *typed_;
  if (format_) return format_->parse(text).value_or(0);
  double value = 0;
  const char* begin = text.c_str();
  while (*begin == ' ') ++begin;
  const auto [end, error] = std::from_chars(begin, text.c_str() + text.size(), value);
  return error == std::errc() && std::isfinite(value) ? value : 0;
}

void TextField::setDoubleValue(double value) {
  if (format_) {
    setStringValue(format_->format(format_->clamp(value)));
    return;
  }
  NumberFormat plain;
  plain.maximumFractionDigits = 6;
  setStringValue(plain.format(value));
}

void TextField::setNumberFormat(std::optional<NumberFormat> format) { format_ = std::move(format); }

void TextField::setEditable(bool editable) { entry_->set_editable(editable); }

void TextField::endEditing() {
  std::string text = entry_->get_text();
  if (format_) {
    const std::optional<double> value = format_->parse(text);
    if (!value) {
      // Refused as NSNumberFormatter refuses: back to the last accepted text, nothing sent.
      setStringValue(committed_);
      return;
    }
    text = format_->format(*value);
    setStringValue(text);
    typed_ = value;
  }
  committed_ = text;
  userDidChange();
}

}  // namespace platform
