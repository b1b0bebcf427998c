#pragma once

// NSMenu and NSMenuItem: titled items with an action, a tag, a check state and
// a key equivalent. Before the menu shows, and again before a key equivalent
// fires, each item's validator decides whether it is enabled (and may retitle
// it), as validateMenuItem: does, so a shortcut never runs a command whose
// preconditions no longer hold.

#include <gtkmm/checkmenuitem.h>
#include <gtkmm/menu.h>
#include <gtkmm/window.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/event.h"

namespace platform {

struct KeyEquivalent {
  std::string key;  // as charactersIgnoringModifiers gives it, compared without case; empty for none
  ModifierFlags modifiers = modifier::Command;
};

class MenuItem {
 public:
  using Action = std::function<void(MenuItem& sender)>;
  using Validator = std::function<bool(MenuItem& item)>;

  MenuItem(const std::string& title, Action action, KeyEquivalent keyEquivalent);

  std::string title() const;
  void setTitle(const std::string& title);
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  // 0 off, 1 on (a check mark). Setting it sends nothing.
  int state() const;
  void setState(int state);
  bool isEnabled() const;
  void setEnabled(bool enabled);
  const KeyEquivalent& keyEquivalent() const { return keyEquivalent_; }
  // A further key that chooses the item, not shown beside its title (Zoom In's "=" beside its "+").
  void addKeyEquivalent(KeyEquivalent keyEquivalent) { moreKeyEquivalents_.push_back(std::move(keyEquivalent)); }
  const std::vector<KeyEquivalent>& moreKeyEquivalents() const { return moreKeyEquivalents_; }
  void setValidator(Validator validator) { validator_ = std::move(validator); }

  // Asks the validator (enabled without one) and applies the answer; returns it.
  bool validate();
  // Sends the action as a choice of the item does.
  void perform();
  bool matches(const Event& keyDown) const;

  Gtk::CheckMenuItem& gtkItem() { return *item_; }

 private:
  Gtk::CheckMenuItem* item_;  // managed by the menu it is added to
  sigc::connection activation_;
  Action action_;
  Validator validator_;
  KeyEquivalent keyEquivalent_;
  std::vector<KeyEquivalent> moreKeyEquivalents_;
  int tag_ = 0;
};

class Menu {
 public:
  Menu();
  ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  MenuItem& addItem(const std::string& title, MenuItem::Action action, KeyEquivalent keyEquivalent = {});
  void addSeparator();
  // An item that opens a menu of its own, owned by this one.
  Menu& addSubmenu(const std::string& title);
  const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
  const std::vector<std::unique_ptr<Menu>>& submenus() const { return submenus_; }
  MenuItem* itemWithTag(int tag) const;

  // Validates every item (also done whenever the menu shows).
  void update();
  // The first item whose key equivalent matches, if it validates, is performed (submenus' items after this
  // menu's own); returns whether one was.
  bool performKeyEquivalent(const Event& keyDown);
  // A context menu at the pointer, from an event handler or from the main queue alike. Nothing shows when the
  // pointer is over no window of the program and the menu is attached to none.
  void popUpAtPointer();
  // The window from whose event a menu open now was shown at the pointer; null when no menu is open or it was
  // shown from outside an event.
  static Gtk::Window* windowOfOpenMenu();

  Gtk::Menu& gtkMenu() { return *menu_; }

 private:
  std::unique_ptr<Gtk::Menu> menu_;
  std::vector<std::unique_ptr<MenuItem>> items_;
  std::vector<std::unique_ptr<Menu>> submenus_;
};

}  // namespace platform
