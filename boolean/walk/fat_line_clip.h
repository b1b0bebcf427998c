#pragma once

// Bezier clipping against a fat line: the parameter range of one curve is cut
// down to where its distance function can lie inside the band around the other.

#include "boolean/bezier_curve_data.h"
#include "boolean/line_equation.h"
#include "boolean/range.h"

// The parameters of `curve` whose hull of distance points (0, d0), (1/3, d1), (2/3, d2), (1, d3) from `line`
// lies within the band; empty as (1, 0). A bound that is not finite gives the full range 0..1.
PBRange PBClipHullToBand(const PBLineEquation& line, const PBRange& band, const PBBezierCurveData& curve);

// Clips `curveToClip` (the piece of `wholeCurve` over `*range`) against the fat line of `fatLineCurve`
// and its perpendicular. On a hit, narrows `*range`, sets `*intersects` and returns the whole curve's piece
// over the new range; on a miss, clears `*intersects` and returns `curveToClip` unchanged.
PBBezierCurveData PBFatLineClip(const PBBezierCurveData& curveToClip, const PBBezierCurveData& fatLineCurve,
                                const PBBezierCurveData& wholeCurve, PBRange* range, bool* intersects);
// The fat line of a curve (through its ends) and the perpendicular through the chord's middle, each with the band
// of the curve's points around it: what PBFatLineClip clips against.
struct PBFatLineBands {
  PBLineEquation line;
  PBRange band;
  PBLineEquation perpendicular;
  PBRange perpendicularBand;
};
PBFatLineBands PBFatLineBandsOfCurve(const PBBezierCurveData& curve);

// Whether PBFatLineClip against the curve with these bands certainly misses, decided from the control points'
// distances alone: the whole curve to clip lies beyond one border of either band.
bool PBFatLineClipMisses(const PBBezierCurveData& curveToClip, const PBFatLineBands& bands);
