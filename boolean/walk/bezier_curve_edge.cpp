// The edge role of PBBezierCurve: neighbours in the contour and the crossing list.

#include <algorithm>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/edge_crossing.h"

void PBBezierCurve::sortCrossings() {
  // A stable sort keeps crossings at equal parameters in insertion order, so results are repeatable.
  std::stable_sort(
      crossings_list_.begin(), crossings_list_.end(),
      [](const std::shared_ptr<PBEdgeCrossing>& crossing1, const std::shared_ptr<PBEdgeCrossing>& crossing2) {
        return crossing1->order() < crossing2->order();
      });
  for (std::size_t i = 0; i < crossings_list_.size(); ++i) crossings_list_[i]->setIndex(i);
}

void PBBezierCurve::addCrossing(const std::shared_ptr<PBEdgeCrossing>& crossing) {
  crossing->setEdge(this);
  crossings_list_.push_back(crossing);
  sortCrossings();
}

void PBBezierCurve::removeCrossing(PBEdgeCrossing* crossing) {
  const auto found =
      std::find_if(crossings_list_.begin(), crossings_list_.end(),
                   [crossing](const std::shared_ptr<PBEdgeCrossing>& entry) { return entry.get() == crossing; });
  if (found == crossings_list_.end()) return;
  crossing->setEdge(nullptr);
  // The list may hold the last reference: nothing touches `crossing` after this.
  crossings_list_.erase(found);
  sortCrossings();
}

void PBBezierCurve::removeAllCrossings() { crossings_list_.clear(); }

PBBezierCurve* PBBezierCurve::next() {
  if (!contour_ || contour_->edges().empty()) return this;
  const auto& edges = contour_->edges();
  return edges[(index_ + 1) % edges.size()].get();
}

PBBezierCurve* PBBezierCurve::previous() {
  if (!contour_ || contour_->edges().empty()) return this;
  const auto& edges = contour_->edges();
  return edges[(index_ + edges.size() - 1) % edges.size()].get();
}

PBBezierCurve* PBBezierCurve::nextNonpoint() {
  const std::size_t limit = contour_ ? contour_->edges().size() : 1;
  PBBezierCurve* edge = next();
  // One lap at most: a contour of points alone has no answer but its neighbour.
  for (std::size_t visited = 0; visited < limit; ++visited) {
    if (!edge->isPoint()) return edge;
    edge = edge->next();
  }
  return next();
}

PBBezierCurve* PBBezierCurve::previousNonpoint() {
  const std::size_t limit = contour_ ? contour_->edges().size() : 1;
  PBBezierCurve* edge = previous();
  for (std::size_t visited = 0; visited < limit; ++visited) {
    if (!edge->isPoint()) return edge;
    edge = edge->previous();
  }
  return previous();
}

void PBBezierCurve::crossingsWithBlock(const PBCrossingBlock& block) {
  bool stop = false;
  for (const auto& crossing : crossings_list_) {
    block(crossing, &stop);
    if (stop) break;
  }
}

void PBBezierCurve::crossingsCopyWithBlock(const PBCrossingBlock& block) {
  const std::vector<std::shared_ptr<PBEdgeCrossing>> copy = crossings_list_;
  bool stop = false;
  for (const auto& crossing : copy) {
    block(crossing, &stop);
    if (stop) break;
  }
}

PBEdgeCrossing* PBBezierCurve::nextCrossing(const PBEdgeCrossing* crossing) {
  const std::uint64_t index = crossing->index() + 1;
  return index < crossings_list_.size() ? crossings_list_[index].get() : nullptr;
}

PBEdgeCrossing* PBBezierCurve::previousCrossing(const PBEdgeCrossing* crossing) {
  const std::uint64_t index = crossing->index();
  if (index == 0 || index > crossings_list_.size()) return nullptr;
  return crossings_list_[index - 1].get();
}

void PBBezierCurve::intersectingEdgesWithBlock(const PBEdgeBlock& block) {
  for (const auto& crossing : crossings_list_) {
    if (!crossing->isSelfCrossing() && crossing->counterpart()) block(crossing->counterpart()->edge());
  }
}

void PBBezierCurve::selfIntersectingEdgesWithBlock(const PBEdgeBlock& block) {
  for (const auto& crossing : crossings_list_) {
    if (crossing->isSelfCrossing() && crossing->counterpart()) block(crossing->counterpart()->edge());
  }
}

PBEdgeCrossing* PBBezierCurve::firstCrossing() {
  return crossings_list_.empty() ? nullptr : crossings_list_.front().get();
}

PBEdgeCrossing* PBBezierCurve::lastCrossing() {
  return crossings_list_.empty() ? nullptr : crossings_list_.back().get();
}

PBEdgeCrossing* PBBezierCurve::firstNonselfCrossing() {
  PBEdgeCrossing* crossing = firstCrossing();
  while (crossing && crossing->isSelfCrossing()) crossing = crossing->next();
  return crossing;
}

PBEdgeCrossing* PBBezierCurve::lastNonselfCrossing() {
  PBEdgeCrossing* crossing = lastCrossing();
  while (crossing && crossing->isSelfCrossing()) crossing = crossing->previous();
  return crossing;
}

bool PBBezierCurve::hasNonselfCrossings() const {
  return std::any_of(crossings_list_.begin(), crossings_list_.end(),
                     [](const std::shared_ptr<PBEdgeCrossing>& crossing) { return !crossing->isSelfCrossing(); });
}

void PBMarkSharedStarts(PBBezierCurve* edge1, PBBezierCurve* edge2, const PBBezierIntersection& intersection) {
  if (intersection.isAtStartOfCurve1()) {
    edge1->setStartShared(true);
  } else if (intersection.isAtStopOfCurve1()) {
    edge1->next()->setStartShared(true);
  }
  if (intersection.isAtStartOfCurve2()) {
    edge2->setStartShared(true);
  } else if (intersection.isAtStopOfCurve2()) {
    edge2->next()->setStartShared(true);
  }
}
