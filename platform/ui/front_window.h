#pragma once

// The program's window the user works in: of its shown windows (menus, pop-ups and tooltips aside), the one that
// last took the keyboard focus or was last shown, whichever came later. An alert stands on it, so that it opens
// above the window that caused it, not beneath a window shown since.

#include <gtkmm/window.h>

namespace platform {

// Starts following the windows; initializeUi calls it once.
void followFrontWindow();
// Null when no window is shown.
Gtk::Window* frontWindow();

}  // namespace platform
