#pragma once

// Whether a straight segment touches the drawn outline of a path: its line and curve
// segments, and the closing side of each closed subpath (curves are flattened first).
// The inside of a shape does not count, only its outline. Non-finite points touch nothing.

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

bool segmentCrossesPath(platform::Point from, platform::Point to, const platform::BezierPath& path);
