#include "platform/ui/popup_window.h"

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <gdkmm/screen.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/window.h>

#include <algorithm>

#include "platform/ui/menu.h"
#include "platform/ui/view.h"
#include "platform/ui/view_widget.h"

namespace platform {

namespace {

// The monitor holding the window, in GDK's y-down root coordinates.
Gdk::Rectangle monitorGeometry(Gtk::Window* window) {
  Gdk::Rectangle geometry(0, 0, 1, 1);
  const Glib::RefPtr<Gdk::Display> display = Gdk::Display::get_default();
  if (!display) return geometry;
  Glib::RefPtr<Gdk::Monitor> monitor;
  if (window && window->get_window()) monitor = display->get_monitor_at_window(window->get_window());
  if (!monitor) monitor = display->get_monitor(0);
  if (monitor) monitor->get_geometry(geometry);
  return geometry;
}

// Outside what its view draws, a composited screen shows through the window.
void makeTransparentWhenComposited(Gtk::Window& window) {
  const Glib::RefPtr<Gdk::Screen> screen = window.get_screen();
  if (!screen || !screen->is_composited()) return;
  if (const Glib::RefPtr<Gdk::Visual> visual = screen->get_rgba_visual())
    gtk_widget_set_visual(GTK_WIDGET(window.gobj()), visual->gobj());
  static const Glib::RefPtr<Gtk::CssProvider> clear = [] {
    Glib::RefPtr<Gtk::CssProvider> provider = Gtk::CssProvider::create();
    provider->load_from_data("window, box, eventbox { background-color: transparent; }");
    return provider;
  }();
  Gtk::StyleContext::add_provider_for_screen(screen, clear, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  window.set_app_paintable(true);
}

}  // namespace

PopupWindow::PopupWindow(Size size) : window_(size) {
  Gtk::Window& gtk = window_.gtkWindow();
  gtk.set_decorated(false);
  gtk.set_resizable(false);
  gtk.set_skip_taskbar_hint(true);
  gtk.set_skip_pager_hint(true);
  gtk.set_type_hint(Gdk::WINDOW_TYPE_HINT_DROPDOWN_MENU);
  makeTransparentWhenComposited(gtk);
  gtk.signal_focus_out_event().connect([this](GdkEventFocus*) {
    // A context menu of the window's own views holds the keys while it is open: the window stays.
    if (isVisible() && Menu::windowOfOpenMenu() != &window_.gtkWindow()) resign(ResignReason::FocusLost);
    return false;
  });
  // Escape is the window's cancel key, before any view sees it.
  gtk.signal_key_press_event().connect(
      [this](GdkEventKey* event) {
        if (event->keyval != GDK_KEY_Escape) return false;
        resign(ResignReason::Cancelled);
        return true;
      },
      false);
}

PopupWindow::~PopupWindow() = default;

void PopupWindow::orderFront(const Rect& screenFrame, Gtk::Window* owner) {
  Gtk::Window& gtk = window_.gtkWindow();
  if (owner) gtk.set_transient_for(*owner);
  const Gdk::Rectangle monitor = monitorGeometry(owner);
  const int width = std::max(1, pixelsFromLength(screenFrame.size.width));
  const int height = std::max(1, pixelsFromLength(screenFrame.size.height));
  gtk.set_size_request(width, height);
  gtk.resize(width, height);
  gtk.move(monitor.get_x() + pixelsFromLength(screenFrame.origin.x),
           monitor.get_y() + monitor.get_height() - pixelsFromLength(screenFrame.origin.y) - height);
  resigned_ = false;
  window_.show();
  gtk.present();
}

void PopupWindow::orderOut() { window_.hide(); }

Rect PopupWindow::frame() const {
  Gtk::Window& gtk = const_cast<Window&>(window_).gtkWindow();
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  gtk.get_position(x, y);
  gtk.get_size(width, height);
  const Gdk::Rectangle monitor = monitorGeometry(gtk.get_transient_for());
  return {static_cast<double>(x - monitor.get_x()),
          static_cast<double>(monitor.get_y() + monitor.get_height() - y - height), static_cast<double>(width),
          static_cast<double>(height)};
}

void PopupWindow::resign(ResignReason reason) {
  if (resigned_) return;
  resigned_ = true;
  if (didResign_) didResign_(reason);
}

Rect PopupWindow::screenFrame(Gtk::Window* window) {
  const Gdk::Rectangle monitor = monitorGeometry(window);
  return {0, 0, static_cast<double>(monitor.get_width()), static_cast<double>(monitor.get_height())};
}

Rect PopupWindow::screenRectOfView(View& view) {
  auto* toplevel = dynamic_cast<Gtk::Window*>(view.widget().get_toplevel());
  if (!toplevel || !toplevel->get_window() || !view.widget().get_realized()) return {};
  const Rect local = view.bounds();
  const Point a = view.localToGtk(local.origin);
  const Point b = view.localToGtk({local.origin.x + local.size.width, local.origin.y + local.size.height});
  int inToplevelX = 0;
  int inToplevelY = 0;
  if (!view.widget().translate_coordinates(*toplevel, pixelsFromLength(std::min(a.x, b.x)),
                                           pixelsFromLength(std::min(a.y, b.y)), inToplevelX, inToplevelY))
    return {};
  int originX = 0;
  int originY = 0;
  toplevel->get_window()->get_origin(originX, originY);
  const Gdk::Rectangle monitor = monitorGeometry(toplevel);
  const double top = originY + inToplevelY;
  return {originX + inToplevelX - monitor.get_x() + 0.0,
          monitor.get_y() + monitor.get_height() - top - local.size.height, local.size.width, local.size.height};
}

}  // namespace platform
