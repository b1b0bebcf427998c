// X errors that nobody expected do not end the program: they are logged, and GDK's own error traps still get
// theirs. (A window another client destroys comes back: the running program's test.)

#include <gtest/gtest.h>

#include "platform/ui/x_errors.h"

// After the project's headers: Xlib's macros clash with their names.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace {

TEST(XErrors, AnErrorNobodyWaitedForIsLoggedAndTheProgramGoesOn) {
  ::Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
  GdkDisplay* gdk = gdk_display_get_default();
  // A window of this client, destroyed, then asked to map: BadWindow, which GDK's own handler ends the program for
  // outside its traps, and also inside one when the error belongs to a request made before it.
  const ::Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(display, gone);
  const int before = platform::loggedXErrorCount();
  XMapWindow(display, gone);
  XSync(display, False);
  XMapWindow(display, gone);
  gdk_x11_display_error_trap_push(gdk);
  XSync(display, False);
  EXPECT_EQ(gdk_x11_display_error_trap_pop(gdk), Success);
  // GDK's own traps still get the errors they wait for.
  gdk_x11_display_error_trap_push(gdk);
  XMapWindow(display, gone);
  EXPECT_EQ(gdk_x11_display_error_trap_pop(gdk), BadWindow);
  EXPECT_EQ(platform::loggedXErrorCount(), before + 3);
}

}  // namespace
