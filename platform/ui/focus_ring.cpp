#include "platform/ui/focus_ring.h"

#include <gtk/gtk.h>
#include <gtkmm/widget.h>

#include "platform/graphics/graphics_context.h"
#include "platform/ui/view.h"

namespace platform {

void drawFocusRing(View& view, const Rect& rect) {
  GraphicsContext* context = GraphicsContext::current();
  if (!context || rect.size.width <= 0 || rect.size.height <= 0) return;
  GtkStyleContext* style = gtk_widget_get_style_context(view.widget().gobj());
  cairo_t* cr = context->cairo();
  cairo_save(cr);
  // The outline is symmetric, so the y-up user space of an unflipped view places it as well as a y-down one.
  gtk_style_context_save(style);
  gtk_style_context_set_state(style, GtkStateFlags(gtk_style_context_get_state(style) | GTK_STATE_FLAG_FOCUSED));
  gtk_render_focus(style, cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
  gtk_style_context_restore(style);
  cairo_restore(cr);
}

}  // namespace platform
