#pragma once

// Strokes that show only the inside or only the outside half: the path is stroked at
// twice its width with the clip narrowed to one side of it, so the visible band keeps
// the path's own width. They draw in the current graphics context with its stroke
// colour, narrow the clip only for their own drawing (never widen it) and leave the
// path and the context as they were. Nothing without a context.

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

// A rectangle with a positive width and height narrows the clip further; any other draws without it.
void strokeInsideWithinRect(const platform::BezierPath& path, const platform::Rect& rect);
void strokeOutsideWithinRect(const platform::BezierPath& path, const platform::Rect& rect);
void strokeInside(const platform::BezierPath& path);
void strokeOutside(const platform::BezierPath& path);
