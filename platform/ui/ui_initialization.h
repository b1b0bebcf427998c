#pragma once

// Starts GTK and gtkmm once per process and installs the GDK event handler
// that keeps input from windows that may not take it (modal_step.h) and runs
// the local event monitors before GTK dispatches each event.

namespace platform {

// Returns whether a display could be opened. Later calls return the first answer.
bool initializeUi();

}  // namespace platform
