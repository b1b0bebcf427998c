#pragma once

// Whether a shortcut may be recorded (it needs a modifier that makes it a
// shortcut), and whether a desktop shortcut or a menu item already has it.

#include <string>

#include "shortcuts/KSShortcut.h"

namespace platform {
class Menu;
}

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

 private:
  bool allowAnyOption_ = false;
};
