#include "boolean/walk/contour_overlap.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/list_description.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/edge_crossing.h"
#include "boolean/walk/tangent_pairs.h"

namespace {

// Pieces of one stretch meet within this much parameter along edge 1.
constexpr double kContinuityThreshold = 0.01;

bool near(double value1, double value2) { return std::fabs(value1 - value2) <= kContinuityThreshold; }

}  // namespace

// --- PBEdgeOverlap ---

PBEdgeOverlap::PBEdgeOverlap(std::shared_ptr<PBBezierIntersectRange> range, PBBezierCurve* edge1,
                             PBBezierCurve* edge2)
    : edge1_(edge1), edge2_(edge2), range_(std::move(range)) {}

bool PBEdgeOverlap::fitsBefore(const PBEdgeOverlap& next) const {
  const PBRange mine = range_->parameterRange1();
  const PBRange theirs = next.range_->parameterRange1();
  if (near(mine.maximum, 1.0)) return next.edge1_ == edge1_->next() && near(theirs.minimum, 0.0);
  return next.edge1_ == edge1_ && near(theirs.minimum, mine.maximum);
}

bool PBEdgeOverlap::fitsAfter(const PBEdgeOverlap& previous) const {
  const PBRange mine = range_->parameterRange1();
  const PBRange theirs = previous.range_->parameterRange1();
  if (near(mine.minimum, 0.0)) return previous.edge1_ == edge1_->previous() && near(theirs.maximum, 1.0);
  return previous.edge1_ == edge1_ && near(theirs.maximum, mine.minimum);
}

bool PBEdgeOverlap::doesContainParameter(double parameter, const PBBezierCurve* edge, bool startExtends,
                                         bool endExtends) const {
  if (startExtends && endExtends) return true;
  const bool onEdge1 = edge == edge1_;
  const PBRange range = onEdge1 ? range_->parameterRange1() : range_->parameterRange2();
  // Along a reversed stretch edge 2's parameters fall from the run's start to its end.
  if (!onEdge1 && range_->reversed()) std::swap(startExtends, endExtends);
  const bool aboveStart = startExtends ? parameter >= 0.0 : parameter > range.minimum;
  const bool belowEnd = endExtends ? parameter <= 1.0 : parameter < range.maximum;
  return aboveStart && belowEnd;
}

std::string PBEdgeOverlap::description() const {
  return "<PBEdgeOverlap: edge1 = " + edge1_->description() + ", edge2 = " + edge2_->description() +
         ", range = " + range_->description() + ">";
}

// --- PBEdgeOverlapRun ---

bool PBEdgeOverlapRun::insertOverlap(const std::shared_ptr<PBEdgeOverlap>& overlap) {
  if (overlaps_.empty() || overlaps_.back()->fitsBefore(*overlap)) {
    overlaps_.push_back(overlap);
    return true;
  }
  if (overlaps_.front()->fitsAfter(*overlap)) {
    overlaps_.insert(overlaps_.begin(), overlap);
    return true;
  }
  return false;
}

void PBEdgeOverlapRun::appendRun(const PBEdgeOverlapRun& run) {
  overlaps_.insert(overlaps_.end(), run.overlaps_.begin(), run.overlaps_.end());
}

bool PBEdgeOverlapRun::isComplete() const {
  if (overlaps_.empty() || !overlaps_.back()->fitsBefore(*overlaps_.front())) return false;
  // Closing on itself is not enough: a piece shorter than the continuity tolerance (two curves
  // grazing where they touch) fits before itself. A complete run goes round every edge.
  const PBBezierContour* contour = overlaps_.front()->edge1()->contour();
  if (!contour) return false;
  std::vector<const PBBezierCurve*> visited;
  for (const auto& overlap : overlaps_) {
    if (std::find(visited.begin(), visited.end(), overlap->edge1()) == visited.end()) {
      visited.push_back(overlap->edge1());
    }
  }
  return visited.size() >= contour->edges().size();
}

bool PBEdgeOverlapRun::spansAStretch() const {
  double extent1 = 0;
  double extent2 = 0;
  for (const auto& overlap : overlaps_) {
    extent1 += PBRangeGetSize(overlap->range().parameterRange1());
    extent2 += PBRangeGetSize(overlap->range().parameterRange2());
  }
  return extent1 > kContinuityThreshold || extent2 > kContinuityThreshold;
}

bool PBEdgeOverlapRun::doesContainCrossing(const PBEdgeCrossing& crossing) const {
  return doesContainParameter(crossing.parameter(), crossing.edge());
}

bool PBEdgeOverlapRun::doesContainParameter(double parameter, const PBBezierCurve* edge) const {
  for (std::size_t i = 0; i < overlaps_.size(); ++i) {
    const PBEdgeOverlap& overlap = *overlaps_[i];
    if (overlap.edge1() != edge && overlap.edge2() != edge) continue;
    const bool isFirst = i == 0;
    const bool isLast = i + 1 == overlaps_.size();
    const bool startExtends = !isFirst || overlaps_.back()->fitsBefore(*overlaps_.front());
    const bool endExtends = !isLast || overlaps_.front()->fitsAfter(*overlaps_.back());
    return overlap.doesContainParameter(parameter, edge, startExtends, endExtends);
  }
  return false;
}

namespace {

// The curves just before and just after a run on each outline, in the direction of edge 1's contour.
struct RunNeighbours {
  PBBezierCurve* before1;
  PBBezierCurve* after1;
  PBBezierCurve* before2;  // on edge 2's outline, matched with before1
  PBBezierCurve* after2;
  bool before2FromRight;   // edge 2's first tangent is measured from the curve's end (not reversed)
};

RunNeighbours runNeighbours(const PBEdgeOverlap& first, const PBEdgeOverlap& last) {
  PBBezierIntersectRange& firstRange = first.range();
  PBBezierIntersectRange& lastRange = last.range();
  RunNeighbours neighbours{};
  neighbours.before1 =
      firstRange.isAtStartOfCurve1() ? first.edge1()->previousNonpoint() : firstRange.curve1LeftBezier();
  neighbours.after1 = lastRange.isAtStopOfCurve1() ? last.edge1()->nextNonpoint() : lastRange.curve1RightBezier();
  if (!firstRange.reversed()) {
    neighbours.before2 =
        firstRange.isAtStartOfCurve2() ? first.edge2()->previousNonpoint() : firstRange.curve2LeftBezier();
    neighbours.after2 = lastRange.isAtStopOfCurve2() ? last.edge2()->nextNonpoint() : lastRange.curve2RightBezier();
    neighbours.before2FromRight = true;
  } else {
    neighbours.before2 = firstRange.isAtStopOfCurve2() ? first.edge2()->nextNonpoint() : firstRange.curve2RightBezier();
    neighbours.after2 =
        lastRange.isAtStartOfCurve2() ? last.edge2()->previousNonpoint() : lastRange.curve2LeftBezier();
    neighbours.before2FromRight = false;
  }
  return neighbours;
}

}  // namespace

bool PBEdgeOverlapRun::isCrossing() const {
  if (overlaps_.empty()) return false;
  const RunNeighbours curves = runNeighbours(*overlaps_.front(), *overlaps_.back());
  // A piece may be missing when the range reaches a curve's end within its tolerance: nothing to compare.
  if (!curves.before1 || !curves.after1 || !curves.before2 || !curves.after2) return false;
  PBTangentPair pair1;
  PBTangentPair pair2;
  const double shortest = std::min({curves.before1->length(), curves.after1->length(), curves.before2->length(),
                                    curves.after2->length()});
  double offset = 0.0;
  do {
    pair1.arriving = curves.before1->tangentFromRightOffset(offset);
    pair1.leaving = curves.after1->tangentFromLeftOffset(offset);
    if (curves.before2FromRight) {
      pair2.arriving = curves.before2->tangentFromRightOffset(offset);
      pair2.leaving = curves.after2->tangentFromLeftOffset(offset);
    } else {
      pair2.arriving = curves.before2->tangentFromLeftOffset(offset);
      pair2.leaving = curves.after2->tangentFromRightOffset(offset);
    }
    offset += 1.0;
  } while (PBTangentPairsCoincide(pair1, pair2) && offset < shortest);
  if (PBTangentPairsInterleave(pair1, pair2)) return true;

  PBBezierContour* other = overlaps_.front()->edge2()->contour();
  if (!other) return false;
  const bool beforeInside = other->containsPoint(curves.before1->pointFromRightOffset(1.0));
  const bool afterInside = other->containsPoint(curves.after1->pointFromLeftOffset(1.0));
  return beforeInside != afterInside;
}

PBBezierContour* PBEdgeOverlapRun::contour1() const {
  return overlaps_.empty() ? nullptr : overlaps_.front()->edge1()->contour();
}

PBBezierContour* PBEdgeOverlapRun::contour2() const {
  return overlaps_.empty() ? nullptr : overlaps_.front()->edge2()->contour();
}

std::string PBEdgeOverlapRun::description() const {
  std::vector<std::string> items;
  for (const auto& overlap : overlaps_) items.push_back(overlap->description());
  return "<PBEdgeOverlapRun: overlaps = " + PBListDescription(items) + ">";
}

// --- PBContourOverlap ---

void PBContourOverlap::addOverlap(std::shared_ptr<PBBezierIntersectRange> range, PBBezierCurve* edge1,
                                  PBBezierCurve* edge2) {
  auto overlap = std::make_shared<PBEdgeOverlap>(std::move(range), edge1, edge2);
  for (std::size_t index = 0; index < runs_.size(); ++index) {
    if (!runs_[index]->insertOverlap(overlap)) continue;
    joinRunsAround(index);
    return;
  }
  auto run = std::make_shared<PBEdgeOverlapRun>();
  run->insertOverlap(overlap);
  runs_.push_back(std::move(run));
}

void PBContourOverlap::joinRunsAround(std::size_t index) {
  // Pieces arrive in the order the edge pairs are searched, so a piece may close the gap between two runs: one
  // stretch split in two would be judged by pieces of itself as its neighbours.
  for (std::size_t other = 0; other < runs_.size(); ++other) {
    if (other == index) continue;
    std::size_t first = index;
    std::size_t second = other;
    if (!runs_[first]->overlaps().back()->fitsBefore(*runs_[second]->overlaps().front())) {
      std::swap(first, second);
      if (!runs_[first]->overlaps().back()->fitsBefore(*runs_[second]->overlaps().front())) continue;
    }
    runs_[first]->appendRun(*runs_[second]);
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(second));
    return;
  }
}

bool PBContourOverlap::doesContainCrossing(const PBEdgeCrossing& crossing) const {
  for (const auto& run : runs_) {
    if (run->doesContainCrossing(crossing)) return true;
  }
  return false;
}

bool PBContourOverlap::doesContainParameter(double parameter, const PBBezierCurve* edge) const {
  for (const auto& run : runs_) {
    if (run->doesContainParameter(parameter, edge)) return true;
  }
  return false;
}

void PBContourOverlap::runsWithBlock(const PBOverlapRunBlock& block) {
  bool stop = false;
  for (const auto& run : runs_) {
    block(*run, &stop);
    if (stop) break;
  }
}

bool PBContourOverlap::isComplete() const { return runs_.size() == 1 && runs_.front()->isComplete(); }

PBBezierContour* PBContourOverlap::contour1() const { return runs_.empty() ? nullptr : runs_.front()->contour1(); }

PBBezierContour* PBContourOverlap::contour2() const { return runs_.empty() ? nullptr : runs_.front()->contour2(); }

bool PBContourOverlap::isBetweenContour(const PBBezierContour* contour1, const PBBezierContour* contour2) const {
  const PBBezierContour* mine1 = this->contour1();
  const PBBezierContour* mine2 = this->contour2();
  return (mine1 == contour1 && mine2 == contour2) || (mine1 == contour2 && mine2 == contour1);
}

std::string PBContourOverlap::description() const {
  std::vector<std::string> items;
  for (const auto& run : runs_) items.push_back(run->description());
  return "<PBContourOverlap: runs = " + PBListDescription(items) + ">";
}
