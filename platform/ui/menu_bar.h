#pragma once

// The main menu: titled menus in a Gtk::MenuBar across the top of the window.
// Key equivalents go to the menus before the first responder sees the key, as
// NSApplication's performKeyEquivalent: does, each re-validated first.

#include <gtkmm/menubar.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/menu.h"

namespace platform {

class MenuBar {
 public:
  MenuBar();
  ~MenuBar();
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  Menu& addMenu(const std::string& title);
  const std::vector<std::unique_ptr<Menu>>& menus() const { return menus_; }
  bool performKeyEquivalent(const Event& keyDown);

  // NSApp's mainMenu: the bar a window took last and still shows (Window::setMainMenu), or null.
  static MenuBar* mainMenu();
  static void setMainMenu(const std::shared_ptr<MenuBar>& menu);

  Gtk::MenuBar& gtkMenuBar() { return *bar_; }

 private:
  std::unique_ptr<Gtk::MenuBar> bar_;
  std::vector<std::unique_ptr<Menu>> menus_;
};

}  // namespace platform
