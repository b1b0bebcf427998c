#pragma once

// A tool or panel button: an on/off button showing its image scaled to its
// whole size, and its selected image while on (or pressed). It also carries
// the key equivalent its tooltip announces.

#include <cstdint>
#include <string>

#include "platform/ui/button.h"

class CMToolbarButton : public platform::Button {
 public:
  explicit CMToolbarButton(platform::Rect frame, platform::ButtonType type = platform::ButtonType::Toggle);

  // Null images are allowed: the button then shows no picture for that state.
  void setImages(Glib::RefPtr<Gdk::Pixbuf> image, Glib::RefPtr<Gdk::Pixbuf> selectedImage);
  const Glib::RefPtr<Gdk::Pixbuf>& selectedImage() const { return selectedImage_; }

  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(const std::string& text);
  const std::string& keyEquivalent() const { return keyEquivalent_; }
  std::uint64_t keyEquivalentModifierMask() const { return keyEquivalentModifiers_; }
  void setKeyEquivalent(std::string key, std::uint64_t modifiers);

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  void showScaledImages();

  Glib::RefPtr<Gdk::Pixbuf> image_;
  Glib::RefPtr<Gdk::Pixbuf> selectedImage_;
  std::string toolTip_;
  std::string keyEquivalent_;
  std::uint64_t keyEquivalentModifiers_ = 0;
};
