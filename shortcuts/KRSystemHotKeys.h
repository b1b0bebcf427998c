#pragma once

// The desktop's own keyboard shortcuts (CopySymbolicHotKeys): the accelerators of the window manager's, the
// shell's and the media keys' settings schemas, those installed, as virtual key codes with Carbon modifiers.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct KRSystemHotKey {
  std::int16_t code = 0;
  std::int32_t modifiers = 0;  // Carbon flags
  bool enabled = true;
};

class KRSystemHotKeys {
 public:
  using List = std::optional<std::vector<KRSystemHotKey>>;
  using Provider = std::function<List()>;

  // Nothing when the list cannot be read (no settings schema of the desktop is installed).
  static List copy();
  // Another source of the list (a fake desktop); an empty provider goes back to the desktop's settings.
  static void setProvider(Provider provider);
};
