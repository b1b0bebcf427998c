#pragma once

// The program's global hot keys: shortcuts registered with an action that
// runs (on the main queue) whenever the key is pressed, whichever program has
// the keyboard. X11 only: under Wayland no program may take keys from the
// others, so registration answers false there, with a warning once.

#include <memory>
#include <string>
#include <unordered_map>

#include "shortcuts/KSHotKey.h"
#include "shortcuts/KSShortcut.h"

class KSShortcutMonitor {
 public:
  static KSShortcutMonitor& sharedMonitor();
  KSShortcutMonitor();
  ~KSShortcutMonitor();
  KSShortcutMonitor(const KSShortcutMonitor&) = delete;
  KSShortcutMonitor& operator=(const KSShortcutMonitor&) = delete;

  // False on Wayland and without an X display.
  static bool isAvailable();
  static std::string unavailableReason();

  // Replaces (and so unregisters) an earlier registration of the same shortcut; false when the key cannot be had.
  bool registerShortcut(const KSShortcut& shortcut, KSHotKey::Action action);
  void unregisterShortcut(const KSShortcut* shortcut);
  void unregisterAllShortcuts();
  bool isShortcutRegistered(const KSShortcut& shortcut) const;

  // A hot key was pressed: its action is queued, the first with that signature and id only.
  void handleEvent(std::uint32_t signature, std::uint32_t hotKeyID);
  // A key press on the root window; true when it was one of the hot keys.
  bool handleKeyPress(unsigned xKeycode, unsigned state);

 private:
  std::unordered_map<KSShortcut, std::shared_ptr<KSHotKey>, KSShortcutHash> hotKeys_;
  bool filterInstalled_ = false;
};
