#include "platform/ui/menu_bar.h"

#include <gtkmm/menuitem.h>

namespace platform {

MenuBar::MenuBar() : bar_(std::make_unique<Gtk::MenuBar>()) {}

MenuBar::~MenuBar() {
  // The submenus belong to this object, not to the bar's items: detach them before either goes.
  for (Gtk::Widget* child : bar_->get_children()) {
    if (auto* item = dynamic_cast<Gtk::MenuItem*>(child)) item->unset_submenu();
  }
}

Menu& MenuBar::addMenu(const std::string& title) {
  menus_.push_back(std::make_unique<Menu>());
  auto* item = Gtk::make_managed<Gtk::MenuItem>(title);
  item->set_submenu(menus_.back()->gtkMenu());
  item->show();
  bar_->append(*item);
  return *menus_.back();
}

namespace {

std::weak_ptr<MenuBar>& applicationMainMenu() {
  static std::weak_ptr<MenuBar> menu;
  return menu;
}

}  // namespace

MenuBar* MenuBar::mainMenu() { return applicationMainMenu().lock().get(); }

void MenuBar::setMainMenu(const std::shared_ptr<MenuBar>& menu) { applicationMainMenu() = menu; }

bool MenuBar::performKeyEquivalent(const Event& keyDown) {
  for (const auto& menu : menus_) {
    if (menu->performKeyEquivalent(keyDown)) return true;
  }
  return false;
}

}  // namespace platform
