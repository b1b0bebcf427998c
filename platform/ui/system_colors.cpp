#include "platform/ui/system_colors.h"

#include <gtk/gtk.h>

namespace platform {
namespace {

// A colour the theme defines with @define-color, or the fallback when it has none (or there is no screen).
Color themeColor(const char* name, const Color& fallback) {
  GdkScreen* screen = gdk_screen_get_default();
  if (!screen) return fallback;
  GtkStyleContext* context = gtk_style_context_new();
  GtkWidgetPath* path = gtk_widget_path_new();
  gtk_widget_path_append_type(path, GTK_TYPE_WINDOW);
  gtk_style_context_set_path(context, path);
  gtk_style_context_set_screen(context, screen);
  GdkRGBA rgba{};
  const bool found = gtk_style_context_lookup_color(context, name, &rgba);
  gtk_widget_path_unref(path);
  g_object_unref(context);
  return found ? Color(rgba.red, rgba.green, rgba.blue, rgba.alpha) : fallback;
}

}  // namespace

Color alternateSelectedControlColor() { return themeColor("theme_selected_bg_color", {0.21, 0.52, 0.89, 1}); }

Color windowFrameColor() { return themeColor("borders", {0.80, 0.78, 0.76, 1}); }

Color disabledControlTextColor() { return themeColor("insensitive_fg_color", {0.57, 0.58, 0.58, 1}); }

}  // namespace platform
