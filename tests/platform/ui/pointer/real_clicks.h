#pragma once

// Clicks with the real pointer through the X test extension, on widgets found on the screen, while the main
// loop runs on: what a user's hand does, down to the X server.

#include <glib.h>
#include <gtkmm/widget.h>

#include "x_test_pointer.h"

namespace platform::test {

// Runs the main loop, syncing with the X server, until the predicate holds or the time is up; its last answer.
template <typename Predicate>
bool settleUntil(Predicate done, gint64 timeoutMicroseconds = 3'000'000) {
  const gint64 end = g_get_monotonic_time() + timeoutMicroseconds;
  while (!done() && g_get_monotonic_time() < end) {
    syncWithXServer();
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(2000);
  }
  return done();
}

// Lets the program run for a while (the X server and GTK catch up).
inline void settleFor(gint64 microseconds) {
  settleUntil([] { return false; }, microseconds);
}

// The middle of a widget in root-window pixels.
inline void centreOnScreen(Gtk::Widget& widget, int& x, int& y) {
  int originX = 0;
  int originY = 0;
  widget.get_window()->get_origin(originX, originY);
  const Gtk::Allocation allocation = widget.get_allocation();
  x = originX + allocation.get_x() + allocation.get_width() / 2;
  y = originY + allocation.get_y() + allocation.get_height() / 2;
}

// The root-window pixel of a point in the widget's own pixels.
inline void screenPointOf(Gtk::Widget& widget, int x, int y, int& screenX, int& screenY) {
  Gtk::Widget& top = *widget.get_toplevel();
  int inTopX = 0;
  int inTopY = 0;
  widget.translate_coordinates(top, x, y, inTopX, inTopY);
  int originX = 0;
  int originY = 0;
  top.get_window()->get_origin(originX, originY);
  screenX = originX + inTopX;
  screenY = originY + inTopY;
}

// The pointer moves to the root-window point and the button goes down and up there.
inline void clickOnScreen(int x, int y, unsigned button = 1) {
  fakePointerMotion(x, y);
  settleFor(100'000);
  fakeButton(button, true);
  settleFor(50'000);
  fakeButton(button, false);
  settleFor(100'000);
}

inline void clickOn(Gtk::Widget& widget) {
  int x = 0;
  int y = 0;
  centreOnScreen(widget, x, y);
  clickOnScreen(x, y);
}

}  // namespace platform::test
