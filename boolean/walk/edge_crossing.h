#pragma once

// The mark one intersection leaves on one of the two edges it joins. The edge
// owns its crossings; the links to the edge and to the counterpart (the mark of
// the same intersection on the other edge) do not own.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/geometry.h"

class PBBezierCurve;
class PBBezierIntersection;

class PBEdgeCrossing {
 public:
  explicit PBEdgeCrossing(std::shared_ptr<PBBezierIntersection> intersection);
  static std::shared_ptr<PBEdgeCrossing> crossingWithIntersection(std::shared_ptr<PBBezierIntersection> intersection);

  void removeFromEdge();
  // Takes the crossing and its counterpart off their edges; the caller holds the crossing alive.
  void removeWithCounterpart();
  // The sort key of the edge's crossing list: the parameter on the edge.
  double order() const { return parameter(); }
  PBEdgeCrossing* next() const;
  PBEdgeCrossing* previous() const;
  PBEdgeCrossing* nextNonself() const;
  PBEdgeCrossing* previousNonself() const;
  // The intersection's parameter on this crossing's edge (curve 1 when the edge is curve 1).
  double parameter() const;
  platform::Point location() const;
  PBBezierCurve* curve() const { return edge_; }
  // The edge's piece before (after) the crossing; null at the edge's start (end).
  PBBezierCurve* leftCurve() const;
  PBBezierCurve* rightCurve() const;
  bool isAtStart() const;
  bool isAtEnd() const;
  std::string description() const;

  PBBezierIntersection& intersection() const { return *intersection_; }
  PBBezierCurve* edge() const { return edge_; }
  void setEdge(PBBezierCurve* edge) { edge_ = edge; }
  PBEdgeCrossing* counterpart() const { return counterpart_; }
  void setCounterpart(PBEdgeCrossing* counterpart) { counterpart_ = counterpart; }
  bool isEntry() const { return entry_; }
  void setEntry(bool entry) { entry_ = entry; }
  bool isProcessed() const { return processed_; }
  void setProcessed(bool processed) { processed_ = processed; }
  bool isSelfCrossing() const { return selfCrossing_; }
  void setSelfCrossing(bool selfCrossing) { selfCrossing_ = selfCrossing; }
  std::uint64_t index() const { return index_; }
  void setIndex(std::uint64_t index) { index_ = index; }
  // Placed by a run of overlapping edges (at an end of its stretch or inside it), never taken for one inside it.
  bool fromOverlap() const { return fromOverlap_; }
  void setFromOverlap(bool fromOverlap) { fromOverlap_ = fromOverlap; }

 private:
  bool isOnCurve1() const;

  std::shared_ptr<PBBezierIntersection> intersection_;
  PBBezierCurve* edge_ = nullptr;
  PBEdgeCrossing* counterpart_ = nullptr;
  bool fromOverlap_ = false;
  bool entry_ = false;
  bool processed_ = false;
  bool selfCrossing_ = false;
  std::uint64_t index_ = 0;
};

// Two crossings of one intersection, each the other's counterpart, put on their edges: the first on edge 1, the
// intersection's curve 1. Returns the first.
std::shared_ptr<PBEdgeCrossing> PBAddCrossingPair(const std::shared_ptr<PBBezierIntersection>& intersection,
                                                  PBBezierCurve* edge1, PBBezierCurve* edge2);
