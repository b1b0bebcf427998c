#pragma once

// Whether a shortcut may be recorded (it needs a modifier that makes it a
// shortcut), and whether a desktop shortcut or a menu item already has it.

#include <string>

#include "shortcuts/KSShortcut.h"

namespace platform {
class Menu;
class MenuItem;
}  // namespace platform

class KSShortcutValidator {
 public:
  static KSShortcutValidator& sharedValidator();

  bool allowAnyShortcutWithOptionModifier() const { return allowAnyOption_; }
  void setAllowAnyShortcutWithOptionModifier(bool allow) { allowAnyOption_ = allow; }

  bool isShortcutValid(const KSShortcut& shortcut) const;
  // A desktop shortcut or, failing that, the application's main menu; `explanation` says which when given.
  bool isShortcutAlreadyTakenBySystem(const KSShortcut& shortcut, std::string* explanation) const;
  bool isShortcutAlreadyTakenInMenu(const KSShortcut& shortcut, const platform::Menu& menu,
                                    std::string* explanation) const;
  // The first item of the menu or of its submenus, at any depth, that any of its key equivalents gives the
  // shortcut; null when none does.
  static const platform::MenuItem* menuItemTakingShortcut(const KSShortcut& shortcut, const platform::Menu& menu);

 private:
  bool allowAnyOption_ = false;
};
