#include "boolean/curve_overlap.h"

#include <algorithm>
#include <cmath>

#include "boolean/bezier_curve.h"
#include "boolean/bezier_intersect_range.h"
#include "boolean/line_functions.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"

using platform::Point;

namespace {

constexpr double kProjectionCloseThreshold = 1e-4;

// Measured as a distance rather than as the turn's cross product, which grows with the line's length: edges
// 1e-9 apart are one edge however long. Edges that near each other meet nowhere the clipping could find, so
// taking them as apart left both outlines of two nearly equal squares in their union.
bool isOnLine(const PBBezierCurveData& line, Point point) {
  const double length = PBDistanceBetweenPoints(line.endPoint1, line.endPoint2);
  const double turn = PBCounterClockwiseTurn(line.endPoint1, line.endPoint2, point);
  return std::abs(turn) <= PBCollinearDistanceThreshold * length;
}

// Trims `range`/`piece` to the part of `piece`'s line covered by the segment `from`..`to`.
bool trimToSegment(PBRange* range, PBBezierCurveData* piece, const PBBezierCurveData& whole, Point from, Point to) {
  const double parameter1 = PBParameterOfPointOnLine(piece->endPoint1, piece->endPoint2, from);
  const double parameter2 = PBParameterOfPointOnLine(piece->endPoint1, piece->endPoint2, to);
  const double low = std::max(0.0, std::min(parameter1, parameter2));
  const double high = std::min(1.0, std::max(parameter1, parameter2));
  if (!(low <= high)) return false;
  const double size = PBRangeGetSize(*range);
  *range = {range->minimum + size * low, range->minimum + size * high};
  *piece = PBBezierCurveDataSubcurveWithRange(whole, *range);
  return true;
}

PBRange orderedRange(double value1, double value2) { return {std::min(value1, value2), std::max(value1, value2)}; }

}  // namespace

bool PBStoreOverlapIfEqual(PBOverlapSlot* overlap, const PBRange& rangeA, const PBRange& rangeB, PBBezierCurve* curve1,
                           PBBezierCurve* curve2, const PBBezierCurveData& dataA, const PBBezierCurveData& dataB) {
  bool reversed = false;
  if (!PBBezierCurveDataIsApproximatelyEqual(dataA, dataB)) {
    if (!PBBezierCurveDataIsApproximatelyEqual(dataA, PBBezierCurveDataReversed(dataB))) return false;
    reversed = true;
  }
  if (overlap) *overlap = PBBezierIntersectRange::intersectRangeWithCurve1(curve1, rangeA, curve2, rangeB, reversed);
  return true;
}

bool PBTrimCollinearLines(PBRange* rangeA, PBRange* rangeB, PBBezierCurveData* dataA, PBBezierCurveData* dataB,
                          const PBBezierCurveData& wholeA, const PBBezierCurveData& wholeB) {
  if (!PBRectsOverlap(PBBezierCurveDataBounds(dataA), PBBezierCurveDataBounds(dataB))) return false;
  if (!isOnLine(*dataA, dataB->endPoint1) || !isOnLine(*dataA, dataB->endPoint2)) return false;
  if (!trimToSegment(rangeA, dataA, wholeA, dataB->endPoint1, dataB->endPoint2)) return false;
  return trimToSegment(rangeB, dataB, wholeB, dataA->endPoint1, dataA->endPoint2);
}

void PBOverlapAfterMiss(PBOverlapSlot* overlap, PBRange* rangeA, PBRange* rangeB, PBBezierCurve* curve1,
                        PBBezierCurve* curve2, PBBezierCurveData dataA, PBBezierCurveData dataB) {
  if (dataA.isStraightLine && dataB.isStraightLine) {
    // Only the trimming matters here: the equality test below decides.
    PBTrimCollinearLines(rangeA, rangeB, &dataA, &dataB, curve1->data(), curve2->data());
  }
  PBStoreOverlapIfEqual(overlap, *rangeA, *rangeB, curve1, curve2, dataA, dataB);
}

bool PBOverlapWhenStalled(PBOverlapSlot* overlap, PBRange* rangeA, PBRange* rangeB, PBBezierCurve* curve1,
                          PBBezierCurve* curve2, PBBezierCurveData* dataA, PBBezierCurveData* dataB) {
  if (PBStoreOverlapIfEqual(overlap, *rangeA, *rangeB, curve1, curve2, *dataA, *dataB)) return true;

  const PBBezierCurveData wholeA = curve1->data();
  const PBBezierCurveData wholeB = curve2->data();
  const PBRange projectedA = orderedRange(PBBezierCurveDataClosestLocation(wholeA, dataB->endPoint1).parameter,
                                          PBBezierCurveDataClosestLocation(wholeA, dataB->endPoint2).parameter);
  const PBRange projectedB = orderedRange(PBBezierCurveDataClosestLocation(wholeB, dataA->endPoint1).parameter,
                                          PBBezierCurveDataClosestLocation(wholeB, dataA->endPoint2).parameter);
  const PBBezierCurveData pieceA = PBBezierCurveDataSubcurveWithRange(wholeA, projectedA);
  const PBBezierCurveData pieceB = PBBezierCurveDataSubcurveWithRange(wholeB, projectedB);
  if (!PBBezierCurveDataAreClose(pieceA, pieceB, kProjectionCloseThreshold) &&
      !PBBezierCurveDataAreClose(pieceA, PBBezierCurveDataReversed(pieceB), kProjectionCloseThreshold)) {
    return false;
  }
  *rangeA = projectedA;
  *rangeB = projectedB;
  *dataA = pieceA;
  *dataB = pieceB;
  return PBStoreOverlapIfEqual(overlap, *rangeA, *rangeB, curve1, curve2, pieceA, pieceB);
}
