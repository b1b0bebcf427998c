#pragma once

// Panels in benchmarks: GTK's pending work run, and a widget drawn once off-screen as its window would draw it.

#include <cairo.h>
#include <gtkmm/widget.h>

#include <algorithm>

namespace bench {

inline void settle() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

inline void drawOnce(Gtk::Widget& widget) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, widget.get_allocated_width()),
                                                        std::max(1, widget.get_allocated_height()));
  cairo_t* cr = cairo_create(surface);
  gtk_widget_draw(widget.gobj(), cr);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

}  // namespace bench
