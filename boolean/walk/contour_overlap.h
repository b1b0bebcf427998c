#pragma once

// Stretches where two contours of different graphs run on top of each other.
// Each piece found between one edge of each contour is a PBEdgeOverlap; pieces
// that continue each other along the first contour form a PBEdgeOverlapRun;
// all runs between one pair of contours form a PBContourOverlap. Edges are not
// owned: the graphs of the operation keep them alive.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class PBBezierContour;
class PBBezierCurve;
class PBBezierIntersectRange;
class PBEdgeCrossing;

class PBEdgeOverlap {
 public:
  PBEdgeOverlap(std::shared_ptr<PBBezierIntersectRange> range, PBBezierCurve* edge1, PBBezierCurve* edge2);

  PBBezierCurve* edge1() const { return edge1_; }
  PBBezierCurve* edge2() const { return edge2_; }
  PBBezierIntersectRange& range() const { return *range_; }

  // Whether `next` continues straight on from the receiver along edge 1's contour (0.01 on parameters).
  bool fitsBefore(const PBEdgeOverlap& next) const;
  // Whether `previous` ends just where the receiver starts along edge 1's contour.
  bool fitsAfter(const PBEdgeOverlap& previous) const;
  bool doesContainParameter(double parameter, const PBBezierCurve* edge, bool startExtends, bool endExtends) const;
  std::string description() const;

 private:
  PBBezierCurve* edge1_;
  PBBezierCurve* edge2_;
  std::shared_ptr<PBBezierIntersectRange> range_;
};

class PBEdgeOverlapRun {
 public:
  // Takes the overlap when the run is empty or it continues the run at its end or start.
  bool insertOverlap(const std::shared_ptr<PBEdgeOverlap>& overlap);
  // Takes the pieces of a run that continues the receiver at its end.
  void appendRun(const PBEdgeOverlapRun& run);
  // The run closes on itself: its last overlap fits before its first.
  bool isComplete() const;
  // Whether the pieces reach further than the continuity tolerance along either outline: shorter runs, as where two
  // curves graze, are taken as meeting at a point.
  bool spansAStretch() const;
  bool doesContainCrossing(const PBEdgeCrossing& crossing) const;
  bool doesContainParameter(double parameter, const PBBezierCurve* edge) const;
  // Whether the two outlines cross each other along the run rather than touch and part on one side.
  bool isCrossing() const;
  // The crossings of a run (overlap_crossings.cpp) are linked pairs flagged as coming from an overlap. Where the
  // outlines cross along it, one pair at the middle of the stretch.
  void addCrossings();
  // Where they touch along it and part on the side they came from, a pair at each end of the stretch, where a
  // result may turn from one outline to the other.
  void addEndCrossings();
  // Once the pairs just placed are marked as entries or exits, moves or takes them off so that no result runs
  // along the stretch and back.
  void settleCrossings();
  // Puts the pairs back where they were placed, for marking afresh.
  void restoreCrossings();
  PBBezierContour* contour1() const;
  PBBezierContour* contour2() const;
  const std::vector<std::shared_ptr<PBEdgeOverlap>>& overlaps() const { return overlaps_; }
  std::string description() const;

 private:
  enum class Place { Start, Middle, End };
  // Which pairs addCrossings or addEndCrossings placed.
  enum class Placement { None, Middle, Ends };
  void addCrossingPair(Place place);
  void removeCrossings();

  std::vector<std::shared_ptr<PBEdgeOverlap>> overlaps_;
  Placement placement_ = Placement::None;
  // The pairs' crossings on edge 1's outline, in order along it.
  std::vector<std::weak_ptr<PBEdgeCrossing>> crossings_;
};

using PBOverlapRunBlock = std::function<void(PBEdgeOverlapRun& run, bool* stop)>;

class PBContourOverlap {
 public:
  static std::shared_ptr<PBContourOverlap> contourOverlap() { return std::make_shared<PBContourOverlap>(); }

  // Offered to each run in turn; a piece none takes opens a new run, and a piece that joins two runs makes them one.
  void addOverlap(std::shared_ptr<PBBezierIntersectRange> range, PBBezierCurve* edge1, PBBezierCurve* edge2);
  bool doesContainCrossing(const PBEdgeCrossing& crossing) const;
  bool doesContainParameter(double parameter, const PBBezierCurve* edge) const;
  void runsWithBlock(const PBOverlapRunBlock& block);
  void reset() { runs_.clear(); }
  bool isComplete() const;
  bool isEmpty() const { return runs_.empty(); }
  PBBezierContour* contour1() const;
  PBBezierContour* contour2() const;
  bool isBetweenContour(const PBBezierContour* contour1, const PBBezierContour* contour2) const;
  const std::vector<std::shared_ptr<PBEdgeOverlapRun>>& runs() const { return runs_; }
  std::string description() const;

 private:
  void joinRunsAround(std::size_t index);

  std::vector<std::shared_ptr<PBEdgeOverlapRun>> runs_;
};
