#pragma once

// Paths as polygons and back: curves are flattened, every subpath becomes one contour,
// and a polygon becomes a path of closed straight subpaths filled even-odd.

#include <optional>

#include "geometry/polygon_records.h"
#include "platform/graphics/bezier_path.h"

// One closed subpath per contour with at least one vertex (hole flags are not read: holes
// come out by the even-odd rule).
platform::BezierPath bezierPathWithPolygonRecord(const PolygonRecord& polygon);

// Sets the path's flatness to `flatness` (the change stays on the path) and turns its
// flattened copy into one contour per move, closed by repeating its first vertex: a
// subpath of k points gives k + 1 vertices. No record when the flattened copy still holds
// a curve. Hole flags are left empty.
std::optional<PolygonRecord> polygonRecordWithFlatness(platform::BezierPath& path, float flatness);
// At flatness 0.01.
std::optional<PolygonRecord> polygonRecord(platform::BezierPath& path);

// The number of elements from `element` up to the next move (the path's end when none
// follows); 1 when `element` is the last element or beyond it.
int subPathCountStartingAtElement(const platform::BezierPath& path, int element);
// Counts each kind of element; a null pointer skips that count.
void getPathMoveToCount(const platform::BezierPath& path, int* moves, int* lines, int* curves, int* closes);
