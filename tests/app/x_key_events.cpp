#include "x_key_events.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <gdk/gdkx.h>

namespace {

Display* display() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

Window topLevelNamed(const std::string& wanted) {
  Window root = DefaultRootWindow(display());
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display(), root, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(display(), children[i], &name) && name) {
      if (wanted == name) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

void sendKey(Window window, int type, unsigned keycode, unsigned state) {
  XEvent event{};
  event.xkey.type = type;
  event.xkey.display = display();
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(display());
  event.xkey.time = CurrentTime;
  event.xkey.x = event.xkey.y = event.xkey.x_root = event.xkey.y_root = 1;
  event.xkey.same_screen = True;
  event.xkey.keycode = keycode;
  event.xkey.state = state;
  // No event mask: the event goes to the window's own client, which takes its keys through the input extension and
  // so selects no core key events that a mask could match.
  XSendEvent(display(), window, False, NoEventMask, &event);
}

}  // namespace

bool sendKeyToWindowNamed(const std::string& name, const char* keysymName, bool control) {
  const Window window = topLevelNamed(name);
  const KeySym keysym = XStringToKeysym(keysymName);
  const unsigned keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(display(), keysym);
  if (!window || keycode == 0) return false;
  const unsigned controlKey = XKeysymToKeycode(display(), XK_Control_L);
  if (control) sendKey(window, KeyPress, controlKey, 0);
  const unsigned state = control ? ControlMask : 0;
  sendKey(window, KeyPress, keycode, state);
  sendKey(window, KeyRelease, keycode, state);
  if (control) sendKey(window, KeyRelease, controlKey, ControlMask);
  XFlush(display());
  return true;
}
