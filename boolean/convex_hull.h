#pragma once

// Convex hull of four points by the monotone chain, counter-clockwise (y up)
// from the leftmost point. Collinear points are dropped.

#include "platform/core/geometry.h"

constexpr int PBConvexHullInputCount = 4;

// Writes the hull into `hull` followed by its first point once more, and returns
// the number of hull points (without that repetition): 2 for collinear input.
int PBConvexHullBuildFromPoints(const platform::Point points[PBConvexHullInputCount],
                                platform::Point hull[PBConvexHullInputCount + 1]);
