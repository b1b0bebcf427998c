#include "shortcuts/KSShortcutBinder.h"

#include <memory>

#include "platform/core/log.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_controller.h"

using platform::Value;

KSShortcutBinder& KSShortcutBinder::sharedBinder() {
  static KSShortcutBinder* binder = new KSShortcutBinder();  // lives as long as the process
  return *binder;
}

KSShortcutBinder::KSShortcutBinder(KSShortcutMonitor& monitor) : monitor_(monitor) {
  bindingOptions_.valueTransformerName = std::string(platform::kKeyedUnarchiveFromDataTransformerName);
}

KSShortcutBinder::~KSShortcutBinder() {
  for (const auto& [key, action] : actions_) bindings_.unbind(key);
}

void KSShortcutBinder::bindShortcutWithDefaultsKey(const std::string& key, KSHotKey::Action action) {
  actions_[key] = std::move(action);
  bindings_.bind(key, &platform::UserDefaultsController::shared(), "values." + key, bindingOptions_,
                 [this, key](const Value& value) { setValueForUndefinedKey(value, key); });
}

void KSShortcutBinder::breakBindingWithDefaultsKey(const std::string& key) {
  if (const auto found = shortcuts_.find(key); found != shortcuts_.end()) {
    monitor_.unregisterShortcut(&found->second);
    shortcuts_.erase(found);
  }
  actions_.erase(key);
  bindings_.unbind(key);
}

void KSShortcutBinder::registerDefaultShortcuts(const std::map<std::string, KSShortcut>& defaults) {
  const auto transformer = bindingOptions_.transformer();
  auto registered = platform::Dictionary::make();
  for (const auto& [key, shortcut] : defaults) {
    const Value value(std::make_shared<KSShortcut>(shortcut));
    registered->set(key, transformer ? transformer->reverseTransformedValue(value) : value);
  }
  platform::UserDefaults::standardUserDefaults().registerDefaults(registered);
}

void KSShortcutBinder::setValueForUndefinedKey(const Value& value, const std::string& key) {
  const auto action = actions_.find(key);
  if (action == actions_.end()) {
    platform::logWarning("The shortcut binder has no key \"" + key + "\"");
    return;
  }
  // A cleared value leaves the old shortcut in the table, no longer registered.
  if (const auto stored = shortcuts_.find(key); stored != shortcuts_.end()) monitor_.unregisterShortcut(&stored->second);
  const KSShortcut* shortcut = KSShortcut::in(value);
  if (!shortcut) return;
  shortcuts_.insert_or_assign(key, *shortcut);
  monitor_.registerShortcut(*shortcut, action->second);
}

Value KSShortcutBinder::valueForUndefinedKey(const std::string& key) const {
  const auto stored = shortcuts_.find(key);
  return stored == shortcuts_.end() ? Value() : Value(std::make_shared<KSShortcut>(stored->second));
}
