#pragma once

// Moving paths into and out of a cairo_t, in the context's user space.

#include <cairo.h>

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/quartz_path.h"

namespace platform {

// Appends to the context's current path. Quadratics become cubics by exact degree elevation.
void appendToCairo(cairo_t* cr, const BezierPath& path);
void appendToCairo(cairo_t* cr, const QuartzPath& path);

// Reads the context's current path back (cairo_copy_path). Cairo adds a move after
// every close; one that goes to the closed subpath's start is dropped. A context in
// an error state reads as an empty path.
QuartzPath quartzPathFromCairo(cairo_t* cr);
// As above, into a Bezier path with the class-wide default attributes.
BezierPath bezierPathFromCairo(cairo_t* cr);

}  // namespace platform
