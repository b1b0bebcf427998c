#pragma once

// The system colours AppKit names, from the GTK theme's named colours.

#include "platform/graphics/color.h"

namespace platform {

// alternateSelectedControlColor: the theme's selected background.
Color alternateSelectedControlColor();
// windowFrameColor: the theme's border colour.
Color windowFrameColor();
// disabledControlTextColor: the theme's insensitive foreground.
Color disabledControlTextColor();

}  // namespace platform
