#include "boolean/walk/curve_intersection.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

#include "boolean/line_functions.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/fat_line_clip.h"

using platform::Point;

namespace {

constexpr double kStallReduction = 0.2;
constexpr double kFinalPointThreshold = 0.001;
constexpr int kFirstRefinementPasses = 3;
constexpr int kSecondRefinementPasses = 4;
constexpr int kNewtonSteps = 3;
constexpr int kPolishSteps = 2;
constexpr double kPolishSlack = 1e-6;
constexpr double kConvergedPointSlack = 1e-5;

double polygonLength(const PBBezierCurveData& data) {
  return PBDistanceBetweenPoints(data.endPoint1, data.controlPoint1) +
         PBDistanceBetweenPoints(data.controlPoint1, data.controlPoint2) +
         PBDistanceBetweenPoints(data.controlPoint2, data.endPoint2);
}

bool hasConverged(const PBRange& range) { return PBRangeHasConverged(range, PBClipConvergencePlaces); }

void report(PBBezierCurve* curve1, double parameter1, PBBezierCurve* curve2, double parameter2,
            const PBIntersectionBlock& block, bool* stop) {
  block(PBBezierIntersection::intersectionWithCurve1(curve1, parameter1, curve2, parameter2), stop);
}

void intersectStraightLines(PBRange* rangeA, PBRange* rangeB, PBBezierCurve* curve1, PBBezierCurve* curve2,
                            PBOverlapSlot* overlap, const PBBezierCurveData& dataA, const PBBezierCurveData& dataB,
                            const PBIntersectionBlock& block, bool* stop) {
  PBBezierCurveData trimmedA = dataA;
  PBBezierCurveData trimmedB = dataB;
  if (PBTrimCollinearLines(rangeA, rangeB, &trimmedA, &trimmedB, curve1->data(), curve2->data()) &&
      PBStoreOverlapIfEqual(overlap, *rangeA, *rangeB, curve1, curve2, trimmedA, trimmedB)) {
    return;
  }
  Point meeting;
  if (!PBLinesIntersect(dataA.endPoint1, dataA.endPoint2, dataB.endPoint1, dataB.endPoint2, &meeting)) return;
  const double parameter1 = PBParameterOfPointOnLine(dataA.endPoint1, dataA.endPoint2, meeting);
  const double parameter2 = PBParameterOfPointOnLine(dataB.endPoint1, dataB.endPoint2, meeting);
  for (const double parameter : {parameter1, parameter2}) {
    if (!PBIsValueGreaterThanEqual(parameter, 0) || !PBIsValueLessThanEqual(parameter, 1)) return;
  }
  report(curve1, parameter1, curve2, parameter2, block, stop);
}

// A piece with the range it was cut over, so clipping maps its result through the right range.
struct Piece {
  PBBezierCurveData data;
  PBRange range;
};

// One refinement pass on one side: clip `piece` against `fatLine`, falling back to the last non-point
// pieces when that misses. A miss on both leaves everything as it was.
void refineSide(Piece* piece, Piece* last, const PBBezierCurveData& fatLine, const PBBezierCurveData& lastFatLine,
                const PBBezierCurveData& whole) {
  bool intersects = false;
  PBRange range = piece->range;
  PBBezierCurveData clipped = PBFatLineClip(piece->data, fatLine, whole, &range, &intersects);
  if (!intersects) {
    range = last->range;
    clipped = PBFatLineClip(last->data, lastFatLine, whole, &range, &intersects);
  }
  if (!intersects) return;
  *piece = {clipped, range};
  if (!PBBezierCurveDataIsPoint(&piece->data)) *last = *piece;
}

bool sameBits(double value1, double value2) {
  return std::bit_cast<std::uint64_t>(value1) == std::bit_cast<std::uint64_t>(value2);
}

bool sameRange(const PBRange& range1, const PBRange& range2) {
  return sameBits(range1.minimum, range2.minimum) && sameBits(range1.maximum, range2.maximum);
}

// Returns whether the pieces stopped changing. Every piece is cut from its whole curve over its range, so a pass that
// leaves all four ranges as they were would be repeated exactly by every further pass.
bool refine(int passes, Piece* a, Piece* b, Piece* lastA, Piece* lastB, const PBBezierCurveData& wholeA,
            const PBBezierCurveData& wholeB) {
  for (int pass = 0; pass < passes; ++pass) {
    const PBRange before[4] = {a->range, b->range, lastA->range, lastB->range};
    refineSide(a, lastA, b->data, lastB->data, wholeA);
    refineSide(b, lastB, a->data, lastA->data, wholeB);
    if (sameRange(before[0], a->range) && sameRange(before[1], b->range) && sameRange(before[2], lastA->range) &&
        sameRange(before[3], lastB->range)) {
      return true;
    }
  }
  return false;
}

// Convergence at six places still leaves the midpoint up to half a millionth off in parameter, which a fast
// curve turns into a visible gap. Newton steps on B1(t1) = B2(t2) close it, kept within the converged ranges
// and taken only while they bring the two points closer.
void polishParameters(const PBBezierCurveData& wholeA, const PBBezierCurveData& wholeB, const PBRange& rangeA,
                      const PBRange& rangeB, double* parameter1, double* parameter2) {
  auto gap = [&](double t1, double t2) {
    return PBSubtractPoint(PBBezierCurveDataPointAtParameter(wholeA, t1, nullptr, nullptr),
                           PBBezierCurveDataPointAtParameter(wholeB, t2, nullptr, nullptr));
  };
  auto clampTo = [](double value, const PBRange& range) {
    return std::clamp(value, std::max(0.0, range.minimum - kPolishSlack), std::min(1.0, range.maximum + kPolishSlack));
  };
  Point difference = gap(*parameter1, *parameter2);
  for (int step = 0; step < kPolishSteps; ++step) {
    const Point derivative1 = PBBezierCurveDataDerivative(wholeA, *parameter1);
    const Point derivative2 = PBBezierCurveDataDerivative(wholeB, *parameter2);
    // Solve derivative1·d1 - derivative2·d2 = -difference.
    const double determinant = -derivative1.x * derivative2.y + derivative2.x * derivative1.y;
    if (determinant == 0 || !std::isfinite(determinant)) return;
    const double step1 = (difference.x * derivative2.y - derivative2.x * difference.y) / determinant;
    const double step2 = (difference.x * derivative1.y - derivative1.x * difference.y) / determinant;
    const double next1 = clampTo(*parameter1 + step1, rangeA);
    const double next2 = clampTo(*parameter2 + step2, rangeB);
    const Point nextDifference = gap(next1, next2);
    if (!(std::hypot(nextDifference.x, nextDifference.y) < std::hypot(difference.x, difference.y))) return;
    *parameter1 = next1;
    *parameter2 = next2;
    difference = nextDifference;
  }
}

// `(previous - current) / previous < 0.2` without dividing by a zero size.
bool reducedLittle(double previousSize, double size) { return previousSize - size < kStallReduction * previousSize; }

// The clipping steps left for the pair of curves being intersected. Curves that nearly coincide without being equal
// can stall the search in every half at every depth, which took seconds for one pair; a pair that meets in its
// nine points at most needs a small share of this.
thread_local int* clipStepsLeft = nullptr;
constexpr int kClipStepsPerPair = 1024;
// A look for a coinciding stretch projects four end points onto the curves, the work of many clipping steps.
constexpr int kStallCheckSteps = 32;

void chargeStallCheck() {
  if (clipStepsLeft) *clipStepsLeft -= kStallCheckSteps;
}

}  // namespace

void PBClipIntersectCurves(PBRange* rangeA, PBRange* rangeB, PBBezierCurve* curve1, PBBezierCurve* curve2,
                           PBOverlapSlot* overlap, int depth, PBBezierCurveData dataA, PBBezierCurveData dataB,
                           const PBIntersectionBlock& block, bool* stop) {
  if (dataA.isStraightLine && dataB.isStraightLine) {
    intersectStraightLines(rangeA, rangeB, curve1, curve2, overlap, dataA, dataB, block, stop);
    return;
  }
  const PBBezierCurveData wholeA = curve1->data();
  const PBBezierCurveData wholeB = curve2->data();
  PBBezierCurveData a = dataA;
  PBBezierCurveData b = dataB;
  PBBezierCurveData lastA = dataA;
  PBBezierCurveData lastB = dataB;
  bool confident = true;
  int iteration = 0;
  for (; iteration < PBClipMaximumIterations; ++iteration) {
    if (clipStepsLeft && --*clipStepsLeft < 0) {
      *stop = true;
      return;
    }
    if (iteration > 0 && hasConverged(*rangeA) && hasConverged(*rangeB)) break;
    const PBRange previousA = *rangeA;
    const PBRange previousB = *rangeB;
    if (!PBBezierCurveDataIsPoint(&b)) lastB = b;

    bool intersects = false;
    a = PBFatLineClip(lastA, lastB, wholeA, rangeA, &intersects);
    if (!intersects) {
      PBOverlapAfterMiss(overlap, rangeA, rangeB, curve1, curve2, a, b);
      return;
    }
    if (iteration > 0 && (PBBezierCurveDataIsPoint(&a) || PBBezierCurveDataIsPoint(&b))) break;
    if (PBBezierCurveDataIsPoint(&a)) {
      confident = false;
    } else {
      lastA = a;
    }

    b = PBFatLineClip(lastB, lastA, wholeB, rangeB, &intersects);
    if (!intersects) {
      PBOverlapAfterMiss(overlap, rangeA, rangeB, curve1, curve2, a, b);
      return;
    }
    if (iteration > 0 && (PBBezierCurveDataIsPoint(&a) || PBBezierCurveDataIsPoint(&b))) break;

    if (!reducedLittle(PBRangeGetSize(previousA), PBRangeGetSize(*rangeA)) ||
        !reducedLittle(PBRangeGetSize(previousB), PBRangeGetSize(*rangeB))) {
      continue;
    }
    chargeStallCheck();
    if (PBOverlapWhenStalled(overlap, rangeA, rangeB, curve1, curve2, &a, &b)) return;

    // Clipping stalls when the curves meet more than once: halve the longer range and search both halves.
    const bool splitA = PBRangeGetSize(*rangeA) > PBRangeGetSize(*rangeB);
    const PBRange& splitRange = splitA ? *rangeA : *rangeB;
    const PBRange& otherRange = splitA ? *rangeB : *rangeA;
    const PBBezierCurveData& splitWhole = splitA ? wholeA : wholeB;
    const double middle = PBRangeAverage(splitRange);
    const PBRange halves[2] = {{splitRange.minimum, middle}, {middle, splitRange.maximum}};
    const bool tooSmall =
        (hasConverged(halves[0]) && hasConverged(otherRange)) || (hasConverged(halves[1]) && hasConverged(otherRange));
    if (depth <= PBClipMaximumSplitDepth && !tooSmall) {
      for (const PBRange& half : halves) {
        const PBBezierCurveData halfData = PBBezierCurveDataSubcurveWithRange(splitWhole, half);
        PBRange halfRange = half;
        PBRange otherCopy = otherRange;
        PBOverlapSlot found;
        if (splitA) {
          PBClipIntersectCurves(&halfRange, &otherCopy, curve1, curve2, &found, depth + 1, halfData, b, block, stop);
        } else {
          PBClipIntersectCurves(&otherCopy, &halfRange, curve1, curve2, &found, depth + 1, a, halfData, block, stop);
        }
        if (overlap && found) {
          if (*overlap) {
            (*overlap)->merge(*found);
          } else {
            *overlap = found;
          }
        }
        if (*stop) break;
      }
      return;
    }
    if (PBRangeGetSize(*rangeA) == PBRangeGetSize(previousA) && PBRangeGetSize(*rangeB) == PBRangeGetSize(previousB)) {
      return;
    }
  }

  if (!hasConverged(*rangeA) || !hasConverged(*rangeB)) {
    PBBezierCurveData stalledA = wholeA;
    PBBezierCurveData stalledB = wholeB;
    PBRange wholeRangeA{0, 1};
    PBRange wholeRangeB{0, 1};
    chargeStallCheck();
    // A straight piece never equals a curved one, so for such a pair the costly projections could only fail.
    if (wholeA.isStraightLine == wholeB.isStraightLine &&
        PBOverlapWhenStalled(overlap, &wholeRangeA, &wholeRangeB, curve1, curve2, &stalledA, &stalledB)) {
      return;
    }

    // Each refinement clip needs a piece that matches its range, so the pieces are cut afresh.
    Piece pieceA{PBBezierCurveDataSubcurveWithRange(wholeA, *rangeA), *rangeA};
    Piece pieceB{PBBezierCurveDataSubcurveWithRange(wholeB, *rangeB), *rangeB};
    Piece lastPieceA = pieceA;
    Piece lastPieceB = pieceB;
    const bool settled = refine(kFirstRefinementPasses, &pieceA, &pieceB, &lastPieceA, &lastPieceB, wholeA, wholeB);
    if (!settled && (!hasConverged(pieceA.range) || !hasConverged(pieceB.range))) {
      refine(kSecondRefinementPasses, &pieceA, &pieceB, &lastPieceA, &lastPieceB, wholeA, wholeB);
    }
    *rangeA = pieceA.range;
    *rangeB = pieceB.range;
    a = pieceA.data;
    b = pieceB.data;
  }

  const bool convergedA = hasConverged(*rangeA);
  const bool convergedB = hasConverged(*rangeB);
  if (convergedA != convergedB) {
    // Place the unconverged curve's parameter by Newton steps towards the converged point.
    const PBBezierCurveData& fixedWhole = convergedA ? wholeA : wholeB;
    const PBBezierCurveData& freeWhole = convergedA ? wholeB : wholeA;
    PBRange* fixedRange = convergedA ? rangeA : rangeB;
    PBRange* freeRange = convergedA ? rangeB : rangeA;
    const Point point = PBBezierCurveDataPointAtParameter(fixedWhole, PBRangeAverage(*fixedRange), nullptr, nullptr);
    double parameter = PBRangeAverage(*freeRange);
    for (int step = 0; step < kNewtonSteps; ++step) {
      const double refined = PBBezierCurveDataRefineParameter(freeWhole, point, parameter);
      // A flat spot in the distance makes the step meaningless; keep the last good value.
      if (!std::isfinite(refined)) break;
      parameter = std::clamp(refined, freeRange->minimum, freeRange->maximum);
    }
    *freeRange = {parameter, parameter};
    confident = false;
  }

  if (iteration == PBClipMaximumIterations && (!hasConverged(*rangeA) || !hasConverged(*rangeB))) {
    PBStoreOverlapIfEqual(overlap, *rangeA, *rangeB, curve1, curve2, a, b);
    return;
  }

  double parameter1 = PBRangeAverage(*rangeA);
  double parameter2 = PBRangeAverage(*rangeB);
  polishParameters(wholeA, wholeB, *rangeA, *rangeB, &parameter1, &parameter2);
  // Ranges that converged by clipping can still name two points far apart: refinement after a stall may shrink
  // each range onto the spot where the curves come closest without meeting. Converged parameters leave each
  // point at most a millionth of its curve's control polygon off; ten times that leaves room for rounding.
  const Point point1 = PBBezierCurveDataPointAtParameter(wholeA, parameter1, nullptr, nullptr);
  const Point point2 = PBBezierCurveDataPointAtParameter(wholeB, parameter2, nullptr, nullptr);
  const double threshold =
      confident ? kFinalPointThreshold + kConvergedPointSlack * (polygonLength(wholeA) + polygonLength(wholeB))
                : kFinalPointThreshold;
  if (!PBArePointsCloseWithOptions(point1, point2, threshold)) return;
  report(curve1, parameter1, curve2, parameter2, block, stop);
}

void PBBezierCurve::intersectionsWithBezierCurve(PBBezierCurve* curve,
                                                 std::shared_ptr<PBBezierIntersectRange>* overlapRange,
                                                 const PBIntersectionBlock& block) {
  if (!PBRectsOverlap(boundingRect(), curve->boundingRect())) return;
  if (!PBRectsOverlap(bounds(), curve->bounds())) return;
  PBRange rangeA{0, 1};
  PBRange rangeB{0, 1};
  // Most pairs whose rectangles overlap still miss at the first clip; deciding that from the control points
  // and going straight to what follows a miss spares the search. Two lines are intersected directly instead.
  if (!(isStraightLine() && curve->isStraightLine()) && PBFatLineClipMisses(data_, curve->fatLineBands())) {
    PBOverlapAfterMiss(overlapRange, &rangeA, &rangeB, this, curve, data(), curve->data());
    return;
  }
  bool stop = false;
  int stepsLeft = kClipStepsPerPair;
  int* const outer = std::exchange(clipStepsLeft, &stepsLeft);
  PBClipIntersectCurves(&rangeA, &rangeB, this, curve, overlapRange, 0, data(), curve->data(), block, &stop);
  clipStepsLeft = outer;
}
