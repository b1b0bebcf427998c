#pragma once

// Clipping to the outside of a path.

#include "platform/graphics/bezier_path.h"

// Narrows the current graphics context's clip to the old clip's bounding box less the
// path's inside (even-odd with the box). The result is intersected with the clip in
// force, so drawing never escapes a clip the caller set. Nothing without a context.
void addInverseClip(const platform::BezierPath& path);
