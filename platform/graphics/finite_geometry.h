#pragma once

// Checks that keep non-finite numbers away from Cairo, which would enter a permanent error state.

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

namespace platform {

bool isFinitePoint(Point point);
bool isFiniteRect(const Rect& rect);
// Every point of every element is finite.
bool isFinitePath(const BezierPath& path);

}  // namespace platform
