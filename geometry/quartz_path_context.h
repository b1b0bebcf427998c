#pragma once

// Putting a path and its stroke attributes into a drawing context, ready for a
// later stroke, fill or clip made directly on the context.

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"

// Adds the path to the context's current path (discarding that path first when
// `isNewPath`) and copies the line width, cap, join, miter limit and dash onto the
// context. Colours and the fill rule are left alone. A dash Cairo would reject
// (a negative, non-finite or all-zero entry) clears the context's dash instead.
void setQuartzPathInContext(const platform::BezierPath& path, platform::GraphicsContext& context, bool isNewPath);

// The same on the current graphics context as a new path; returns that context, or null when there is none.
platform::GraphicsContext* setQuartzPath(const platform::BezierPath& path);
