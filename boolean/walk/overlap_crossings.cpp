// Where a run of overlapping edges puts its crossings, and where they go once marked.
//
// Along a shared stretch each outline of the result follows at most one of the two copies. A crossing pair at
// the middle of a crossing run lets the result go either way along both outlines; where it leaves by the same end
// on both, the half stretch between the middle and that end would be run along and back, a sliver of no width,
// so the pair moves to that end. A touching run's pairs at its ends are needed only where the result turns there
// from one outline to the other, leaving the stretch out.

#include <memory>

#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/contour_overlap.h"
#include "boolean/walk/edge_crossing.h"

void PBEdgeOverlapRun::addCrossingPair(Place place) {
  const PBEdgeOverlap& overlap = place == Place::Start ? *overlaps_.front()
                                 : place == Place::End ? *overlaps_.back()
                                                       : *overlaps_[overlaps_.size() / 2];
  PBBezierIntersectRange& range = overlap.range();
  std::shared_ptr<PBBezierIntersection> intersection;
  if (place == Place::Middle) {
    intersection = range.middleIntersection();
  } else {
    // A reversed stretch starts on edge 2 where its range ends.
    const bool atRangeStart = (place == Place::Start) != range.reversed();
    const double parameter1 = place == Place::Start ? range.parameterRange1().minimum : range.parameterRange1().maximum;
    const double parameter2 = atRangeStart ? range.parameterRange2().minimum : range.parameterRange2().maximum;
    intersection =
        PBBezierIntersection::intersectionWithCurve1(overlap.edge1(), parameter1, overlap.edge2(), parameter2);
  }
  const std::shared_ptr<PBEdgeCrossing> crossing = PBAddCrossingPair(intersection, overlap.edge1(), overlap.edge2());
  crossing->setFromOverlap(true);
  crossing->counterpart()->setFromOverlap(true);
  crossings_.push_back(crossing);
}

void PBEdgeOverlapRun::addCrossings() {
  if (overlaps_.empty()) return;
  placement_ = Placement::Middle;
  addCrossingPair(Place::Middle);
}

void PBEdgeOverlapRun::addEndCrossings() {
  if (overlaps_.empty()) return;
  placement_ = Placement::Ends;
  addCrossingPair(Place::Start);
  addCrossingPair(Place::End);
}

void PBEdgeOverlapRun::removeCrossings() {
  for (const std::weak_ptr<PBEdgeCrossing>& placed : crossings_) {
    // Another step may have taken it off already.
    if (const std::shared_ptr<PBEdgeCrossing> crossing = placed.lock()) crossing->removeWithCounterpart();
  }
  crossings_.clear();
}

void PBEdgeOverlapRun::restoreCrossings() {
  removeCrossings();
  if (placement_ == Placement::Middle) addCrossings();
  if (placement_ == Placement::Ends) addEndCrossings();
}

void PBEdgeOverlapRun::settleCrossings() {
  if (crossings_.empty()) return;
  const std::shared_ptr<PBEdgeCrossing> first = crossings_.front().lock();
  if (!first || !first->counterpart()) return;
  // From an entry the result goes forwards along that crossing's outline, towards the run's end; edge 2's outline
  // runs the other way along a reversed stretch.
  const bool entry1 = first->isEntry();
  const bool entry2 = first->counterpart()->isEntry();
  const bool towardsEnd1 = entry1;
  const bool towardsEnd2 = entry2 != overlaps_.front()->range().reversed();
  if (placement_ == Placement::Ends) {
    // At the start, towards the end is into the stretch. Where one outline follows it, that outline's own edges
    // serve; where both would, the stretch alone would make a contour of no area.
    if (towardsEnd1 || towardsEnd2) removeCrossings();
    return;
  }
  if (towardsEnd1 != towardsEnd2) return;
  removeCrossings();
  addCrossingPair(towardsEnd1 ? Place::End : Place::Start);
  const std::shared_ptr<PBEdgeCrossing> moved = crossings_.front().lock();
  moved->setEntry(entry1);
  moved->counterpart()->setEntry(entry2);
}
