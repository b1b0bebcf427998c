#include "platform/ui/front_window.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

// The windows noted, the latest last. A window's entry goes when it is destroyed, which windows held in statics
// are after this list would have been: it is never destroyed.
std::vector<GtkWindow*>& noted() {
  static auto* windows = new std::vector<GtkWindow*>;
  return *windows;
}

void forget(gpointer, GObject* gone) {
  std::erase(noted(), reinterpret_cast<GtkWindow*>(gone));
}

gboolean note(GSignalInvocationHint*, guint, const GValue* parameters, gpointer) {
  auto* window = GTK_IS_WINDOW(g_value_get_object(&parameters[0])) ? GTK_WINDOW(g_value_get_object(&parameters[0]))
                                                                     : nullptr;
  if (!window || gtk_window_get_window_type(window) != GTK_WINDOW_TOPLEVEL) return TRUE;
  std::vector<GtkWindow*>& windows = noted();
  if (const auto found = std::find(windows.begin(), windows.end(), window); found != windows.end()) {
    windows.erase(found);
  } else {
    g_object_weak_ref(G_OBJECT(window), forget, nullptr);
  }
  windows.push_back(window);
  return TRUE;
}

}  // namespace

void followFrontWindow() {
  for (const char* signal : {"map", "focus-in-event"}) {
    g_signal_add_emission_hook(g_signal_lookup(signal, GTK_TYPE_WIDGET), 0, note, nullptr, nullptr);
  }
}

Gtk::Window* frontWindow() {
  const std::vector<GtkWindow*>& windows = noted();
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    if (gtk_widget_get_visible(GTK_WIDGET(*window))) return Glib::wrap(*window);
  }
  return nullptr;
}

}  // namespace platform
