#include "x_window_names.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace {

Display* display() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

// Calls `visit` with each named top-level window until it returns true. A window may vanish while it is asked
// for its name (a program ending, an alert closing): the error that brings is ignored, as GDK would otherwise end
// the test program over it.
template <typename Visit>
void forEachNamedWindow(Visit visit) {
  gdk_x11_display_error_trap_push(gdk_display_get_default());
  Window root = DefaultRootWindow(display());
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  XQueryTree(display(), root, &root, &parent, &children, &count);
  bool done = false;
  for (unsigned i = 0; i < count && !done; ++i) {
    char* name = nullptr;
    if (XFetchName(display(), children[i], &name) && name) {
      done = visit(children[i], std::string(name));
      XFree(name);
    }
  }
  if (children) XFree(children);
  gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
}

}  // namespace

std::vector<std::string> topLevelWindowNames() {
  std::vector<std::string> names;
  forEachNamedWindow([&names](Window, const std::string& name) {
    names.push_back(name);
    return false;
  });
  return names;
}

bool requestCloseOfWindowNamed(const std::string& wanted) {
  bool sent = false;
  forEachNamedWindow([&](Window window, const std::string& name) {
    if (name != wanted) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    sent = XSendEvent(display(), window, False, NoEventMask, &event) != 0;
    XFlush(display());
    return true;
  });
  return sent;
}

bool destroyWindowNamed(const std::string& wanted) {
  bool destroyed = false;
  forEachNamedWindow([&](Window window, const std::string& name) {
    if (name != wanted) return false;
    XDestroyWindow(display(), window);
    XSync(display(), False);
    destroyed = true;
    return true;
  });
  return destroyed;
}
