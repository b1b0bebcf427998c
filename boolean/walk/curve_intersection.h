#pragma once

// The recursive search behind PBBezierCurve::intersectionsWithBezierCurve.
// Ranges are always in the parameter space of the whole curves, and pieces are
// always cut afresh from the whole curves over their ranges.

#include "boolean/bezier_curve.h"
#include "boolean/bezier_curve_data.h"
#include "boolean/range.h"
#include "boolean/walk/curve_overlap.h"

constexpr int PBClipMaximumIterations = 500;
constexpr int PBClipMaximumSplitDepth = 9;
constexpr int PBClipConvergencePlaces = 6;

// Narrows `rangeA` (on `curve1`, piece `dataA`) and `rangeB` (on `curve2`, piece `dataB`) to each meeting
// point, reporting intersections through `block` and overlaps into `overlap` (null drops them).
void PBClipIntersectCurves(PBRange* rangeA, PBRange* rangeB, PBBezierCurve* curve1, PBBezierCurve* curve2,
                           PBOverlapSlot* overlap, int depth, PBBezierCurveData dataA, PBBezierCurveData dataB,
                           const PBIntersectionBlock& block, bool* stop);
