#include "platform/ui/modal_step.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <vector>

#include "platform/core/log.h"

namespace platform {

namespace {

// The windows of the steps running, the innermost last.
std::vector<GtkWindow*>& steps() {
  static std::vector<GtkWindow*> windows;
  return windows;
}

bool isInput(const GdkEvent* event) {
  switch (event->type) {
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE:
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
    case GDK_BUTTON_RELEASE:
    case GDK_SCROLL:
    case GDK_MOTION_NOTIFY:
    case GDK_TOUCH_BEGIN:
    case GDK_TOUCH_UPDATE:
    case GDK_TOUCH_END:
      return true;
    default:
      return false;
  }
}

GtkWindow* toplevelOf(GtkWidget* widget) {
  GtkWidget* toplevel = widget ? gtk_widget_get_toplevel(widget) : nullptr;
  return toplevel && GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr;
}

// The step's window once shown, or a window standing on it (an alert).
bool belongsToStep(GtkWindow* window, GtkWindow* step) {
  if (!gtk_widget_get_mapped(GTK_WIDGET(step))) return false;
  for (; window; window = gtk_window_get_transient_for(window)) {
    if (window == step) return true;
  }
  return false;
}

// Releases the grabs of the window's group held by widgets no longer realized: every click and key would go to
// them, and be lost.
void releaseDeadGrabs(GtkWindow* window) {
  GtkWindowGroup* group = gtk_window_get_group(window);
  while (GtkWidget* grab = gtk_window_group_get_current_grab(group)) {
    if (gtk_widget_get_realized(grab)) return;
    logWarning(std::string("a grab was left on a ") + G_OBJECT_TYPE_NAME(grab) + " no longer shown; it is released");
    gtk_grab_remove(grab);
  }
}

}  // namespace

ModalStep::ModalStep(Gtk::Window& window) : window_(window) { steps().push_back(window.gobj()); }

ModalStep::~ModalStep() {
  std::vector<GtkWindow*>& windows = steps();
  if (const auto found = std::find(windows.rbegin(), windows.rend(), window_.gobj()); found != windows.rend()) {
    windows.erase(std::next(found).base());
  }
}

bool inputMayProceed(GdkEvent* event) {
  GtkWindow* window = toplevelOf(gtk_get_event_widget(event));
  if (!window) return true;
  // Crossings go to the grab too.
  releaseDeadGrabs(window);
  if (!isInput(event)) return true;
  if (!steps().empty() && !belongsToStep(window, steps().back())) return false;
  // GTK's file chooser hides its location entry, focus and all, while it checks a typed path before answering:
  // keys then go nowhere. Given to the chooser itself they would start a search and drop the path.
  if (event->type == GDK_KEY_PRESS || event->type == GDK_KEY_RELEASE) {
    GtkWidget* focus = gtk_window_get_focus(window);
    if (focus && !gtk_widget_get_realized(focus)) return false;
  }
  return true;
}

}  // namespace platform
