#pragma once

// Drawing a Bezier path into a Cairo context: the seam the current graphics
// context builds on. Each call replaces the context's current path and leaves
// the context's own line attributes and fill rule as they were.
//
// Patterns Cairo rejects are sanitised: a dash with a negative, non-finite or
// only zero entries strokes solid (Cairo would enter a permanent error state),
// and a line width of 0 (the thinnest visible line) strokes one device pixel wide.

#include <cairo.h>

#include "platform/graphics/bezier_path.h"

namespace platform {

// Fills under the path's winding rule with the current source.
void fill(const BezierPath& path, cairo_t* cr);
// Strokes with the path's width, cap, join, miter limit and dash.
void stroke(const BezierPath& path, cairo_t* cr);
// Intersects the clip with the path's interior under its winding rule.
void addClip(const BezierPath& path, cairo_t* cr);
// Class-level conveniences: a rectangle path with the class-wide defaults.
void fillRect(const Rect& rect, cairo_t* cr);
void strokeRect(const Rect& rect, cairo_t* cr);

}  // namespace platform
