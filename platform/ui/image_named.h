#pragma once

// NSImage imageNamed: for the interface's own pictures (tool icons, cursors):
// "<name>.png" from the resources' "images" folder, decoded once and shared.

#include <gdkmm/pixbuf.h>

#include <memory>
#include <string>

namespace platform {

// Null, with a logged warning, when no resource folder has a readable image of that name.
Glib::RefPtr<Gdk::Pixbuf> pixbufNamed(const std::string& name);

class Image;
// The same picture as an Image for drawing into a graphics context; null when there is none.
std::shared_ptr<Image> imageNamed(const std::string& name);

}  // namespace platform
