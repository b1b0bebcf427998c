#pragma once

// Boolean operations on paths through the polygon clipper: both operands are flattened at
// 0.01 (their flatness stays 0.01 afterwards), clipped, and the result comes back as closed
// straight subpaths filled even-odd. Where an operand cannot be turned into a polygon the
// result is an empty path.

#include "geometry/polygon_records.h"
#include "platform/graphics/bezier_path.h"

// Whether boolean results pass through bezierPathByUnflatteningPath: 0 never, 1 always,
// 2 (the initial policy) when either operand has a curve; other values act as 0.
void setPathUnflatteningPolicy(int policy);
int pathUnflatteningPolicy();
bool unflattensBooleanResult(const platform::BezierPath& path, const platform::BezierPath& other);

platform::BezierPath pathFromPath(platform::BezierPath& path, platform::BezierPath& other, PolygonOperation operation,
                                  bool unflattenResult);
// Unflattens as the policy says.
platform::BezierPath pathFromPath(platform::BezierPath& path, platform::BezierPath& other, PolygonOperation operation);
platform::BezierPath pathFromUnionWithPath(platform::BezierPath& path, platform::BezierPath& other);
platform::BezierPath pathFromIntersectionWithPath(platform::BezierPath& path, platform::BezierPath& other);
// The path's area minus the other's.
platform::BezierPath pathFromDifferenceWithPath(platform::BezierPath& path, platform::BezierPath& other);
platform::BezierPath pathFromExclusiveOrWithPath(platform::BezierPath& path, platform::BezierPath& other);

// NO without clipping when the bounds do not intersect (an empty box meets nothing);
// otherwise whether the intersection is not empty.
bool intersectsPath(platform::BezierPath& path, platform::BezierPath& other);

// Curves are not rebuilt from the flattened result: the path comes back as it is.
platform::BezierPath bezierPathByUnflatteningPath(const platform::BezierPath& path);
