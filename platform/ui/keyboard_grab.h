#pragma once

// The whole keyboard for one window: while the grab lasts every key goes to the window, none to the desktop's
// own shortcuts (PushSymbolicHotKeyMode with hot keys off). Ends when the object goes.

#include <memory>

namespace platform {

class View;

class KeyboardGrab {
 public:
  // Null when the view is in no shown window or the seat refuses.
  static std::unique_ptr<KeyboardGrab> begin(View& view);
  ~KeyboardGrab();
  KeyboardGrab(const KeyboardGrab&) = delete;
  KeyboardGrab& operator=(const KeyboardGrab&) = delete;

 private:
  explicit KeyboardGrab(void* seat) : seat_(seat) {}
  void* seat_;  // GdkSeat, referenced
};

}  // namespace platform
