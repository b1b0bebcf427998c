#include "boolean/walk/curve_overlap.h"

#include <algorithm>
#include <cmath>

#include "boolean/bezier_curve.h"
#include "boolean/line_functions.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/closest_parameter_span.h"

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

// Deep enough to place a projection within a four-thousandth of the parameter, far shallower than the full search.
constexpr int kShallowProjectionDepth = 12;

// A point of a curve known only to lie within `reach` of `point` (per coordinate).
struct PlacedPoint {
  Point point;
  double reach;
};

PlacedPoint placeOnCurve(const PBBezierCurveData& whole, double minimum, double maximum, double speed) {
  const double middle = (minimum + maximum) / 2;
  return {PBBezierCurveDataPointAtParameter(whole, middle, nullptr, nullptr), speed * (maximum - minimum) / 2};
}

// Farther apart than `threshold` in some coordinate, whatever the two points' uncertainty and rounding.
bool areSurelyApart(const PlacedPoint& point1, const PlacedPoint& point2, double threshold, double slack) {
  const double limit = threshold + point1.reach + point2.reach + slack;
  return std::fabs(point1.point.x - point2.point.x) > limit || std::fabs(point1.point.y - point2.point.y) > limit;
}

// The pieces the stalled test would compare, for one choice of where each projection lands.
struct ProjectionChoice {
  PBRange onA1, onA2, onB1, onB2;
};

bool choiceIsSurelyApart(const ProjectionChoice& choice, const PBBezierCurveData& wholeA,
                         const PBBezierCurveData& wholeB, double speedA, double speedB, double slack) {
  const PlacedPoint endA1 = placeOnCurve(wholeA, choice.onA1.minimum, choice.onA1.maximum, speedA);
  const PlacedPoint endA2 = placeOnCurve(wholeA, choice.onA2.minimum, choice.onA2.maximum, speedA);
  const PlacedPoint endB1 = placeOnCurve(wholeB, choice.onB1.minimum, choice.onB1.maximum, speedB);
  const PlacedPoint endB2 = placeOnCurve(wholeB, choice.onB2.minimum, choice.onB2.maximum, speedB);
  const PlacedPoint middleA = placeOnCurve(wholeA, (choice.onA1.minimum + choice.onA2.minimum) / 2,
                                           (choice.onA1.maximum + choice.onA2.maximum) / 2, speedA);
  const PlacedPoint middleB = placeOnCurve(wholeB, (choice.onB1.minimum + choice.onB2.minimum) / 2,
                                           (choice.onB1.maximum + choice.onB2.maximum) / 2, speedB);
  const double threshold = kProjectionCloseThreshold;
  if (areSurelyApart(middleA, middleB, threshold, slack)) return true;
  // The pieces are compared both ways round, so the ends must pair up neither way.
  const bool straightPairingFails =
      areSurelyApart(endA1, endB1, threshold, slack) || areSurelyApart(endA2, endB2, threshold, slack);
  const bool crossedPairingFails =
      areSurelyApart(endA1, endB2, threshold, slack) || areSurelyApart(endA2, endB1, threshold, slack);
  return straightPairingFails && crossedPairingFails;
}

// Whether shallow projections already prove that the projected pieces of the stalled test cannot be close: for
// every place each projection may land, their middles differ or their ends pair up neither way. The full
// projections then need not be computed; the answer is the same.
bool projectedPiecesAreSurelyApart(const PBBezierCurveData& wholeA, const PBBezierCurveData& wholeB,
                                   const PBBezierCurveData& dataA, const PBBezierCurveData& dataB) {
  constexpr int kMaximumChoices = 16;
  const double speedA = PBBezierCurveDataSpeedBound(wholeA);
  const double speedB = PBBezierCurveDataSpeedBound(wholeB);
  double scale = 1;
  for (const PBBezierCurveData* whole : {&wholeA, &wholeB}) {
    for (const Point& corner : {whole->endPoint1, whole->controlPoint1, whole->controlPoint2, whole->endPoint2}) {
      scale = std::max({scale, std::fabs(corner.x), std::fabs(corner.y)});
    }
  }
  // Cutting the pieces and evaluating them rounds a little differently from evaluating the whole curves.
  const double slack = 1e-10 * scale;
  const double threshold = kProjectionCloseThreshold;

  const PBClosestParameterSpans onA1 =
      PBBezierCurveDataClosestParameterSpans(wholeA, dataB.endPoint1, kShallowProjectionDepth);
  const PBClosestParameterSpans onA2 =
      PBBezierCurveDataClosestParameterSpans(wholeA, dataB.endPoint2, kShallowProjectionDepth);
  const PBClosestParameterSpans onB1 =
      PBBezierCurveDataClosestParameterSpans(wholeB, dataA.endPoint1, kShallowProjectionDepth);
  if (!onA1.known || !onA2.known || !onB1.known) return false;
  if (onA1.count * onA2.count * onB1.count > kMaximumChoices) return false;
  // Either way round, the first end of B's piece must meet one of the ends of A's: when it surely meets neither,
  // the fourth projection is not needed.
  bool meetsAnEnd = false;
  for (int b1 = 0; b1 < onB1.count && !meetsAnEnd; ++b1) {
    const PlacedPoint endB1 = placeOnCurve(wholeB, onB1.spans[b1].minimum, onB1.spans[b1].maximum, speedB);
    for (const PBClosestParameterSpans* onA : {&onA1, &onA2}) {
      for (int a = 0; a < onA->count && !meetsAnEnd; ++a) {
        const PlacedPoint endA = placeOnCurve(wholeA, onA->spans[a].minimum, onA->spans[a].maximum, speedA);
        meetsAnEnd = !areSurelyApart(endA, endB1, threshold, slack);
      }
    }
  }
  if (!meetsAnEnd) return true;

  const PBClosestParameterSpans onB2 =
      PBBezierCurveDataClosestParameterSpans(wholeB, dataA.endPoint2, kShallowProjectionDepth);
  if (!onB2.known || onA1.count * onA2.count * onB1.count * onB2.count > kMaximumChoices) return false;
  for (int a1 = 0; a1 < onA1.count; ++a1) {
    for (int a2 = 0; a2 < onA2.count; ++a2) {
      for (int b1 = 0; b1 < onB1.count; ++b1) {
        for (int b2 = 0; b2 < onB2.count; ++b2) {
          const ProjectionChoice choice{onA1.spans[a1], onA2.spans[a2], onB1.spans[b1], onB2.spans[b2]};
          if (!choiceIsSurelyApart(choice, wholeA, wholeB, speedA, speedB, slack)) return false;
        }
      }
    }
  }
  return true;
}

}  // namespace

bool PBStoreOverlapIfEqual(PBOverlapSlot* overlap, const PBRange& rangeA, const PBRange& rangeB, PBBezierCurve* curve1,
                           PBBezierCurve* curve2, const PBBezierCurveData& dataA, const PBBezierCurveData& dataB) {
  // Equal either way round needs A's start at one of B's ends; most pairs fail that before any copying.
  if (!PBArePointsCloseWithOptions(dataA.endPoint1, dataB.endPoint1, PBApproximateEndPointThreshold) &&
      !PBArePointsCloseWithOptions(dataA.endPoint1, dataB.endPoint2, PBApproximateEndPointThreshold)) {
    return false;
  }
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
  if (projectedPiecesAreSurelyApart(wholeA, wholeB, *dataA, *dataB)) return false;
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
