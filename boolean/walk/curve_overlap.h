#pragma once

// Overlap detection inside the curve intersection search: pieces of two curves
// that coincide are reported as one PBBezierIntersectRange instead of points.

#include <memory>

#include "boolean/bezier_curve_data.h"
#include "boolean/range.h"

class PBBezierCurve;
class PBBezierIntersectRange;

using PBOverlapSlot = std::shared_ptr<PBBezierIntersectRange>;

// Trims two straight pieces to the stretch they share on one line. Fails when they are not on one line or
// share nothing; piece A and range A may be trimmed even then.
bool PBTrimCollinearLines(PBRange* rangeA, PBRange* rangeB, PBBezierCurveData* dataA, PBBezierCurveData* dataB,
                          const PBBezierCurveData& wholeA, const PBBezierCurveData& wholeB);

// After a clip missed: the pieces may still lie on top of each other.
void PBOverlapAfterMiss(PBOverlapSlot* overlap, PBRange* rangeA, PBRange* rangeB, PBBezierCurve* curve1,
                        PBBezierCurve* curve2, PBBezierCurveData dataA, PBBezierCurveData dataB);

// When clipping stalls: tests whether the pieces coincide, projecting each piece's ends onto the other
// curve. Returns true for an overlap (stored when a slot is given). When the projected pieces run close,
// the ranges take the projected values and the pieces are recut to match.
bool PBOverlapWhenStalled(PBOverlapSlot* overlap, PBRange* rangeA, PBRange* rangeB, PBBezierCurve* curve1,
                          PBBezierCurve* curve2, PBBezierCurveData* dataA, PBBezierCurveData* dataB);

// Stores an overlap of the whole curves over the ranges when the pieces are equal, directly or with B
// reversed; returns whether they were.
bool PBStoreOverlapIfEqual(PBOverlapSlot* overlap, const PBRange& rangeA, const PBRange& rangeB, PBBezierCurve* curve1,
                           PBBezierCurve* curve2, const PBBezierCurveData& dataA, const PBBezierCurveData& dataB);
