#include "boolean/walk/edge_crossing.h"

#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersection.h"
#include "platform/core/string_utilities.h"

PBEdgeCrossing::PBEdgeCrossing(std::shared_ptr<PBBezierIntersection> intersection)
    : intersection_(std::move(intersection)) {}

std::shared_ptr<PBEdgeCrossing> PBEdgeCrossing::crossingWithIntersection(
    std::shared_ptr<PBBezierIntersection> intersection) {
  return std::make_shared<PBEdgeCrossing>(std::move(intersection));
}

void PBEdgeCrossing::removeFromEdge() {
  if (edge_) edge_->removeCrossing(this);
}

void PBEdgeCrossing::removeWithCounterpart() {
  if (PBEdgeCrossing* counterpart = counterpart_) {
    counterpart->setCounterpart(nullptr);
    counterpart_ = nullptr;
    counterpart->removeFromEdge();
  }
  removeFromEdge();
}

PBEdgeCrossing* PBEdgeCrossing::next() const { return edge_ ? edge_->nextCrossing(this) : nullptr; }

PBEdgeCrossing* PBEdgeCrossing::previous() const { return edge_ ? edge_->previousCrossing(this) : nullptr; }

PBEdgeCrossing* PBEdgeCrossing::nextNonself() const {
  PBEdgeCrossing* crossing = next();
  while (crossing && crossing->isSelfCrossing()) crossing = crossing->next();
  return crossing;
}

PBEdgeCrossing* PBEdgeCrossing::previousNonself() const {
  PBEdgeCrossing* crossing = previous();
  while (crossing && crossing->isSelfCrossing()) crossing = crossing->previous();
  return crossing;
}

bool PBEdgeCrossing::isOnCurve1() const { return edge_ == intersection_->curve1(); }

double PBEdgeCrossing::parameter() const {
  return isOnCurve1() ? intersection_->parameter1() : intersection_->parameter2();
}

platform::Point PBEdgeCrossing::location() const { return intersection_->location(); }

PBBezierCurve* PBEdgeCrossing::leftCurve() const {
  if (isAtStart()) return nullptr;
  return isOnCurve1() ? intersection_->curve1LeftBezier() : intersection_->curve2LeftBezier();
}

PBBezierCurve* PBEdgeCrossing::rightCurve() const {
  if (isAtEnd()) return nullptr;
  return isOnCurve1() ? intersection_->curve1RightBezier() : intersection_->curve2RightBezier();
}

bool PBEdgeCrossing::isAtStart() const {
  return isOnCurve1() ? intersection_->isAtStartOfCurve1() : intersection_->isAtStartOfCurve2();
}

bool PBEdgeCrossing::isAtEnd() const {
  return isOnCurve1() ? intersection_->isAtStopOfCurve1() : intersection_->isAtStopOfCurve2();
}

std::string PBEdgeCrossing::description() const {
  return platform::formatString(
      "<PBEdgeCrossing: isEntry = %s, isProcessed = %s, isSelfIntersecting = %s, "
      "intersection = %s>",
      entry_ ? "yes" : "no", processed_ ? "yes" : "no", selfCrossing_ ? "yes" : "no",
      intersection_->description().c_str());
}

std::shared_ptr<PBEdgeCrossing> PBAddCrossingPair(const std::shared_ptr<PBBezierIntersection>& intersection,
                                                  PBBezierCurve* edge1, PBBezierCurve* edge2) {
  auto crossing1 = PBEdgeCrossing::crossingWithIntersection(intersection);
  auto crossing2 = PBEdgeCrossing::crossingWithIntersection(intersection);
  crossing1->setCounterpart(crossing2.get());
  crossing2->setCounterpart(crossing1.get());
  edge1->addCrossing(crossing1);
  edge2->addCrossing(crossing2);
  return crossing1;
}
