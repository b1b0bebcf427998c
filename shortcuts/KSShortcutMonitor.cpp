#include "shortcuts/KSShortcutMonitor.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <cstdlib>
#include <string_view>

#include "platform/core/log.h"
#include "platform/core/main_queue.h"

namespace {

// XWayland passes on a grabbed key only while one of the program's own windows has the focus, which is no global
// hot key at all.
bool onWayland() {
  const char* session = std::getenv("XDG_SESSION_TYPE");
  const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
  GdkDisplay* display = gdk_display_get_default();
  return (display && !GDK_IS_X11_DISPLAY(display)) || (session && std::string_view(session) == "wayland") ||
         (waylandDisplay && *waylandDisplay);
}

GdkFilterReturn filterRootKeyPress(GdkXEvent* xevent, GdkEvent*, gpointer data) {
  const auto* event = static_cast<const XEvent*>(xevent);
  if (event->type != KeyPress) return GDK_FILTER_CONTINUE;
  auto* monitor = static_cast<KSShortcutMonitor*>(data);
  return monitor->handleKeyPress(event->xkey.keycode, event->xkey.state) ? GDK_FILTER_REMOVE : GDK_FILTER_CONTINUE;
}

}  // namespace

KSShortcutMonitor& KSShortcutMonitor::sharedMonitor() {
  static KSShortcutMonitor* monitor = new KSShortcutMonitor();  // lives as long as the process
  return *monitor;
}

KSShortcutMonitor::KSShortcutMonitor() {
  if (!isAvailable()) return;
  gdk_window_add_filter(gdk_get_default_root_window(), filterRootKeyPress, this);
  filterInstalled_ = true;
}

KSShortcutMonitor::~KSShortcutMonitor() {
  hotKeys_.clear();
  if (filterInstalled_) gdk_window_remove_filter(gdk_get_default_root_window(), filterRootKeyPress, this);
}

bool KSShortcutMonitor::isAvailable() {
  GdkDisplay* display = gdk_display_get_default();
  return display && GDK_IS_X11_DISPLAY(display) && !onWayland();
}

std::string KSShortcutMonitor::unavailableReason() {
  if (isAvailable()) return {};
  if (onWayland()) return "Global hot keys are not available on Wayland.";
  return "Global hot keys need an X display.";
}

bool KSShortcutMonitor::registerShortcut(const KSShortcut& shortcut, KSHotKey::Action action) {
  if (!filterInstalled_ || !isAvailable()) {
    static bool warned = false;
    if (!std::exchange(warned, true)) platform::logWarning(unavailableReason());
    return false;
  }
  // The earlier registration goes first: its release would also release the new grab of the same key.
  hotKeys_.erase(shortcut);
  std::shared_ptr<KSHotKey> hotKey = KSHotKey::registeredHotKeyWithShortcut(shortcut);
  if (!hotKey) return false;
  hotKey->setAction(std::move(action));
  hotKeys_[shortcut] = std::move(hotKey);
  return true;
}

void KSShortcutMonitor::unregisterShortcut(const KSShortcut* shortcut) {
  if (shortcut) hotKeys_.erase(*shortcut);
}

void KSShortcutMonitor::unregisterAllShortcuts() { hotKeys_.clear(); }

bool KSShortcutMonitor::isShortcutRegistered(const KSShortcut& shortcut) const {
  return hotKeys_.contains(shortcut);
}

bool KSShortcutMonitor::handleKeyPress(unsigned xKeycode, unsigned state) {
  for (const auto& [shortcut, hotKey] : hotKeys_) {
    if (!hotKey->matchesKeyPress(xKeycode, state)) continue;
    handleEvent(KSHotKey::kSignature, hotKey->carbonID());
    return true;
  }
  return false;
}

void KSShortcutMonitor::handleEvent(std::uint32_t signature, std::uint32_t hotKeyID) {
  if (signature != KSHotKey::kSignature) return;
  for (const auto& [shortcut, hotKey] : hotKeys_) {
    if (hotKey->carbonID() != hotKeyID) continue;
    if (const KSHotKey::Action& action = hotKey->action()) platform::dispatchAsync(action);
    return;
  }
}
