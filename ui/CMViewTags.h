#pragma once

// Finding views by tag, as viewWithTag: does. Only controls carry tags; any
// other view reads as tag 0.

#include "platform/ui/control.h"

// The view's tag, 0 for a view that is not a control.
int tagOfView(const platform::View& view);
// The first direct subview with that tag, or null.
platform::View* subviewWithTag(const platform::View& parent, int tag);
