#pragma once

// The keyboard focus ring (NSSetFocusRingStyle with NSFocusRingOnly, then a rectangle fill): the theme's focus
// outline around a rectangle of the view, drawn into the current graphics context from the view's drawRect.

#include "platform/core/geometry.h"

namespace platform {

class View;

void drawFocusRing(View& view, const Rect& rect);

}  // namespace platform
