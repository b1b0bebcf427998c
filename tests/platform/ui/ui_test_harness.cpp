#include "ui_test_harness.h"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/core/main_queue.h"

namespace platform::test {

Event mouseEvent(EventType type, Point locationInWindow, ModifierFlags flags, int clickCount) {
  Event event;
  event.type = type;
  event.locationInWindow = locationInWindow;
  event.modifierFlags = flags;
  event.clickCount = clickCount;
  event.buttonNumber =
      (type == EventType::RightMouseDown || type == EventType::RightMouseUp || type == EventType::RightMouseDragged)
          ? 1
          : 0;
  return event;
}

Event keyEvent(EventType type, const std::string& characters, std::uint16_t keyCode, ModifierFlags flags) {
  Event event;
  event.type = type;
  event.characters = characters;
  event.charactersIgnoringModifiers = characters;
  event.keyCode = keyCode;
  event.modifierFlags = flags;
  return event;
}

void processPendingEvents() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

bool showAndSettle(Window& window) {
  window.gtkWindow().show_all();
  const bool settled = iterateMainLoopUntil(
      [&] {
        Gtk::Widget& host = window.host();
        return host.get_mapped() && host.get_allocated_width() > 1;
      },
      std::chrono::milliseconds(5000));
  // Let the frame clock finish the layout that mapping started.
  iterateMainLoopUntil([] { return false; }, std::chrono::milliseconds(50));
  processPendingEvents();
  return settled;
}

bool waitForAllocation(Gtk::Widget& widget) {
  const bool placed = iterateMainLoopUntil(
      [&] {
        // GTK's mark of a widget not yet allocated: 1 × 1 at (-1, -1).
        const Gtk::Allocation allocation = widget.get_allocation();
        return widget.get_mapped() && !(allocation.get_x() < 0 && allocation.get_width() <= 1);
      },
      std::chrono::milliseconds(5000));
  processPendingEvents();
  return placed;
}

namespace {

// The input-only window, laid over its allocation, through which a window-less widget takes pointer events (scales,
// menu items); null for others.
GdkWindow* inputWindow(Gtk::Widget& widget) {
  if (gtk_widget_get_has_window(widget.gobj())) return nullptr;
  GdkWindow* parent = gtk_widget_get_window(widget.gobj());
  for (GList* child = parent ? gdk_window_peek_children(parent) : nullptr; child; child = child->next) {
    gpointer owner = nullptr;
    gdk_window_get_user_data(GDK_WINDOW(child->data), &owner);
    if (owner == widget.gobj() && gdk_window_is_input_only(GDK_WINDOW(child->data))) return GDK_WINDOW(child->data);
  }
  return nullptr;
}

GdkWindow* eventWindow(Gtk::Widget& widget) {
  if (GdkWindow* input = inputWindow(widget)) return input;
  return gtk_widget_get_window(widget.gobj());
}

// Widget coordinates to those of its GdkWindow: a window-less widget without an input window of its own shares
// its parent's window.
void toWindowCoordinates(Gtk::Widget& widget, double& x, double& y) {
  if (gtk_widget_get_has_window(widget.gobj()) || inputWindow(widget)) return;
  Gtk::Allocation allocation = widget.get_allocation();
  x += allocation.get_x();
  y += allocation.get_y();
}

void put(GdkEvent* event, GdkDevice* device) {
  gdk_event_set_device(event, device);
  gdk_event_put(event);
  gdk_event_free(event);
  processPendingEvents();
}

GdkDevice* pointer() { return gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())); }
GdkDevice* keyboard() { return gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())); }

std::uint32_t eventTime(std::uint32_t time) {
  return time ? time : static_cast<std::uint32_t>(g_get_monotonic_time() / 1000);
}

}  // namespace

void injectButton(Gtk::Widget& widget, GdkEventType type, unsigned button, double x, double y, unsigned state,
                  std::uint32_t time) {
  toWindowCoordinates(widget, x, y);
  GdkEvent* event = gdk_event_new(type);
  event->button.window = GDK_WINDOW(g_object_ref(eventWindow(widget)));
  event->button.send_event = TRUE;
  event->button.time = eventTime(time);
  event->button.x = x;
  event->button.y = y;
  event->button.state = state;
  event->button.button = button;
  put(event, pointer());
}

void injectMotion(Gtk::Widget& widget, double x, double y, unsigned state, std::uint32_t time) {
  toWindowCoordinates(widget, x, y);
  GdkEvent* event = gdk_event_new(GDK_MOTION_NOTIFY);
  event->motion.window = GDK_WINDOW(g_object_ref(eventWindow(widget)));
  event->motion.send_event = TRUE;
  event->motion.time = eventTime(time);
  event->motion.x = x;
  event->motion.y = y;
  event->motion.state = state;
  put(event, pointer());
}

void injectKey(Gtk::Widget& widget, GdkEventType type, unsigned keyval, unsigned state) {
  GdkWindow* toplevel = gtk_widget_get_window(GTK_WIDGET(gtk_widget_get_toplevel(widget.gobj())));
  GdkEvent* event = gdk_event_new(type);
  event->key.window = GDK_WINDOW(g_object_ref(toplevel));
  event->key.send_event = TRUE;
  event->key.time = eventTime(0);
  event->key.keyval = keyval;
  event->key.state = state;
  // The X backend marks the keys that change modifiers; so does this stand-in.
  switch (keyval) {
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
    case GDK_KEY_Super_L:
    case GDK_KEY_Super_R:
    case GDK_KEY_Caps_Lock:
      event->key.is_modifier = TRUE;
      break;
    default:
      break;
  }
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), keyval, &keys, &count) &&
      count > 0) {
    event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
    event->key.group = static_cast<guint8>(keys[0].group);
  }
  g_free(keys);
  put(event, keyboard());
}

void injectGrabBroken(Gtk::Widget& widget) {
  GdkEvent* event = gdk_event_new(GDK_GRAB_BROKEN);
  event->grab_broken.window = GDK_WINDOW(g_object_ref(eventWindow(widget)));
  event->grab_broken.send_event = TRUE;
  event->grab_broken.keyboard = FALSE;
  event->grab_broken.implicit = TRUE;
  put(event, pointer());
}

void clickButton(Gtk::Button& button) {
  GdkWindow* window = gtk_button_get_event_window(button.gobj());
  const double x = button.get_allocated_width() / 2.0;
  const double y = button.get_allocated_height() / 2.0;
  GdkEvent* enter = gdk_event_new(GDK_ENTER_NOTIFY);
  enter->crossing.window = GDK_WINDOW(g_object_ref(window));
  enter->crossing.send_event = TRUE;
  enter->crossing.time = eventTime(0);
  enter->crossing.x = x;
  enter->crossing.y = y;
  enter->crossing.mode = GDK_CROSSING_NORMAL;
  enter->crossing.detail = GDK_NOTIFY_NONLINEAR;
  put(enter, pointer());
  for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(window));
    event->button.send_event = TRUE;
    event->button.time = eventTime(0);
    event->button.x = x;
    event->button.y = y;
    event->button.button = 1;
    put(event, pointer());
  }
}

ImageSurface renderWidget(Gtk::Widget& widget) {
  const int width = std::max(1, widget.get_allocated_width());
  const int height = std::max(1, widget.get_allocated_height());
  ImageSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  cairo_t* cr = cairo_create(surface.get());
  gtk_widget_draw(widget.gobj(), cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface.get());
  return surface;
}

ImageSurface snapshotWindow(Window& window) { return renderWidget(window.gtkWindow()); }

Pixel pixelAt(cairo_surface_t* surface, int x, int y) {
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  if (x < 0 || y < 0 || x >= width || y >= height) return {};
  const unsigned char* row =
      cairo_image_surface_get_data(surface) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
  std::uint32_t value = 0;
  std::memcpy(&value, row + static_cast<std::ptrdiff_t>(x) * 4, sizeof value);
  Pixel pixel;
  pixel.alpha = static_cast<int>(value >> 24);
  if (pixel.alpha == 0) return pixel;
  const auto unpremultiply = [&](std::uint32_t channel) {
    return static_cast<int>((channel * 255 + static_cast<std::uint32_t>(pixel.alpha) / 2) /
                            static_cast<std::uint32_t>(pixel.alpha));
  };
  pixel.red = unpremultiply((value >> 16) & 0xFF);
  pixel.green = unpremultiply((value >> 8) & 0xFF);
  pixel.blue = unpremultiply(value & 0xFF);
  return pixel;
}

}  // namespace platform::test
