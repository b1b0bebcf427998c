#pragma once

// Key strokes sent to the program's windows through X (kept apart: Xlib's macros clash with the project's names).

#include <string>

// Focuses the top-level window of that name and sends it a press and release of the key (an X keysym name such as
// "p"), with Control held when asked; false without such a window or key.
bool sendKeyToWindowNamed(const std::string& name, const char* keysymName, bool control);
