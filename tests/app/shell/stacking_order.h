#pragma once

// Which window stands above which, as the X server stacks them (no window manager reparents them under Xvfb).

#include <gtkmm/window.h>

namespace shell_testing {

// The window's place among the screen's windows, counted from the bottom; -1 when it is not shown.
int stackingPlace(Gtk::Window& window);

}  // namespace shell_testing
