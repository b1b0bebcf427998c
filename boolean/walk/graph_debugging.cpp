// Aids for looking at an operation's intermediate state; no operation uses them.

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/path_markers.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/edge_crossing.h"

namespace {

// The intersection and crossing test of self-crossing insertion, start-shared marks included, without adding
// crossings; true when some edge pair really crosses.
bool contoursReallyCross(PBBezierContour& contour, PBBezierContour& other) {
  bool crosses = false;
  for (const auto& ourEdge : contour.edges()) {
    for (const auto& theirEdge : other.edges()) {
      PBBezierCurve* edge1 = ourEdge.get();
      PBBezierCurve* edge2 = theirEdge.get();
      edge1->intersectionsWithBezierCurve(edge2, nullptr,
                                          [&](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                                            PBMarkSharedStarts(edge1, edge2, *intersection);
                                            if (edge1->crossesEdge(edge2, *intersection)) crosses = true;
                                          });
    }
  }
  return crosses;
}

}  // namespace

void PBBezierGraph::debuggingInsertCrossingsWithBezierGraph(PBBezierGraph& other, bool markInside,
                                                            bool markOtherInside) {
  removeCrossings();
  other.removeCrossings();
  removeOverlaps();
  other.removeOverlaps();
  insertCrossingsWithBezierGraph(other);
  insertSelfCrossings();
  other.insertSelfCrossings();
  markCrossingsAsEntryOrExitWithBezierGraph(other, markInside);
  other.markCrossingsAsEntryOrExitWithBezierGraph(*this, markOtherInside);
}

void PBBezierGraph::debuggingInsertIntersectionsWithBezierGraph(PBBezierGraph& other) {
  removeCrossings();
  other.removeCrossings();
  removeOverlaps();
  other.removeOverlaps();
  for (const auto& ourContour : contours_) {
    for (const auto& ourEdge : ourContour->edges()) {
      for (const auto& theirContour : other.contours_) {
        for (const auto& theirEdge : theirContour->edges()) {
          PBBezierCurve* edge1 = ourEdge.get();
          PBBezierCurve* edge2 = theirEdge.get();
          edge1->intersectionsWithBezierCurve(
              edge2, nullptr, [edge1, edge2](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                PBAddCrossingPair(intersection, edge1, edge2);
              });
        }
      }
    }
  }
}

platform::BezierPath PBBezierGraph::debugPathForJointsOfContour(const PBBezierContour& contour) {
  platform::BezierPath path;
  for (const auto& edge : contour.edges()) {
    if (!edge->isStraightLine()) {
      path.moveTo(edge->endPoint1());
      path.lineTo(edge->controlPoint1());
      path.appendPath(PBSmallCircleAtPoint(edge->controlPoint1()));
      path.moveTo(edge->endPoint2());
      path.lineTo(edge->controlPoint2());
      path.appendPath(PBSmallCircleAtPoint(edge->controlPoint2()));
    }
    path.appendPath(PBSmallRectAtPoint(edge->endPoint2()));
  }
  return path;
}

platform::BezierPath PBBezierGraph::debugPathForContainmentOfContour(PBBezierContour& contour) {
  return debugPathForContainmentOfContour(contour, platform::AffineTransform::identity());
}

platform::BezierPath PBBezierGraph::debugPathForContainmentOfContour(PBBezierContour& contour,
                                                                     const platform::AffineTransform& transform) {
  platform::BezierPath path;
  std::size_t count = 0;
  std::shared_ptr<PBBezierCurve> ray = containmentRayForContour(contour);
  for (const auto& other : contours_) {
    if (other.get() == &contour || contoursReallyCross(contour, *other)) continue;
    // The crossing test may have marked the contour's start edge as shared, which moves its test point.
    ray = containmentRayForContour(contour);
    other->intersectionsWithRay(ray.get(), [&](PBBezierIntersection& intersection) {
      path.appendPath(PBCircleAtPoint(transform.transformPoint(intersection.location())));
      ++count;
    });
  }
  path.moveTo(transform.transformPoint(ray->endPoint1()));
  path.lineTo(transform.transformPoint(ray->endPoint2()));
  if (count % 2 == 1) {
    constexpr double kDash[] = {2.0, 3.0};
    path.setLineDash(kDash, 2, 0.0);
  }
  return path;
}
