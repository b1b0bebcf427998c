#include "ui/CMToolbarButton.h"

#include <gtkmm/cssprovider.h>

#include "platform/core/numeric.h"

namespace {

// The theme's padding and minimum size would push the picture out of a button no bigger than it.
const Glib::RefPtr<Gtk::CssProvider>& bareButtonStyle() {
  static const Glib::RefPtr<Gtk::CssProvider> style = [] {
    Glib::RefPtr<Gtk::CssProvider> provider = Gtk::CssProvider::create();
    provider->load_from_data("button { padding: 0; min-width: 0; min-height: 0; border-width: 0; }");
    return provider;
  }();
  return style;
}

Glib::RefPtr<Gdk::Pixbuf> scaledTo(const Glib::RefPtr<Gdk::Pixbuf>& image, platform::Size size) {
  const int width = platform::saturatingTruncate<int>(size.width);
  const int height = platform::saturatingTruncate<int>(size.height);
  if (!image || width < 1 || height < 1) return image;
  if (image->get_width() == width && image->get_height() == height) return image;
  return image->scale_simple(width, height, Gdk::INTERP_BILINEAR);
}

}  // namespace

CMToolbarButton::CMToolbarButton(platform::Rect frame, platform::ButtonType type) : Button(frame, type) {
  gtkButton().set_relief(Gtk::RELIEF_NONE);
  gtkButton().set_focus_on_click(false);
  gtkButton().get_style_context()->add_provider(bareButtonStyle(), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void CMToolbarButton::setImages(Glib::RefPtr<Gdk::Pixbuf> image, Glib::RefPtr<Gdk::Pixbuf> selectedImage) {
  image_ = std::move(image);
  selectedImage_ = std::move(selectedImage);
  showScaledImages();
}

void CMToolbarButton::setToolTip(const std::string& text) {
  toolTip_ = text;
  gtkButton().set_tooltip_text(text);
}

void CMToolbarButton::setKeyEquivalent(std::string key, std::uint64_t modifiers) {
  keyEquivalent_ = std::move(key);
  keyEquivalentModifiers_ = modifiers;
}

void CMToolbarButton::resizeSubviewsWithOldSize(platform::Size oldSize) {
  Button::resizeSubviewsWithOldSize(oldSize);
  showScaledImages();
}

void CMToolbarButton::showScaledImages() {
  // The pictures fill the button whatever size the strip gives it.
  const platform::Size size = frame().size;
  setImage(scaledTo(image_, size));
  setAlternateImage(scaledTo(selectedImage_, size));
}
