#pragma once

// One shortcut grabbed as a global hot key on the X server: its key on the
// root window with its modifiers, once for each state of Caps Lock and
// NumLock. The grab lasts as long as the object.

#include <cstdint>
#include <functional>
#include <memory>

#include "shortcuts/KSShortcut.h"

class KSHotKey {
 public:
  using Action = std::function<void()>;
  // 'KSHK': the signature every hot key of this program carries with its id.
  static constexpr std::uint32_t kSignature = 0x4B53484B;

  // Null when the key has no place on this keyboard, another program holds it, or there is no X display.
  static std::shared_ptr<KSHotKey> registeredHotKeyWithShortcut(const KSShortcut& shortcut);
  ~KSHotKey();
  KSHotKey(const KSHotKey&) = delete;
  KSHotKey& operator=(const KSHotKey&) = delete;

  std::uint32_t carbonID() const { return carbonID_; }
  const Action& action() const { return action_; }
  void setAction(Action action) { action_ = std::move(action); }
  // Whether an X key press (keycode and state) is this hot key, whatever the lock keys.
  bool matchesKeyPress(unsigned xKeycode, unsigned state) const;

 private:
  KSHotKey(std::uint32_t carbonID, unsigned xKeycode, unsigned modifiers)
      : carbonID_(carbonID), xKeycode_(xKeycode), modifiers_(modifiers) {}

  std::uint32_t carbonID_;
  unsigned xKeycode_;
  unsigned modifiers_;  // X modifier mask
  Action action_;
};
