#pragma once

// The shared colour panel (NSColorPanel): one non-modal colour dialog for the whole program, its editor shown and
// without alpha. Whoever binds it with setTarget is told of every colour the user picks until another target takes
// it or the target is cleared; the close handler is told when the user closes it.

#include <functional>
#include <memory>

#include "platform/graphics/color.h"

namespace Gtk {
class ColorChooserDialog;
class Window;
}  // namespace Gtk

namespace platform {

class ColorPanel {
 public:
  using Action = std::function<void(ColorPanel& sender)>;

  static ColorPanel& shared();
  ~ColorPanel();
  ColorPanel(const ColorPanel&) = delete;
  ColorPanel& operator=(const ColorPanel&) = delete;

  Color color() const;
  // Shows the colour; tells no target.
  void setColor(const Color& color);
  // The target is only compared (who holds the panel); the action is what is called. Null clears both.
  void setTarget(const void* target, Action action);
  const void* target() const { return target_; }
  void setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }
  // Shows the dialog above `parent` (may be null) without taking the pointer from the other windows.
  void orderFront(Gtk::Window* parent);
  // Hides the dialog as the user's closing does.
  void close();
  bool isVisible() const;
  Gtk::ColorChooserDialog& dialog() { return *dialog_; }

 private:
  ColorPanel();
  void colorChanged();

  std::unique_ptr<Gtk::ColorChooserDialog> dialog_;
  const void* target_ = nullptr;
  Action action_;
  std::function<void()> closeHandler_;
  bool settingColor_ = false;
  Color reported_;
};

}  // namespace platform
