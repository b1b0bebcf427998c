// Whether two outlines really cross where their edges meet, or only touch.

#include <algorithm>

#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/tangent_pairs.h"

namespace {

// The curves arriving at and leaving the meeting place on one outline.
struct Pieces {
  PBBezierCurve* arriving;
  PBBezierCurve* leaving;
};

// Compares the directions at growing distances (in absolute units) while they coincide, then asks whether
// they interleave.
bool piecesCross(const Pieces& edge1, const Pieces& edge2) {
  // Measuring the four lengths costs more than the usual single comparison, so it waits until the directions
  // coincide.
  double shortest = -1;
  auto shortestLength = [&]() {
    if (shortest < 0) {
      shortest = std::min(
          {edge1.arriving->length(), edge1.leaving->length(), edge2.arriving->length(), edge2.leaving->length()});
    }
    return shortest;
  };
  PBTangentPair pair1;
  PBTangentPair pair2;
  double distance = 0;
  do {
    pair1 = {edge1.arriving->tangentFromRightOffset(distance), edge1.leaving->tangentFromLeftOffset(distance)};
    pair2 = {edge2.arriving->tangentFromRightOffset(distance), edge2.leaving->tangentFromLeftOffset(distance)};
    distance += 1;
  } while (PBTangentPairsCoincide(pair1, pair2) && shortestLength() > distance);
  return PBTangentPairsInterleave(pair1, pair2);
}

}  // namespace

bool PBBezierCurve::crossesEdge(PBBezierCurve* edge, PBBezierIntersection& intersection) {
  if (intersection.isTangent()) return false;
  if (!intersection.isAtEndPointOfCurve()) return true;
  Pieces edge1{intersection.curve1LeftBezier(), intersection.curve1RightBezier()};
  if (intersection.isAtStartOfCurve1()) {
    edge1 = {previousNonpoint(), this};
  } else if (intersection.isAtStopOfCurve1()) {
    edge1 = {this, nextNonpoint()};
  }
  Pieces edge2{intersection.curve2LeftBezier(), intersection.curve2RightBezier()};
  if (intersection.isAtStartOfCurve2()) {
    edge2 = {edge->previousNonpoint(), edge};
  } else if (intersection.isAtStopOfCurve2()) {
    edge2 = {edge, edge->nextNonpoint()};
  }
  return piecesCross(edge1, edge2);
}

bool PBBezierCurve::crossesEdge(PBBezierCurve* edge, PBBezierIntersectRange& intersectRange) {
  const Pieces edge1{intersectRange.isAtStartOfCurve1() ? previousNonpoint() : intersectRange.curve1LeftBezier(),
                     intersectRange.isAtStopOfCurve1() ? nextNonpoint() : intersectRange.curve1RightBezier()};
  const Pieces edge2{intersectRange.isAtStartOfCurve2() ? edge->previousNonpoint() : intersectRange.curve2LeftBezier(),
                     intersectRange.isAtStopOfCurve2() ? edge->nextNonpoint() : intersectRange.curve2RightBezier()};
  return piecesCross(edge1, edge2);
}
