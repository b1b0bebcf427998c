#include "x_test_pointer.h"

#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>

namespace platform::test {
namespace {

Display* xDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

}  // namespace

bool hasXTestExtension() {
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  return XTestQueryExtension(xDisplay(), &eventBase, &errorBase, &major, &minor);
}

void fakePointerMotion(int rootX, int rootY) {
  XTestFakeMotionEvent(xDisplay(), -1, rootX, rootY, CurrentTime);
  syncWithXServer();
}

void fakeButton(unsigned button, bool pressed) {
  XTestFakeButtonEvent(xDisplay(), button, pressed ? True : False, CurrentTime);
  syncWithXServer();
}

void syncWithXServer() { XSync(xDisplay(), False); }

}  // namespace platform::test
