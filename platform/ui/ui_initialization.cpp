#include "platform/ui/ui_initialization.h"

#include <gtk/gtk.h>
#include <gtkmm/main.h>

#include "platform/ui/event_monitor.h"
#include "platform/ui/front_window.h"
#include "platform/ui/gdk_event_translation.h"
#include "platform/ui/modal_step.h"
#include "platform/ui/x_errors.h"

namespace platform {

namespace {

void handleGdkEvent(GdkEvent* event, gpointer) {
  if (!inputMayProceed(event)) return;
  if (auto translated = eventFromGdkForMonitors(event)) {
    if (!runLocalEventMonitors(*translated)) return;
  }
  gtk_main_do_event(event);
}

bool start() {
  if (!gtk_init_check(nullptr, nullptr)) return false;
  Gtk::Main::init_gtkmm_internals();
  logUnexpectedXErrors();
  gdk_event_handler_set(handleGdkEvent, nullptr, nullptr);
  followFrontWindow();
  return true;
}

}  // namespace

bool initializeUi() {
  static const bool started = start();
  return started;
}

}  // namespace platform
