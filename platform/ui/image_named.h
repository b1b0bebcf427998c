#pragma once

// NSImage imageNamed: for the interface's own pictures (tool icons, cursors):
// "<name>.png" from the resources' "images" folder, decoded once and shared.

#include <gdkmm/pixbuf.h>

#include <string>

namespace platform {

// Null, with a logged warning, when no resource folder has a readable image of that name.
Glib::RefPtr<Gdk::Pixbuf> pixbufNamed(const std::string& name);

}  // namespace platform
