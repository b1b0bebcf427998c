#pragma once

// Where the user's input may go. While a modal step runs (a wait in a nested main loop, such as a CorelDRAW
// conversion's), keys, clicks, scrolls and close requests go only to the step's own window (and to windows standing
// on it) once it is shown, and to windows opened while the step runs (an alert it raises, even before its window
// shows): input for any other window is dropped, so that no other command starts meanwhile. Of steps running at
// once the one begun last rules. At all times input goes only to realized widgets: a GTK grab left on a widget that
// is no longer realized, which would take every click and key for good, is released, and keys for a window whose
// focus widget is not realized are dropped, where GTK would only report them lost.

#include <gdk/gdk.h>
#include <gtkmm/window.h>

namespace platform {

class ModalStep {
 public:
  // The step runs until the object goes; a step begun within another rules until it ends.
  explicit ModalStep(Gtk::Window& window);
  ~ModalStep();
  ModalStep(const ModalStep&) = delete;
  ModalStep& operator=(const ModalStep&) = delete;

 private:
  Gtk::Window& window_;
};

// Whether an event from GDK goes on to GTK; the GDK event handler asks it before GTK dispatches each event.
bool inputMayProceed(GdkEvent* event);

}  // namespace platform
