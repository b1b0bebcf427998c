#pragma once

// The boolean operations on platform paths. Each returns a new even-odd path
// carrying the receiver's line width, cap, join, miter limit and flatness.
//
// Both operands are read by the even-odd rule whatever their winding rule. A
// single subpath that crosses itself is treated as one ring rather than split
// at its crossings, so results for self-intersecting outlines are unreliable.

#include "platform/graphics/bezier_path.h"

// Area covered by either path.
platform::BezierPath pb_union(const platform::BezierPath& path, const platform::BezierPath& other);
// Area covered by both.
platform::BezierPath pb_intersect(const platform::BezierPath& path, const platform::BezierPath& other);
// The receiver's area minus the argument's.
platform::BezierPath pb_difference(const platform::BezierPath& path, const platform::BezierPath& other);
// Area covered by exactly one (the shape layer's "subtract" command).
platform::BezierPath pb_xor(const platform::BezierPath& path, const platform::BezierPath& other);
