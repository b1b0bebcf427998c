#include "x_test_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "x_test_pointer.h"

namespace shortcuts::test {
namespace {

Display* xDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

int bellCount = 0;
int xkbEventBase = 0;

GdkFilterReturn countBells(GdkXEvent* xevent, GdkEvent*, gpointer) {
  const auto* event = static_cast<XEvent*>(xevent);
  if (event->type == xkbEventBase) {
    const auto* xkb = reinterpret_cast<const XkbAnyEvent*>(event);
    if (xkb->xkb_type == XkbBellNotify) ++bellCount;
  }
  return GDK_FILTER_CONTINUE;
}

}  // namespace

unsigned keycodeForKeysym(unsigned keysym) { return XKeysymToKeycode(xDisplay(), keysym); }

bool fakeKey(unsigned keysym, bool pressed) {
  const KeyCode keycode = XKeysymToKeycode(xDisplay(), keysym);
  if (keycode == 0) return false;
  XTestFakeKeyEvent(xDisplay(), keycode, pressed ? True : False, CurrentTime);
  platform::test::syncWithXServer();
  return true;
}

bool tapKey(unsigned keysym, std::initializer_list<unsigned> modifiers) {
  bool ok = true;
  for (unsigned modifier : modifiers) ok = fakeKey(modifier, true) && ok;
  ok = fakeKey(keysym, true) && ok;
  ok = fakeKey(keysym, false) && ok;
  for (auto it = modifiers.end(); it != modifiers.begin();) ok = fakeKey(*--it, false) && ok;
  return ok;
}

bool setKeyboardLayout(const char* layouts) {
  platform::test::syncWithXServer();
  const std::string command = std::string("setxkbmap -display \"$DISPLAY\" -layout '") + layouts + "' 2>/dev/null";
  const int status = std::system(command.c_str());
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void focusWindow(void* gdkWindow) {
  GdkWindow* toplevel = gdk_window_get_toplevel(static_cast<GdkWindow*>(gdkWindow));
  XSetInputFocus(xDisplay(), gdk_x11_window_get_xid(toplevel), RevertToParent, CurrentTime);
  platform::test::syncWithXServer();
}

void setLocks(bool numLock, bool capsLock) {
  const unsigned numMask = XkbKeysymToModifiers(xDisplay(), XK_Num_Lock);
  XkbLockModifiers(xDisplay(), XkbUseCoreKbd, numMask | LockMask, (numLock ? numMask : 0) | (capsLock ? LockMask : 0));
  platform::test::syncWithXServer();
}

void startCountingBells() {
  static bool installed = false;
  bellCount = 0;
  if (installed) return;
  int opcode = 0;
  int errorBase = 0;
  int major = XkbMajorVersion;
  int minor = XkbMinorVersion;
  XkbQueryExtension(xDisplay(), &opcode, &xkbEventBase, &errorBase, &major, &minor);
  XkbSelectEvents(xDisplay(), XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  gdk_window_add_filter(nullptr, countBells, nullptr);
  installed = true;
}

int bellsRung() {
  platform::test::syncWithXServer();
  return bellCount;
}

OtherClientGrab::OtherClientGrab(unsigned xKeycode, unsigned modifiers)
    : display_(XOpenDisplay(nullptr)), keycode_(xKeycode), modifiers_(modifiers) {
  auto* display = static_cast<Display*>(display_);
  if (!display) return;
  XGrabKey(display, static_cast<int>(keycode_), modifiers_, DefaultRootWindow(display), False, GrabModeAsync,
           GrabModeAsync);
  XSync(display, False);
  holds_ = true;
}

OtherClientGrab::~OtherClientGrab() {
  if (auto* display = static_cast<Display*>(display_)) {
    XUngrabKey(display, static_cast<int>(keycode_), modifiers_, DefaultRootWindow(display));
    XCloseDisplay(display);
  }
}

}  // namespace shortcuts::test
