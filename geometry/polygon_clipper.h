#pragma once

// Difference (subject minus clip), intersection, exclusive-or and union of two polygons
// filled even-odd, by a scanbeam sweep, as contours with hole flags or as triangle strips.
//
// Contours and strips of fewer than 3 vertices are dropped. A contour with a vertex that is
// not finite or lies beyond ±1e15 counts as empty. The result may be one of the inputs:
// the inputs are read in full first. Out of memory, std::bad_alloc propagates and the
// result is left as it was.

#include "geometry/polygon_records.h"

// Contours most recently opened first, each listed in the reverse of the order its
// vertices were joined; holes are flagged.
void clipPolygons(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                  PolygonRecord& result);
void clipPolygonsToTristrip(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                            TristripRecord& result);
// The polygon's area as triangle strips.
void polygonToTristrip(const PolygonRecord& polygon, TristripRecord& result);
