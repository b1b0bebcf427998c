#include "shortcuts/KSShortcutValidator.h"

#include <glib.h>

#include <algorithm>
#include <array>

#include "platform/core/string_utilities.h"
#include "platform/core/strings_table.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_bar.h"
#include "shortcuts/KRCommon.h"
#include "shortcuts/KRSystemHotKeys.h"

namespace {

// F1 to F20: shortcuts even without a modifier.
constexpr std::array<std::uint64_t, 20> kFunctionKeyCodes{122, 120, 99, 118, 96, 97, 98, 100, 101, 109,
                                                           103, 111, 105, 107, 113, 106, 64, 79, 80, 90};
constexpr std::uint64_t kSpaceCode = 49;
constexpr std::uint64_t kEscapeCode = 53;

}  // namespace

KSShortcutValidator& KSShortcutValidator::sharedValidator() {
  static KSShortcutValidator* validator = new KSShortcutValidator();  // lives as long as the process
  return *validator;
}

bool KSShortcutValidator::isShortcutValid(const KSShortcut& shortcut) const {
  if (std::find(kFunctionKeyCodes.begin(), kFunctionKeyCodes.end(), shortcut.keyCode()) != kFunctionKeyCodes.end()) {
    return true;
  }
  const std::uint64_t flags = shortcut.modifierFlags();
  if (flags == 0) return false;
  if (flags & (kr_flags::Command | kr_flags::Control)) return true;
  if (!(flags & kr_flags::Option)) return false;
  return shortcut.keyCode() == kSpaceCode || shortcut.keyCode() == kEscapeCode || allowAnyOption_;
}

bool KSShortcutValidator::isShortcutAlreadyTakenBySystem(const KSShortcut& shortcut, std::string* explanation) const {
  // An unreadable list takes nothing.
  if (const KRSystemHotKeys::List system = KRSystemHotKeys::copy()) {
    for (const KRSystemHotKey& hotKey : *system) {
      if (!hotKey.enabled || static_cast<std::uint64_t>(hotKey.code) != shortcut.keyCode() ||
          static_cast<std::uint32_t>(hotKey.modifiers) != shortcut.carbonFlags()) {
        continue;
      }
      if (explanation) {
        *explanation = platform::localizedString(
            "This combination cannot be used because it is already used by a system-wide keyboard shortcut.\n"
            "If you really want to use this key combination, most shortcuts can be changed in the Keyboard & Mouse "
            "panel in System Preferences.");
      }
      return true;
    }
  }
  const platform::MenuBar* mainMenu = platform::MenuBar::mainMenu();
  if (!mainMenu) return false;
  for (const auto& menu : mainMenu->menus()) {
    if (isShortcutAlreadyTakenInMenu(shortcut, *menu, explanation)) return true;
  }
  return false;
}

bool KSShortcutValidator::isShortcutAlreadyTakenInMenu(const KSShortcut& shortcut, const platform::Menu& menu,
                                                       std::string* explanation) const {
  const platform::MenuItem* item = menuItemTakingShortcut(shortcut, menu);
  if (!item) return false;
  if (explanation) {
    *explanation = platform::formatObjects(
        platform::localizedString("This shortcut cannot be used because it is already used by the menu item \u2018%@\u2019."),
        {item->title()});
  }
  return true;
}

const platform::MenuItem* KSShortcutValidator::menuItemTakingShortcut(const KSShortcut& shortcut,
                                                                      const platform::Menu& menu) {
  const std::string wanted = shortcut.keyCodeStringForKeyEquivalent();
  const auto gives = [&](const platform::KeyEquivalent& equivalent) {
    // An item without a key equivalent has no shortcut to share.
    if (equivalent.key.empty()) return false;
    const std::string lower = KRLowercaseString(equivalent.key);
    // An upper-case equivalent stands for Shift.
    const std::uint64_t flags = equivalent.modifiers | (lower != equivalent.key ? kr_flags::Shift : 0);
    return lower == wanted && (flags & kr_flags::Modifiers) == shortcut.modifierFlags();
  };
  for (const auto& item : menu.items()) {
    if (gives(item->keyEquivalent())) return item.get();
    for (const platform::KeyEquivalent& more : item->moreKeyEquivalents())
      if (gives(more)) return item.get();
  }
  for (const auto& submenu : menu.submenus())
    if (const platform::MenuItem* found = menuItemTakingShortcut(shortcut, *submenu)) return found;
  return nullptr;
}
