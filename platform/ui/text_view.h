#pragma once

// NSTextView inside its NSScrollView: a multi-line, editable Gtk::TextView in a
// Gtk::ScrolledWindow, with one font and one colour for the whole text and a
// text-did-change callback for each change that is not made by setString.

#include <gtkmm/cssprovider.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/graphics/color.h"
#include "platform/graphics/font.h"
#include "platform/ui/view.h"

namespace platform {

class TextView : public View {
 public:
  explicit TextView(Rect frame);
  ~TextView() override;

  std::string string() const;
  // Replaces the text without a text-did-change callback, as AppKit's setString: does.
  void setString(const std::string& text);
  // The font's size is taken in view units (pixels at 100 %), not in screen points.
  void setFont(const Font& font);
  void setTextColor(const Color& color);
  // textDidChange:
  void setTextDidChange(std::function<void(TextView&)> callback) { textDidChange_ = std::move(callback); }
  // cancelOperation: Escape, which the text itself takes no further when this is set.
  void setCancelOperation(std::function<void(TextView&)> callback) { cancelOperation_ = std::move(callback); }
  // Gives the text the keyboard focus.
  void focus();
  // Selects the whole text, so typing replaces it.
  void selectAll();

  Gtk::TextView& gtkTextView() { return *text_; }

  // GTK's text view has already placed the caret or the selection for a press on it; the press is its own and goes
  // no further, as an NSTextView keeps its mouse-down.
  void mouseDown(const Event&) override {}
  void mouseDragged(const Event&) override {}
  void mouseUp(const Event&) override {}

 private:
  void applyStyle();

  Gtk::ScrolledWindow* scroll_;  // managed
  Gtk::TextView* text_;          // managed
  Glib::RefPtr<Gtk::CssProvider> style_;
  std::optional<Font> font_;
  Color color_ = Color::blackColor();
  sigc::connection changed_;
  std::function<void(TextView&)> textDidChange_;
  std::function<void(TextView&)> cancelOperation_;
};

}  // namespace platform
