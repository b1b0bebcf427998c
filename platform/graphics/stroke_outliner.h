#pragma once

// The stroke outliner: replaces a path with the outline of its stroke, a path
// that, filled with the non-zero rule, covers what stroking the original paints
// (within 0.05 units). The outline is a union of overlapping pieces all wound
// counter-clockwise, not a clean pair of contours: fill it non-zero, never even-odd.

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/stroke_style.h"

namespace platform {

// Curves are flattened to within kStrokeTolerance before stroking.
inline constexpr double kStrokeTolerance = 0.05;

// A dash so fine that walking it would take more steps than this over the whole
// path is drawn solid instead, which bounds the work and memory a hostile pattern can cause.
inline constexpr double kMaxDashSteps = 1e6;

// The outline of `path` stroked with `style`, with the non-zero winding rule and
// otherwise default attributes. Empty for an empty path or a width that is not a
// positive finite number. A lone move gives nothing; a zero-length subpath gives a
// disc (round cap), an axis-aligned square (square cap) or nothing (butt cap).
// A dash with a negative, non-finite or all-zero entry strokes solid.
BezierPath strokedOutline(const BezierPath& path, const StrokeStyle& style);

// The same with the path's own width, cap, join, miter limit and dash.
BezierPath strokedOutline(const BezierPath& path);

}  // namespace platform
