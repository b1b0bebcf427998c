#pragma once

// Areas of polygons computed without the clipper, and seeded random polygons.

#include <cstdint>
#include <random>

#include "geometry/polygon_records.h"

namespace polygonoracles {

// Signed area (counter-clockwise positive) of one closed contour.
double shoelace(const PolygonContour& contour);
// Σ |area| of the outer contours minus Σ |area| of the holes: a clipper result's area when
// its contours do not cross and its hole flags are right.
double flaggedArea(const PolygonRecord& polygon);
// The area filled by the even-odd rule, for any contours, crossing or not: the plane is cut
// into slabs at every vertex height and every height where two edges cross, and inside a
// slab the edges, ordered by x at mid-height, bound alternate intervals.
double evenOddArea(const PolygonRecord& polygon);
// Σ |area| of the triangles of every strip.
double stripArea(const TristripRecord& tristrip);
// The area of the box around both polygons' vertices.
double boundingArea(const PolygonRecord& a, const PolygonRecord& b);

// 1 to 3 contours of 3 to 200 vertices on the integer grid 0..20: random points, random
// walks with horizontal runs and back-tracking, and rectangles, so vertices are shared and
// edges overlap, run collinear and cross.
PolygonRecord randomGridPolygon(std::mt19937& random);
// 1 or 2 contours of 3 to 20 vertices at random real coordinates in [-50, 50].
PolygonRecord randomRealPolygon(std::mt19937& random);

}  // namespace polygonoracles
