#include "shortcuts/KSHotKey.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <gdk/gdkx.h>

#include <vector>

#include "platform/ui/key_translation.h"
#include "shortcuts/KRCommon.h"

namespace {

constexpr unsigned kModifierMasks = ShiftMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;

Display* xDisplay() {
  GdkDisplay* display = gdk_display_get_default();
  return display && GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_xdisplay(display) : nullptr;
}

unsigned numLockMask(Display* display) { return XkbKeysymToModifiers(display, XK_Num_Lock); }

// The lock states a press may come in: none, Caps Lock, NumLock, both.
std::vector<unsigned> lockVariants(Display* display) {
  const unsigned numLock = numLockMask(display);
  if (numLock == 0) return {0, LockMask};
  return {0, LockMask, numLock, numLock | LockMask};
}

unsigned xModifiers(std::uint64_t cocoaFlags) {
  unsigned mask = 0;
  if (cocoaFlags & kr_flags::Shift) mask |= ShiftMask;
  if (cocoaFlags & kr_flags::Control) mask |= ControlMask;
  if (cocoaFlags & kr_flags::Option) mask |= Mod1Mask;
  if (cocoaFlags & kr_flags::Command) mask |= Mod4Mask;
  return mask;
}

// Every request is trapped: a refused grab (BadAccess, another client has the key) would end the program.
bool trapped(const std::function<void()>& request) {
  GdkDisplay* display = gdk_display_get_default();
  gdk_x11_display_error_trap_push(display);
  request();
  return gdk_x11_display_error_trap_pop(display) == 0;
}

void ungrab(Display* display, unsigned keycode, unsigned modifiers) {
  trapped([&] { XUngrabKey(display, static_cast<int>(keycode), modifiers, DefaultRootWindow(display)); });
}

}  // namespace

std::shared_ptr<KSHotKey> KSHotKey::registeredHotKeyWithShortcut(const KSShortcut& shortcut) {
  static std::uint32_t lastID = 0;
  const std::uint32_t carbonID = ++lastID;
  Display* display = xDisplay();
  if (!display || shortcut.keyCode() == KSShortcut::kNotFound) return nullptr;
  const unsigned keycode = platform::xKeycodeForMacKeyCode(shortcut.carbonKeyCode());
  if (keycode == 0) return nullptr;
  const unsigned modifiers = xModifiers(shortcut.modifierFlags());
  std::vector<unsigned> grabbed;
  for (const unsigned variant : lockVariants(display)) {
    const bool granted = trapped([&] {
      XGrabKey(display, static_cast<int>(keycode), modifiers | variant, DefaultRootWindow(display), False,
               GrabModeAsync, GrabModeAsync);
    });
    if (!granted) {
      for (const unsigned done : grabbed) ungrab(display, keycode, modifiers | done);
      return nullptr;
    }
    grabbed.push_back(variant);
  }
  return std::shared_ptr<KSHotKey>(new KSHotKey(carbonID, keycode, modifiers));
}

KSHotKey::~KSHotKey() {
  if (Display* display = xDisplay()) {
    for (const unsigned variant : lockVariants(display)) ungrab(display, xKeycode_, modifiers_ | variant);
  }
}

bool KSHotKey::matchesKeyPress(unsigned xKeycode, unsigned state) const {
  Display* display = xDisplay();
  const unsigned locks = LockMask | (display ? numLockMask(display) : 0);
  return xKeycode == xKeycode_ && (state & kModifierMasks & ~locks) == modifiers_;
}
