#pragma once

// Inserting an anchor into a path's point records where the outline passes nearest to a point, without changing
// the outline: a line is divided at the foot of the perpendicular, a curve split there by de Casteljau.

#include <cstdint>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

// Inserts a point record of id `id` on the segment of `points` (read as CMPathShape::pathFromPointRecords reads
// them) that passes nearest to `q`. A curve's new anchor is a curve point whose handles are the two halves' inner
// control points, in line through it, and the halves' outer control points replace the old ones. Returns whether
// a segment was found.
bool insertPointOnOutline(const platform::ArrayRef& points, platform::Point q, std::int64_t id);
