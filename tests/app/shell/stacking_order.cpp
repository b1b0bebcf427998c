#include "stacking_order.h"

// Xlib last: its macros (Status, None, Bool) would clash with the names of the headers above.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace shell_testing {

int stackingPlace(Gtk::Window& window) {
  if (!window.get_window()) return -1;
  GdkWindow* gdkWindow = window.get_window()->gobj();
  Display* display = GDK_WINDOW_XDISPLAY(gdkWindow);
  XSync(display, False);
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return -1;
  int place = -1;
  for (unsigned i = 0; i < count; ++i)
    if (children[i] == GDK_WINDOW_XID(gdkWindow)) place = static_cast<int>(i);
  if (children) XFree(children);
  return place;
}

}  // namespace shell_testing
