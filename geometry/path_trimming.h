#pragma once

// Cutting a path by arc length, and arrowheads made of its own first stretch. Lengths
// are clamped to 0…the path's length, so a result always lies on the path; elements of
// zero length are never divided. Results are new paths with the class-default attributes.

#include "platform/graphics/bezier_path.h"

// The stretch from the start up to `length`.
platform::BezierPath bezierPathByTrimmingToLength(const platform::BezierPath& path, float length, float error = 0.1f);
// The rest after `length`; it starts with a move to the cut point.
platform::BezierPath bezierPathByTrimmingFromLength(const platform::BezierPath& path, float length,
                                                    float error = 0.1f);
// The path less `length` at each end, running from its end towards its start.
platform::BezierPath bezierPathByTrimmingFromBothEnds(const platform::BezierPath& path, float length,
                                                      float error = 0.1f);
// The path less a stretch of `length` around its middle.
platform::BezierPath bezierPathByTrimmingFromCentre(const platform::BezierPath& path, float length,
                                                    float error = 0.1f);
// Two barbs of `length` (the path's first stretch turned by ±`degrees` about the first
// point), from one barb's tip through the first point to the other's; closed on request.
platform::BezierPath bezierPathWithArrowHeadForStartOfLength(const platform::BezierPath& path, float length,
                                                             float degrees, bool closingPath);
// The same at the last point.
platform::BezierPath bezierPathWithArrowHeadForEndOfLength(const platform::BezierPath& path, float length,
                                                           float degrees, bool closingPath);
// Appends `other`, dropping its first element when that is a move.
void appendBezierPathRemovingInitialMoveToPoint(platform::BezierPath& path, const platform::BezierPath& other);
