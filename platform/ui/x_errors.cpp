#include "platform/ui/x_errors.h"

#include <cstdio>
#include <string>

#include "platform/core/log.h"

// After the project's headers: Xlib's macros clash with their names.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <gdk/gdkx.h>

namespace platform {

namespace {

int logged = 0;

// Called by Xlib with each error that arrives while it waits for a reply (an XSync, which is where errors of earlier
// requests show up), before any error handler. It asks nothing of the server, as nothing may then: the text comes
// from Xlib's own tables. False passes the error on to GDK.
int logXError(Display* display, xError* error, XExtCodes*, int*) {
  char text[160] = "";
  XGetErrorText(display, error->errorCode, text, sizeof text);
  char place[96];
  std::snprintf(place, sizeof place, " (request %d.%d, resource 0x%lx)", error->majorCode, error->minorCode,
                static_cast<unsigned long>(error->resourceID));
  ++logged;
  logWarning(std::string("X error: ") + text + place);
  return False;
}

}  // namespace

void logUnexpectedXErrors() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display || !GDK_IS_X11_DISPLAY(display)) return;
  // GDK ends the program at an error that arrives outside its error traps, and errors arrive late: one about a
  // window another client destroyed may come in while GDK traps an unrelated request. A trap held open for the whole
  // run covers every request from now on, so such an error is ignored; GDK's own traps inside it still get theirs.
  gdk_x11_display_error_trap_push(display);
  Display* xdisplay = gdk_x11_display_get_xdisplay(display);
  if (XExtCodes* codes = XAddExtension(xdisplay)) XESetError(xdisplay, codes->extension, logXError);
}

int loggedXErrorCount() { return logged; }

}  // namespace platform
