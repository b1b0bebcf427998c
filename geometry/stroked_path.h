#pragma once

// The outline of a path's stroke as a new path to fill with the non-zero rule.

#include <optional>

#include "platform/graphics/bezier_path.h"

// The outline with the path's width, cap, join, miter limit and dash, in the path's own
// coordinates. nullopt when the bounds grown by 14 × width on every side are empty (a
// horizontal or vertical line of width 0, say); an empty path with a positive width gives
// an empty outline.
std::optional<platform::BezierPath> strokedPath(const platform::BezierPath& path);

// Sets the path's line width first (the new width stays on the path), then strokedPath.
std::optional<platform::BezierPath> strokedPathWithStrokeWidth(platform::BezierPath& path, float width);
