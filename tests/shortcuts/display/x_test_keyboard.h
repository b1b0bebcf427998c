#pragma once

// The real keyboard of the test's own X server: keys pressed through the X
// test extension, layouts set with setxkbmap, the input focus, the bell, and
// a second client of the server. Apart from the tests because Xlib's macros
// clash with gtkmm and GoogleTest names. The pointer's side, with the X test
// extension's presence and syncing, is in x_test_pointer.h.

#include <functional>

namespace shortcuts::test {

// The X keycode of the key that types `keysym` in the current layout, 0 for none.
unsigned keycodeForKeysym(unsigned keysym);
// Presses (or releases) the key that types `keysym` in the current layout; false when none does.
bool fakeKey(unsigned keysym, bool pressed);
// Presses and releases the key, with the modifier keys (keysyms) held around it.
bool tapKey(unsigned keysym, std::initializer_list<unsigned> modifiers = {});
// Runs setxkbmap on the display; true when it succeeded.
bool setKeyboardLayout(const char* layouts);
// Gives the keyboard focus to the toplevel X window of a GDK window.
void focusWindow(void* gdkWindow);
// Locks or unlocks NumLock and Caps Lock.
void setLocks(bool numLock, bool capsLock);
// Counts the X bells rung from now on (XKB bell notices), read back with bellsRung().
void startCountingBells();
int bellsRung();

// Another client of the display, holding a passive grab of a key (X keycode and modifiers) on the root window.
class OtherClientGrab {
 public:
  OtherClientGrab(unsigned xKeycode, unsigned modifiers);
  ~OtherClientGrab();
  OtherClientGrab(const OtherClientGrab&) = delete;
  OtherClientGrab& operator=(const OtherClientGrab&) = delete;
  bool holds() const { return holds_; }

 private:
  void* display_;
  unsigned keycode_;
  unsigned modifiers_;
  bool holds_ = false;
};

}  // namespace shortcuts::test
