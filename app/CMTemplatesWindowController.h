#pragma once

// The templates window: the program's and the user's templates as
// thumbnails; the chosen one (or none) starts a new document.

#include <gdkmm/pixbuf.h>
#include <gtkmm/flowbox.h>
#include <gtkmm/togglebutton.h>

#include <cairomm/context.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

namespace Gtk {
class Button;
class Window;
}  // namespace Gtk

// A template's toggle: its thumbnail, upright, scaled to half the button in the button's top-left corner;
// faded over grey while pressed or on.
class CMTemplateItemButton : public Gtk::ToggleButton {
 public:
  explicit CMTemplateItemButton(Glib::RefPtr<Gdk::Pixbuf> image);
  const Glib::RefPtr<Gdk::Pixbuf>& image() const { return image_; }
  // The image's rectangle in a button of that size, from its top-left corner.
  static platform::Rect imageRect(platform::Size bounds, platform::Size image);
  // Draws the button as it shows: grey 0.5 under the half-opaque image while pressed, 0.7 while on.
  static void draw(const Cairo::RefPtr<Cairo::Context>& cr, platform::Size bounds,
                   const Glib::RefPtr<Gdk::Pixbuf>& image, bool highlighted, bool on);

 protected:
  bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;

 private:
  Glib::RefPtr<Gdk::Pixbuf> image_;
  bool pressed_ = false;
};

// One template: its 100 × 100 button in a 140 × 140 item.
class CMTemplateItemPrototype {
 public:
  CMTemplateItemPrototype(platform::DictRef record, const std::filesystem::path& supportFolder);
  const platform::DictRef& representedObject() const { return record_; }
  CMTemplateItemButton& button() const { return *button_; }
  // The thumbnail: the support folder's file, else the resource of that name; null without either.
  static Glib::RefPtr<Gdk::Pixbuf> thumbnail(const platform::DictRef& record, const std::filesystem::path& supportFolder);

 private:
  platform::DictRef record_;
  CMTemplateItemButton* button_;  // managed by the flow box once added
};

class CMTemplatesWindowController {
 public:
  static constexpr int kLastResourceNumber = 999;

  static CMTemplatesWindowController& sharedTemplate();
  CMTemplatesWindowController();
  ~CMTemplatesWindowController();

  Gtk::Window& window();
  void showWindow();
  void loadItems();
  void updateTemplates();
  // Told when the window is closed by the user.
  void setDelegate(std::function<void()> didClose) { delegate_ = std::move(didClose); }

  void OnCreateDocument();
  void OnClose();
  void OnSelectTemplate();
  // Only one item is on at a time.
  void OnPressButton(CMTemplateItemPrototype& pressed);
  // A sample drawing ("Samples/<name>.vard") as a new untitled document; its file stays as it is.
  void loadSample(const std::string& name);

  const platform::ArrayRef& templates() const { return templates_; }
  const std::vector<std::unique_ptr<CMTemplateItemPrototype>>& items() const { return items_; }
  Gtk::Button& createButton() const { return *create_; }

 private:
  void loadWindow();
  static Gtk::FlowBox* makeFlowBox();
  // A new document from the root record (a plain one for null); once it is made the window goes away.
  void makeDocument(const platform::DictRef& root);

  std::unique_ptr<Gtk::Window> window_;
  Gtk::FlowBox* flowBox_ = nullptr;  // managed
  Gtk::Button* create_ = nullptr;    // managed
  platform::ArrayRef templates_;
  std::vector<std::unique_ptr<CMTemplateItemPrototype>> items_;
  std::function<void()> delegate_;
};
