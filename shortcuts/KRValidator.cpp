#include "shortcuts/KRValidator.h"

#include <glib.h>

#include "platform/core/log.h"
#include "platform/core/string_utilities.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_bar.h"
#include "shortcuts/KRCommon.h"
#include "shortcuts/KRSystemHotKeys.h"
#include "shortcuts/KSShortcutValidator.h"

namespace {

constexpr std::uint32_t kCarbonModifiers =
    kr_flags::CarbonCommand | kr_flags::CarbonShift | kr_flags::CarbonOption | kr_flags::CarbonControl;

platform::Error refusal(std::uint32_t flags, std::int64_t code, std::string suggestion) {
  platform::Error error = platform::Error::make(
      platform::Error::cocoaDomain, 0,
      platform::formatObjects(KRLocalizedString("The key combination %@ can't be used!"),
                              {KRKeyComboStringForCarbonFlags(flags, code)}));
  error.recoverySuggestion = std::move(suggestion);
  error.recoveryOptions = {"OK"};
  return error;
}

}  // namespace

bool KRValidatorDelegate::shortcutValidatorIsKeyCodeAndFlagsTaken(KRValidator&, std::int64_t, std::uint64_t,
                                                                  std::optional<std::string>&) {
  return false;
}

bool KRValidator::isKeyCodeAndFlagsTaken(std::int64_t code, std::uint32_t flags, platform::Error* error) {
  if (delegate_) {
    std::optional<std::string> reason;
    if (delegate_->shortcutValidatorIsKeyCodeAndFlagsTaken(*this, code, KRCarbonToCocoaFlags(flags), reason)) {
      if (error) {
        const std::string why = reason && !reason->empty() ? *reason : "it's already used";
        *error = refusal(flags, code,
                         platform::formatObjects(KRLocalizedString("The key combination \"%@\" can't be used because %@."),
                                                 {KRReadableKeyComboForCarbonFlags(flags, code), why}));
      }
      return true;
    }
  }
  KRSystemHotKeys::List system = KRSystemHotKeys::copy();
  if (!system) {
    // Refusing everything would leave nothing to record: an unreadable list counts as empty.
    platform::logWarning("The desktop's keyboard shortcuts cannot be read; combinations are not checked against them");
    system.emplace();
  }
  for (const KRSystemHotKey& hotKey : *system) {
    if (!hotKey.enabled) continue;
    const auto name = KRKeyNameForKeyCode(code);
    if (!name || name->empty()) return true;
    if (hotKey.code == code && (static_cast<std::uint32_t>(hotKey.modifiers) & kCarbonModifiers) ==
                                   (flags & kCarbonModifiers)) {
      if (error) {
        *error = refusal(
            flags, code,
            platform::formatObjects(
                KRLocalizedString("The key combination \"%@\" can't be used because it's already used by a "
                                  "system-wide keyboard shortcut. (If you really want to use this key combination, "
                                  "most shortcuts can be changed in the Keyboard & Mouse panel in System "
                                  "Preferences.)"),
                {KRReadableKeyComboForCarbonFlags(flags, code)}));
      }
      return true;
    }
  }
  const platform::MenuBar* mainMenu = platform::MenuBar::mainMenu();
  if (!mainMenu) return false;
  for (const auto& menu : mainMenu->menus()) {
    if (isKeyCodeAndFlagsTakenInMenu(code, flags, *menu, error)) return true;
  }
  return false;
}

bool KRValidator::isKeyCodeAndFlagsTakenInMenu(std::int64_t code, std::uint32_t flags, const platform::Menu& menu,
                                               platform::Error* error) {
  if (code < 0) return false;
  const KSShortcut shortcut(static_cast<std::uint64_t>(code), KRCarbonToCocoaFlags(flags));
  const platform::MenuItem* item = KSShortcutValidator::menuItemTakingShortcut(shortcut, menu);
  if (!item) return false;
  if (error) {
    *error = refusal(flags, code,
                     platform::formatObjects(
                         KRLocalizedString("The key combination \"%@\" can't be used because it's already used by "
                                           "the menu item \"%@\"."),
                         {KRReadableKeyComboForCarbonFlags(flags, code), item->title()}));
  }
  return true;
}
