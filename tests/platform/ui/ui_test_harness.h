#pragma once

// Helpers for GUI tests: synthetic events for the windows' own entry point,
// real GdkEvents put on GDK's queue (so they pass the event monitors, GTK's
// dispatch and the translation), settling a shown window, and rendering a
// widget into an image surface to probe its pixels.

#include <cairo.h>
#include <gdk/gdk.h>
#include <gtkmm/button.h>
#include <gtkmm/widget.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/event.h"
#include "platform/ui/window.h"

namespace platform::test {

Event mouseEvent(EventType type, Point locationInWindow, ModifierFlags flags = 0, int clickCount = 1);
Event keyEvent(EventType type, const std::string& characters, std::uint16_t keyCode, ModifierFlags flags = 0);

// Shows the window and runs the main loop until its content is allocated; false on a time-out.
bool showAndSettle(Window& window);
// Runs the main loop until GTK has nothing pending.
void processPendingEvents();
// Runs the main loop until GTK has given a widget just shown its place, which it does at the next frame, not
// among the pending events: an event put at the widget's coordinates before then lands somewhere else. (A user
// clicks only what is drawn, which comes after.) False on a time-out.
bool waitForAllocation(Gtk::Widget& widget);

// Real events, located in `widget`'s GdkWindow (its own, the input window of a window-less one such as a scale or
// a menu item, or else its parent's).
void injectButton(Gtk::Widget& widget, GdkEventType type, unsigned button, double x, double y, unsigned state = 0,
                  std::uint32_t time = 0);
void injectMotion(Gtk::Widget& widget, double x, double y, unsigned state, std::uint32_t time = 0);
void injectKey(Gtk::Widget& widget, GdkEventType type, unsigned keyval, unsigned state = 0);
void injectGrabBroken(Gtk::Widget& widget);
// A click in the middle of a button (or check box, toggle, radio button): pointer enter, press and release on
// its input window, through GDK's queue and GTK's dispatch.
void clickButton(Gtk::Button& button);

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using ImageSurface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// Draws the widget (allocated) and its children through GTK onto a transparent ARGB surface of its size.
ImageSurface renderWidget(Gtk::Widget& widget);
// The whole window as GTK draws it (decorations aside): menu bar, content and all.
ImageSurface snapshotWindow(Window& window);

struct Pixel {
  int red = 0;
  int green = 0;
  int blue = 0;
  int alpha = 0;
};
// Unpremultiplied pixel at (x, y), y down; fully transparent outside the surface.
Pixel pixelAt(cairo_surface_t* surface, int x, int y);

}  // namespace platform::test
