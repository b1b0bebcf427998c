#pragma once

// Clean-up copies of a path; both keep the path's attributes.

#include "platform/graphics/bezier_path.h"

// The path without its last `count` elements (all of them when count is not below the
// element count; none when count is negative).
platform::BezierPath bezierPathByRemovingTrailingElements(const platform::BezierPath& path, int count);
// Drops lines and curves that do not leave the previous point (exact comparison, starting
// from (−1, −1)) and a move that ends the path; keeps every close.
platform::BezierPath bezierPathByStrippingRedundantElements(const platform::BezierPath& path);
