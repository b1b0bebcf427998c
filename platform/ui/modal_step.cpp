#include "platform/ui/modal_step.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/core/log.h"

namespace platform {

namespace {

struct RunningStep {
  GtkWindow* window;
  std::uintptr_t serial;
};

// The steps running, the innermost last.
std::vector<RunningStep>& steps() {
  static std::vector<RunningStep> running;
  return running;
}

// Each window is marked with the serial of the first step that found it already there. A window unmarked, or
// marked by a later step, was opened while the step ran: the step's own alert, say.
GQuark stepMark() {
  static const GQuark mark = g_quark_from_static_string("draftwork-modal-step");
  return mark;
}

void markWindowsPresent(std::uintptr_t serial) {
  GList* windows = gtk_window_list_toplevels();
  for (GList* entry = windows; entry; entry = entry->next) {
    if (!g_object_get_qdata(G_OBJECT(entry->data), stepMark()))
      g_object_set_qdata(G_OBJECT(entry->data), stepMark(), reinterpret_cast<gpointer>(serial));
  }
  g_list_free(windows);
}

bool openedDuring(GtkWindow* window, const RunningStep& step) {
  const auto mark = reinterpret_cast<std::uintptr_t>(g_object_get_qdata(G_OBJECT(window), stepMark()));
  return mark == 0 || mark > step.serial;
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
    case GDK_DELETE:  // a close request: it too would start a command
      return true;
    default:
      return false;
  }
}

GtkWindow* toplevelOf(GtkWidget* widget) {
  GtkWidget* toplevel = widget ? gtk_widget_get_toplevel(widget) : nullptr;
  return toplevel && GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr;
}

// A window opened during the step (an alert it raises, shown or not its window yet), the step's window once
// shown, or a window standing on it.
bool belongsToStep(GtkWindow* window, const RunningStep& step) {
  if (openedDuring(window, step)) return true;
  if (!gtk_widget_get_mapped(GTK_WIDGET(step.window))) return false;
  for (; window; window = gtk_window_get_transient_for(window)) {
    if (window == step.window) return true;
  }
  return false;
}

// GTK takes a grab away from the group of the widget's window as it is then, which is not the group holding the
// grab once the widget has left for another window or out of every window: for the moment the widget's window
// joins the holding group, or the widget's outermost container stands in a window of that group.
void removeGrab(GtkWindowGroup* group, GtkWidget* grab) {
  GtkWidget* top = gtk_widget_get_toplevel(grab);
  if (GTK_IS_WINDOW(top)) {
    GtkWindow* window = GTK_WINDOW(top);
    if (gtk_window_get_group(window) == group) return gtk_grab_remove(grab);
    GtkWindowGroup* own = gtk_window_has_group(window) ? GTK_WINDOW_GROUP(g_object_ref(gtk_window_get_group(window)))
                                                       : nullptr;
    gtk_window_group_add_window(group, window);
    gtk_grab_remove(grab);
    if (own) {
      gtk_window_group_add_window(own, window);
      g_object_unref(own);
    } else {
      gtk_window_group_remove_window(group, window);
    }
    return;
  }
  if (group == gtk_window_get_group(nullptr)) return gtk_grab_remove(grab);
  GtkWidget* holder = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_group_add_window(group, GTK_WINDOW(holder));
  const bool floating = g_object_is_floating(top);
  g_object_ref(top);
  gtk_container_add(GTK_CONTAINER(holder), top);
  gtk_grab_remove(grab);
  gtk_container_remove(GTK_CONTAINER(holder), top);
  gtk_widget_destroy(holder);
  // As it was: a widget nobody had taken yet stays floating, with the reference it had.
  if (floating) {
    g_object_force_floating(G_OBJECT(top));
  } else {
    g_object_unref(top);
  }
}

// Releases the grabs of the window's group held by widgets no longer realized: every click and key would go to
// them, and be lost. False when one could not be released (then input for the group goes nowhere).
bool releaseDeadGrabs(GtkWindow* window) {
  GtkWindowGroup* group = gtk_window_get_group(window);
  while (GtkWidget* grab = gtk_window_group_get_current_grab(group)) {
    if (gtk_widget_get_realized(grab)) return true;
    logWarning(std::string("a grab was left on a ") + G_OBJECT_TYPE_NAME(grab) + " no longer shown; it is released");
    removeGrab(group, grab);
    // Released by GTK's own rules only: a grab it keeps ends the loop rather than turning it for good.
    if (gtk_window_group_get_current_grab(group) == grab) return false;
  }
  return true;
}

}  // namespace

ModalStep::ModalStep(Gtk::Window& window) : window_(window) {
  static std::uintptr_t lastSerial = 0;
  const std::uintptr_t serial = ++lastSerial;
  markWindowsPresent(serial);
  steps().push_back({window.gobj(), serial});
}

ModalStep::~ModalStep() {
  std::vector<RunningStep>& running = steps();
  const auto found = std::find_if(running.rbegin(), running.rend(),
                                  [this](const RunningStep& step) { return step.window == window_.gobj(); });
  if (found != running.rend()) running.erase(std::next(found).base());
}

bool inputMayProceed(GdkEvent* event) {
  GtkWindow* window = toplevelOf(gtk_get_event_widget(event));
  if (!window) return true;
  // Crossings go to the grab too.
  const bool grabsLive = releaseDeadGrabs(window);
  if (!isInput(event)) return true;
  if (!grabsLive) return false;
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
