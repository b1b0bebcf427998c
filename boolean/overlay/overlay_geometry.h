#pragma once

// The geometric questions the overlay asks of its edges and links, in the working frame.

#include <cstddef>
#include <functional>
#include <vector>

#include "boolean/bezier_curve_data.h"
#include "platform/core/geometry.h"

// Every pair i < j of rectangles at most `gap` apart, by a sweep over their left sides.
void PBOverlayForEachPairOfNearRects(const std::vector<platform::Rect>& rects, double gap,
                                     const std::function<void(std::size_t, std::size_t)>& block);

// Whether the segments p0 p1 and q0 q1 cross strictly inside both, each one's ends on either side of the other's
// line; then where, and how far along each.
bool PBOverlayLinesCross(platform::Point p0, platform::Point p1, platform::Point q0, platform::Point q1,
                         platform::Point* crossing, double* alongP, double* alongQ);

// Whether the curve passes within `distance` of the point, and where (the parameter of about its nearest point):
// halves of the curve whose control points stay further away are passed over, and a half flat to within a small
// share of the distance is measured as its chord.
bool PBOverlayPassesWithin(const PBBezierCurveData& curve, platform::Point point, double distance,
                           double* parameter);

// Whether the curve's control points lie within `distance` of the segment between its ends.
bool PBOverlayHugsChord(const PBBezierCurveData& curve, double distance);

// Whether the curve's control points lie within `distance` of the line through its ends (ends apart); if so, the
// parameters in (0, 1) where it turns back along that line, in order, in `turns`, and how many (0 to 2); else -1.
int PBOverlayFlatTurns(const PBBezierCurveData& curve, double distance, double turns[2]);

// The length of the control polygon: at least the curve's length, at most a few times it, and cheap.
double PBOverlayPolygonLength(const PBBezierCurveData& curve);

// The point at the parameter, exact at both ends.
platform::Point PBOverlayPointAt(const PBBezierCurveData& curve, double parameter);

// ∫ x dy − y dx over the curve, halved: summed around a closed outline, its signed area (counter-clockwise positive).
double PBOverlayAreaTerm(const PBBezierCurveData& curve);

// How many times the curve crosses the ray from `point` towards −x, counted half-open in y so that a ray through a
// point where two curves meet counts once.
int PBOverlayCrossingsLeftOf(const PBBezierCurveData& curve, platform::Point point);

// The direction in which the curve leaves its start, as an angle: for a curve, that of the chord to a point a short
// way along, so that curves leaving in one direction are ordered by how they bend.
double PBOverlayLeavingAngle(const PBBezierCurveData& curve);
// The same, measured where the curve is a sixty-fourth of a unit of the working frame from its start (or at its end
// when that is nearer): the same distance for every curve, so that curves leaving nearly together are ordered by
// where they are there, not by how fast they get there.
double PBOverlayLeavingAngleAtReach(const PBBezierCurveData& curve);
