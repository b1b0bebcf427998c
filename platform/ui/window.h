#pragma once

// NSWindow: a top-level GTK window whose content is a view hierarchy. A window that another program destroys
// (its X window, from outside) is made anew, with the same content, rather than lost with every use of it after.

#include <gtkmm/box.h>
#include <gtkmm/window.h>

#include <memory>
#include <string>

#include "platform/core/geometry.h"
#include "platform/ui/view_host.h"

namespace platform {

class MenuBar;
class View;

class Window : public sigc::trackable {
 public:
  // A window whose content area is `contentSize`, with an empty content view.
  explicit Window(Size contentSize, const std::string& title = {});
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  void setContentView(std::shared_ptr<View> view);
  View* contentView() const { return host_->contentView(); }
  bool makeFirstResponder(View* view) { return host_->makeFirstResponder(view); }
  View* firstResponder() const { return host_->firstResponder(); }
  void sendEvent(const Event& event) { host_->sendEvent(event); }

  // The menu bar shown above the content, whose key equivalents come before the first responder's keys.
  // The window keeps it alive; null removes it.
  void setMainMenu(std::shared_ptr<MenuBar> menu);
  MenuBar* mainMenu() const { return mainMenu_.get(); }

  void setTitle(const std::string& title);
  std::string title() const;
  // makeKeyAndOrderFront / orderOut.
  void show();
  void hide();
  bool isVisible() const;

  Gtk::Window& gtkWindow() { return *window_; }
  ViewHost& host() { return *host_; }

 private:
  void focusViewsIfNothingHasFocus();
  // After another program destroyed the X window: GTK drops the dead one, and a window that was shown shows a new one.
  void remakeDestroyedWindow();

  std::shared_ptr<MenuBar> mainMenu_;
  std::unique_ptr<Gtk::Window> window_;
  Gtk::Box* box_;   // managed by window_
  ViewHost* host_;  // managed by window_
};

}  // namespace platform
