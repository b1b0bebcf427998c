#pragma once

// The scanbeam sweep: beams between successive vertex heights, bottom to top, with the
// active edges ordered by x. What the vertices and crossings make is up to the output.

#include "geometry/polygon_clip_counters.h"
#include "geometry/polygon_clip_edges.h"

namespace polygonclip {

// Builds the tables and sweeps them, unless the result is empty without looking: both inputs
// empty, an empty subject of a difference or intersection, an empty clip of an intersection.
// Adds what it did to the installed counters. The output (ContourOutput or StripOutput) is told
// beginBoundary() at the start of each walk along a beam boundary, left to right, then
// boundary(edge, class, yb) for each contributing vertex, and crossing(e0, e1, class, x, y) for
// each crossing of two contributing edges.
template <class Output>
void clipWithSweep(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip, Output& output);

}  // namespace polygonclip
