// The steps of a boolean operation that put crossings on two graphs, clean
// them up, mark them as entries or exits and walk them into a result.

#include <algorithm>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/rect_functions.h"
#include "boolean/rect_index.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/contour_overlap.h"
#include "boolean/walk/edge_crossing.h"
#include "boolean/walk/edge_pair_sweep.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;

namespace {

constexpr double kRayOverhang = 10.0;

void addSelfCrossingPair(const std::shared_ptr<PBBezierIntersection>& intersection, PBBezierCurve* edge1,
                         PBBezierCurve* edge2) {
  const std::shared_ptr<PBEdgeCrossing> crossing = PBAddCrossingPair(intersection, edge1, edge2);
  crossing->setSelfCrossing(true);
  crossing->counterpart()->setSelfCrossing(true);
}

template <typename Visit>
void forEachEdge(const std::vector<std::shared_ptr<PBBezierContour>>& contours, Visit visit) {
  for (const auto& contour : contours) {
    for (const auto& edge : contour->edges()) visit(edge.get());
  }
}

}  // namespace

void PBBezierGraph::insertCrossingsWithBezierGraph(PBBezierGraph& other) {
  for (const auto& ourContour : contours_) {
    for (const auto& theirContour : other.contours_) {
      auto overlap = PBContourOverlap::contourOverlap();
      PBForEachEdgePairThatMayMeet(
          ourContour->edges(), theirContour->edges(), usesBoundsSweep_,
          [&overlap](PBBezierCurve* ourEdge, PBBezierCurve* theirEdge) {
            std::shared_ptr<PBBezierIntersectRange> range;
            ourEdge->intersectionsWithBezierCurve(
                theirEdge, &range, [&](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                  if (intersection->isAtStartOfCurve1()) ourEdge->setStartShared(true);
                  if (intersection->isAtStopOfCurve1()) ourEdge->next()->setStartShared(true);
                  if (intersection->isAtStartOfCurve2()) theirEdge->setStartShared(true);
                  if (intersection->isAtStopOfCurve2()) theirEdge->next()->setStartShared(true);
                  if (ourEdge->crossesEdge(theirEdge, *intersection)) {
                    PBAddCrossingPair(intersection, ourEdge, theirEdge);
                  }
                });
            if (range) overlap->addOverlap(range, ourEdge, theirEdge);
          });
      if (!overlap->isComplete()) {
        overlap->runsWithBlock([](PBEdgeOverlapRun& run, bool*) {
          if (run.isCrossing()) {
            run.addCrossings();
          } else if (run.spansAStretch()) {
            run.addEndCrossings();
          }
        });
      }
      ourContour->addOverlap(overlap);
      theirContour->addOverlap(overlap);
    }
  }
}

namespace {

std::vector<platform::Rect> contourRects(const std::vector<std::shared_ptr<PBBezierContour>>& contours,
                                         platform::Rect (PBBezierContour::*rect)()) {
  std::vector<platform::Rect> rects;
  rects.reserve(contours.size());
  for (const auto& contour : contours) rects.push_back(((*contour).*rect)());
  return rects;
}

}  // namespace

void PBBezierGraph::insertSelfCrossings() {
  // Each contour against every earlier one whose rectangle it meets, the last contour first.
  const PBRectIndex rectIndex(contourRects(contours_, &PBBezierContour::boundingRect));
  for (std::size_t j = contours_.size(); j-- > 0;) {
    PBBezierContour& first = *contours_[j];
    for (std::size_t k : rectIndex.overlapping(first.boundingRect())) {
      if (k >= j) break;
      PBBezierContour& second = *contours_[k];
      if (!PBRectsOverlap(first.boundingRect(), second.boundingRect()) ||
          !PBRectsOverlap(first.bounds(), second.bounds())) {
        continue;
      }
      PBForEachEdgePairThatMayMeet(
          first.edges(), second.edges(), usesBoundsSweep_, [](PBBezierCurve* edge1, PBBezierCurve* edge2) {
            edge1->intersectionsWithBezierCurve(
                edge2, nullptr, [&](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                  PBMarkSharedStarts(edge1, edge2, *intersection);
                  if (edge1->crossesEdge(edge2, *intersection)) addSelfCrossingPair(intersection, edge1, edge2);
                });
          });
    }
  }
  const PBRectIndex boundsIndex(contourRects(contours_, &PBBezierContour::bounds));
  for (const auto& contour : contours_) contour->setInside(contourInsides(*contour, boundsIndex));
}

std::shared_ptr<PBBezierCurve> PBBezierGraph::containmentRayForContour(PBBezierContour& contour) {
  const Point testPoint = contour.testPointForContainment();
  const platform::Rect rect = bounds();
  const double endX = testPoint.x > platform::minX(rect) ? platform::minX(rect) - kRayOverhang
                                                          : platform::maxX(rect) + kRayOverhang;
  return PBBezierCurve::bezierCurveWithLineStartPoint(testPoint, Point{endX, testPoint.y});
}

int PBBezierGraph::contourInsides(PBBezierContour& contour) {
  return contourInsides(contour, PBRectIndex(contourRects(contours_, &PBBezierContour::bounds)));
}

int PBBezierGraph::contourInsides(PBBezierContour& contour, const PBRectIndex& boundsIndex) {
  const auto ray = containmentRayForContour(contour);
  const platform::Rect rayRect = ray->boundingRect();
  // The ray runs from the test point to beyond every contour, so it crosses the outline of a contour that does not
  // surround the test point an even number of times: only contours whose bounds hold the point change the count.
  const platform::Rect testPoint{ray->endPoint1().x, ray->endPoint1().y, 0, 0};
  std::size_t count = 0;
  for (std::size_t k : boundsIndex.overlapping(testPoint)) {
    PBBezierContour* other = contours_[k].get();
    if (other == &contour || !PBRectsOverlap(rayRect, other->boundingRect())) continue;
    if (contour.crossesOwnContour(other)) continue;
    count += other->numberOfIntersectionsWithRay(ray.get());
  }
  return static_cast<int>(count % 2);
}

void PBBezierGraph::cleanupCrossingsWithBezierGraph(PBBezierGraph& other) {
  removeDuplicateCrossings();
  other.removeDuplicateCrossings();
  removeCrossingsInOverlaps();
  other.removeCrossingsInOverlaps();
}

void PBBezierGraph::removeDuplicateCrossings() {
  forEachEdge(contours_, [](PBBezierCurve* edge) {
    edge->crossingsCopyWithBlock([edge](const std::shared_ptr<PBEdgeCrossing>& crossing, bool*) {
      // An earlier step of this loop may already have taken it off.
      if (crossing->edge() != edge) return;
      if (crossing->isAtStart()) {
        PBEdgeCrossing* previousLast = edge->previous()->lastCrossing();
        if (previousLast && previousLast != crossing.get() && previousLast->isAtEnd()) {
          crossing->removeWithCounterpart();
          return;
        }
      }
      if (crossing->isAtEnd()) {
        PBBezierCurve* next = edge->next();
        if (next->hasCrossings() && next->firstCrossing() != crossing.get() && next->firstCrossing()->isAtStart()) {
          const std::shared_ptr<PBEdgeCrossing> nextFirst = next->crossings_().front();
          nextFirst->removeWithCounterpart();
        }
      }
    });
  });
}

void PBBezierGraph::removeCrossingsInOverlaps() {
  for (const auto& contour : contours_) {
    for (const auto& edge : contour->edges()) {
      edge->crossingsCopyWithBlock([&](const std::shared_ptr<PBEdgeCrossing>& crossing, bool*) {
        if (crossing->edge() != edge.get() || crossing->fromOverlap()) return;
        if (contour->doesOverlapContainCrossing(*crossing)) crossing->removeWithCounterpart();
      });
    }
  }
}

void PBBezierGraph::markCrossingsAsEntryOrExitWithBezierGraph(PBBezierGraph&, bool markInside) {
  // The other graph's contours are reached through the crossings themselves.
  for (const auto& contour : contours_) {
    for (PBBezierContour* other : contour->intersectingContours()) {
      const bool flag = other->inside() == PBContourInsideHole ? !markInside : markInside;
      contour->markCrossingsAsEntryOrExitWithContour(other, flag);
    }
  }
}

namespace {

void forEachOverlapRun(const std::vector<std::shared_ptr<PBBezierContour>>& contours, const PBOverlapRunBlock& block) {
  for (const auto& contour : contours) {
    for (const auto& overlap : contour->overlaps()) overlap->runsWithBlock(block);
  }
}

}  // namespace

void PBBezierGraph::settleOverlapCrossings() {
  forEachOverlapRun(contours_, [](PBEdgeOverlapRun& run, bool*) { run.settleCrossings(); });
}

void PBBezierGraph::restoreOverlapCrossings() {
  forEachOverlapRun(contours_, [](PBEdgeOverlapRun& run, bool*) { run.restoreCrossings(); });
}

PBEdgeCrossing* PBBezierGraph::firstUnprocessedCrossing() const {
  for (const auto& contour : contours_) {
    for (const auto& edge : contour->edges()) {
      for (const auto& crossing : edge->crossings_()) {
        if (!crossing->isSelfCrossing() && !crossing->isProcessed()) return crossing.get();
      }
    }
  }
  return nullptr;
}

void PBBezierGraph::markAllCrossingsAsUnprocessed() {
  forEachEdge(contours_, [](PBBezierCurve* edge) {
    for (const auto& crossing : edge->crossings_()) crossing->setProcessed(false);
  });
}

namespace {

// Forwards from an entry: the rest of this edge, whole edges without crossings, up to the next crossing.
PBEdgeCrossing* walkForwards(PBBezierContour& contour, PBEdgeCrossing* crossing) {
  PBEdgeCrossing* reached = crossing->nextNonself();
  contour.addCurveFrom(crossing, reached);
  if (reached) return reached;
  PBBezierCurve* edge = crossing->edge()->next();
  while (!edge->hasNonselfCrossings()) {
    contour.addCurve(edge->clone());
    edge = edge->next();
  }
  reached = edge->firstNonselfCrossing();
  contour.addCurveFrom(nullptr, reached);
  return reached;
}

// Backwards from an exit, the mirror image.
PBEdgeCrossing* walkBackwards(PBBezierContour& contour, PBEdgeCrossing* crossing) {
  PBEdgeCrossing* reached = crossing->previousNonself();
  contour.addReverseCurveFrom(reached, crossing);
  if (reached) return reached;
  PBBezierCurve* edge = crossing->edge()->previous();
  while (!edge->hasNonselfCrossings()) {
    contour.addReverseCurve(edge);
    edge = edge->previous();
  }
  reached = edge->lastNonselfCrossing();
  contour.addReverseCurveFrom(reached, nullptr);
  return reached;
}

}  // namespace

std::shared_ptr<PBBezierGraph> PBBezierGraph::bezierGraphFromIntersections() {
  settleOverlapCrossings();
  auto result = makeResultGraph();
  // Processed flags only ever get set during the walk, so the scan for the first unprocessed
  // crossing can resume where it stopped instead of starting over.
  std::vector<PBEdgeCrossing*> candidates;
  forEachEdge(contours_, [&candidates](PBBezierCurve* edge) {
    for (const auto& crossing : edge->crossings_()) {
      if (!crossing->isSelfCrossing()) candidates.push_back(crossing.get());
    }
  });
  for (PBEdgeCrossing* start : candidates) {
    if (start->isProcessed()) continue;
    auto contour = std::make_shared<PBBezierContour>();
    result->addContour(contour);
    PBEdgeCrossing* crossing = start;
    while (crossing && !crossing->isProcessed()) {
      crossing->setProcessed(true);
      PBEdgeCrossing* reached =
          crossing->isEntry() ? walkForwards(*contour, crossing) : walkBackwards(*contour, crossing);
      if (!reached) break;
      reached->setProcessed(true);
      crossing = reached->counterpart();
    }
  }
  return result;
}

void PBBezierGraph::removeCrossings() {
  forEachEdge(contours_, [](PBBezierCurve* edge) { edge->removeAllCrossings(); });
}

void PBBezierGraph::removeOverlaps() {
  for (const auto& contour : contours_) contour->removeAllOverlaps();
}
