// Aids for looking at an operation's intermediate state; no operation uses them.

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/bezier_intersection.h"
#include "boolean/edge_crossing.h"
#include "boolean/path_markers.h"

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
                auto crossing1 = PBEdgeCrossing::crossingWithIntersection(intersection);
                auto crossing2 = PBEdgeCrossing::crossingWithIntersection(intersection);
                crossing1->setCounterpart(crossing2.get());
                crossing2->setCounterpart(crossing1.get());
                edge1->addCrossing(crossing1);
                edge2->addCrossing(crossing2);
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
