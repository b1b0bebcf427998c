#include "platform/ui/text_view.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/stylecontext.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/ui/view_widget.h"

namespace platform {

namespace {

// CSS numbers always with a dot, whatever the locale GTK set up.
std::string cssNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  return std::string(buffer, result.ptr);
}

std::string cssString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c != '\n' && c != '\r') quoted += c;
  }
  return quoted + "\"";
}

int colourByte(double component) {
  const double clamped = std::isfinite(component) ? std::clamp(component, 0.0, 1.0) : 0.0;
  return static_cast<int>(std::lround(clamped * 255));
}

}  // namespace

TextView::TextView(Rect frame)
    : View(frame),
      scroll_(Gtk::make_managed<Gtk::ScrolledWindow>()),
      text_(Gtk::make_managed<Gtk::TextView>()),
      style_(Gtk::CssProvider::create()) {
  // Scrolls with the caret but shows no scroll bars: the editor is sized to the text, which leaves them no room.
  scroll_->set_policy(Gtk::POLICY_EXTERNAL, Gtk::POLICY_EXTERNAL);
  scroll_->add(*text_);
  text_->show();
  text_->get_style_context()->add_provider(style_, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  changed_ = text_->get_buffer()->signal_changed().connect([this] {
    ViewWidget::HandlerScope scope(viewWidget());
    if (textDidChange_) textDidChange_(*this);
  });
  text_->signal_key_press_event().connect(
      [this](GdkEventKey* key) {
        if (key->keyval != GDK_KEY_Escape || !cancelOperation_) return false;
        ViewWidget::HandlerScope scope(viewWidget());
        cancelOperation_(*this);
        return true;
      },
      false);
  setContentWidget(*scroll_);
  applyStyle();
}

TextView::~TextView() { changed_.disconnect(); }

std::string TextView::string() const { return text_->get_buffer()->get_text(); }

void TextView::setString(const std::string& text) {
  changed_.block();
  text_->get_buffer()->set_text(text);
  changed_.unblock();
}

void TextView::setFont(const Font& font) {
  font_ = font;
  applyStyle();
}

void TextView::setTextColor(const Color& color) {
  color_ = color;
  applyStyle();
}

void TextView::focus() { text_->grab_focus(); }

void TextView::selectAll() {
  const Glib::RefPtr<Gtk::TextBuffer> buffer = text_->get_buffer();
  buffer->select_range(buffer->begin(), buffer->end());
}

void TextView::applyStyle() {
  std::string css = "textview, textview text { color: rgba(" + std::to_string(colourByte(color_.red())) + "," +
                    std::to_string(colourByte(color_.green())) + "," + std::to_string(colourByte(color_.blue())) +
                    "," + cssNumber(std::isfinite(color_.alpha()) ? std::clamp(color_.alpha(), 0.0, 1.0) : 1.0) +
                    ");";
  if (font_) {
    const PangoFontDescription* description = font_->description();
    css += " font-family: " + cssString(font_->familyName()) + "; font-size: " + cssNumber(font_->pointSize()) +
           "px; font-weight: " + std::to_string(std::clamp(static_cast<int>(pango_font_description_get_weight(description)), 100, 900)) +
           "; font-style: " +
           (pango_font_description_get_style(description) == PANGO_STYLE_NORMAL ? "normal" : "italic") + ";";
  }
  try {
    style_->load_from_data(css + " }");
  } catch (const Glib::Error&) {
    // A family name CSS cannot take leaves the previous look.
  }
}

}  // namespace platform
