#pragma once

// Copies of a path with every point pushed sideways, giving a path that runs roughly
// parallel to it. A point moves along the normal of the segment that leaves it (the
// last point along the normal of the segment that reaches it); there are no corner
// joins, curves are not re-fitted and self-intersections stay. A positive offset moves
// points to the left of the direction of travel (y-up). The result has one element per
// element of the path, of the same kind and in the same order, and the class-default
// attributes. The arithmetic is single precision, as in the drawings made with it.
//
// The element before a close heads towards the start of the subpath being closed and
// the close itself from the previous end point to that start. A zero-length heading
// moves the point by (0, offset). A one-element path gives an unshifted copy, an empty
// path an empty one; a non-finite offset counts as 0.

#include "platform/graphics/bezier_path.h"

platform::BezierPath paralleloidPathWithOffset(const platform::BezierPath& path, float offset);
// Same as paralleloidPathWithOffset.
platform::BezierPath paralleloidPathWithOffset2(const platform::BezierPath& path, float offset);

// The offset varies linearly over the elements: element i of n gets
// startingOffset + i·(endingOffset − startingOffset)/(n − 1).
platform::BezierPath offsetPathWithStartingOffset(const platform::BezierPath& path, float startingOffset,
                                                  float endingOffset);
// Same as offsetPathWithStartingOffset.
platform::BezierPath offsetPathWithStartingOffset2(const platform::BezierPath& path, float startingOffset,
                                                   float endingOffset);
