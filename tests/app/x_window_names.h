#pragma once

// The program's top-level windows as X sees them (kept apart: Xlib's macros
// clash with the project's names).

#include <string>
#include <vector>

// The names of the top-level windows on the default display.
std::vector<std::string> topLevelWindowNames();
// Asks the top-level window of that name to close, as a window manager's close button does; false without one.
bool requestCloseOfWindowNamed(const std::string& name);
// Destroys the top-level window of that name from outside, as `xdotool windowclose` does; false without one.
bool destroyWindowNamed(const std::string& name);
