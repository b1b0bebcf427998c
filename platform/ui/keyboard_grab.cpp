#include "platform/ui/keyboard_grab.h"

#include <gdk/gdk.h>
#include <gtkmm/container.h>

#include "platform/core/log.h"
#include "platform/ui/view.h"

namespace platform {

std::unique_ptr<KeyboardGrab> KeyboardGrab::begin(View& view) {
  Gtk::Widget* toplevel = view.widget().get_toplevel();
  GdkWindow* window = toplevel && toplevel->get_is_toplevel() ? gtk_widget_get_window(toplevel->gobj()) : nullptr;
  if (!window || !gdk_window_is_viewable(window)) return nullptr;
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(window));
  if (!seat) return nullptr;
  const GdkGrabStatus status =
      gdk_seat_grab(seat, window, GDK_SEAT_CAPABILITY_KEYBOARD, FALSE, nullptr, nullptr, nullptr, nullptr);
  if (status != GDK_GRAB_SUCCESS) {
    logWarning("The keyboard could not be taken from the desktop's shortcuts");
    return nullptr;
  }
  g_object_ref(seat);
  return std::unique_ptr<KeyboardGrab>(new KeyboardGrab(seat));
}

KeyboardGrab::~KeyboardGrab() {
  auto* seat = static_cast<GdkSeat*>(seat_);
  gdk_seat_ungrab(seat);
  g_object_unref(seat);
}

}  // namespace platform
