#pragma once

// Global hot keys kept in step with user-defaults keys: each key's value (a
// shortcut, archived in the defaults) is registered with the key's action,
// registered anew when it changes and dropped when it is cleared.

#include <map>
#include <string>

#include "platform/core/binding.h"
#include "shortcuts/KSShortcutMonitor.h"

class KSShortcutBinder {
 public:
  static KSShortcutBinder& sharedBinder();
  explicit KSShortcutBinder(KSShortcutMonitor& monitor = KSShortcutMonitor::sharedMonitor());
  // Unbinds every key.
  ~KSShortcutBinder();
  KSShortcutBinder(const KSShortcutBinder&) = delete;
  KSShortcutBinder& operator=(const KSShortcutBinder&) = delete;

  KSShortcutMonitor& shortcutMonitor() const { return monitor_; }
  // By default the keyed-archive transformer: the defaults hold archived shortcuts.
  const platform::BindingOptions& bindingOptions() const { return bindingOptions_; }
  void setBindingOptions(platform::BindingOptions options) { bindingOptions_ = std::move(options); }

  void bindShortcutWithDefaultsKey(const std::string& key, KSHotKey::Action action);
  void breakBindingWithDefaultsKey(const std::string& key);
  // Registers each shortcut, in the defaults' form, as the default value of its key.
  void registerDefaultShortcuts(const std::map<std::string, KSShortcut>& defaults);
  bool isRegisteredAction(const std::string& key) const { return actions_.contains(key); }

  // The bound keys' values (key-value coding of keys the binder does not otherwise have).
  void setValueForUndefinedKey(const platform::Value& value, const std::string& key);
  platform::Value valueForUndefinedKey(const std::string& key) const;

 private:
  KSShortcutMonitor& monitor_;
  platform::BindingOptions bindingOptions_;
  std::map<std::string, KSHotKey::Action> actions_;
  std::map<std::string, KSShortcut> shortcuts_;
  platform::Bindings bindings_;
};
