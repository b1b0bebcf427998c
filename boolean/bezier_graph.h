#pragma once

// A set of closed contours read from one path, and the four boolean operations
// between two such graphs, computed on the cubic curves themselves.
//
// Inputs are read by the even-odd rule. A single contour that crosses itself is
// treated as one ring, not split, so results for self-intersecting outlines
// (a five-point star drawn in one stroke) are unreliable.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_path.h"

class PBBezierContour;
class PBBezierCurve;
class PBCurveLocation;
class PBEdgeCrossing;
class PBRectIndex;

class PBBezierGraph {
 public:
  PBBezierGraph() = default;
  explicit PBBezierGraph(const platform::BezierPath& path);
  PBBezierGraph(const PBBezierGraph&) = delete;
  PBBezierGraph& operator=(const PBBezierGraph&) = delete;

  static std::shared_ptr<PBBezierGraph> bezierGraphWithBezierPath(const platform::BezierPath& path);
  static std::shared_ptr<PBBezierGraph> bezierGraph();
  // The path a graph read from `path` gives back, without building the graph.
  static platform::BezierPath bezierPathOfContours(const platform::BezierPath& path);

  // --- The operations: each leaves both operands without crossings or overlaps ---
  std::shared_ptr<PBBezierGraph> unionWithBezierGraph(PBBezierGraph& graph);
  std::shared_ptr<PBBezierGraph> intersectWithBezierGraph(PBBezierGraph& graph);
  std::shared_ptr<PBBezierGraph> differenceWithBezierGraph(PBBezierGraph& graph);
  // The union minus the intersection.
  std::shared_ptr<PBBezierGraph> xorWithBezierGraph(PBBezierGraph& graph);

  // Even-odd; contours without edges are left out.
  platform::BezierPath bezierPath() const;
  platform::Rect bounds();
  const std::vector<std::shared_ptr<PBBezierContour>>& contours() const { return contours_; }
  void addContour(std::shared_ptr<PBBezierContour> contour);

  // Crossing insertion sorts edges by their bounds instead of testing every pair; same results either way.
  bool usesBoundsSweep() const { return usesBoundsSweep_; }
  void setUsesBoundsSweep(bool usesBoundsSweep) { usesBoundsSweep_ = usesBoundsSweep; }

  // --- Steps of the operations ---
  void insertCrossingsWithBezierGraph(PBBezierGraph& other);
  void insertSelfCrossings();
  void cleanupCrossingsWithBezierGraph(PBBezierGraph& other);
  void removeDuplicateCrossings();
  void removeCrossingsInOverlaps();
  void markCrossingsAsEntryOrExitWithBezierGraph(PBBezierGraph& other, bool markInside);
  // The crossings of each overlap run shared with the other graph, once marked: see overlap_crossings.cpp.
  void settleOverlapCrossings();
  // Puts them back as inserted, for marking afresh.
  void restoreOverlapCrossings();
  // Settles the overlap crossings, then walks from crossing to crossing.
  std::shared_ptr<PBBezierGraph> bezierGraphFromIntersections();
  PBEdgeCrossing* firstUnprocessedCrossing() const;
  void markAllCrossingsAsUnprocessed();
  int contourInsides(PBBezierContour& contour);
  void removeCrossings();
  void removeOverlaps();

  // --- Containment of a contour that crosses nothing (even-odd over the graph's contours) ---
  bool containsContour(PBBezierContour& contour);

  // --- Queries ---
  std::shared_ptr<PBCurveLocation> closestLocationToPoint(platform::Point point);
  std::string description();

  // --- Debugging aids: crossings and marks as an operation leaves them before the walk ---
  // Removes old crossings and overlaps, inserts crossings and self crossings, marks both graphs.
  void debuggingInsertCrossingsWithBezierGraph(PBBezierGraph& other, bool markInside, bool markOtherInside);
  void debuggingInsertCrossingsForUnionWithBezierGraph(PBBezierGraph& other) {
    debuggingInsertCrossingsWithBezierGraph(other, false, false);
  }
  void debuggingInsertCrossingsForIntersectWithBezierGraph(PBBezierGraph& other) {
    debuggingInsertCrossingsWithBezierGraph(other, true, true);
  }
  void debuggingInsertCrossingsForDifferenceWithBezierGraph(PBBezierGraph& other) {
    debuggingInsertCrossingsWithBezierGraph(other, false, true);
  }
  // A linked crossing pair for every intersection, touching or not, without start-shared marks.
  void debuggingInsertIntersectionsWithBezierGraph(PBBezierGraph& other);
  // Control arms with small circles on curved edges, a small square at every edge's end.
  static platform::BezierPath debugPathForJointsOfContour(const PBBezierContour& contour);
  // The ray the inside test casts from the contour's test point, with a circle wherever another contour that does
  // not cross this one meets it; the whole path is dashed when that count is odd (the contour is a hole).
  // Crossing tests here mark start-shared edges just as self-crossing insertion does.
  platform::BezierPath debugPathForContainmentOfContour(PBBezierContour& contour);
  platform::BezierPath debugPathForContainmentOfContour(PBBezierContour& contour,
                                                        const platform::AffineTransform& transform);

 private:
  // Horizontal, from the contour's test point to just past the graph's bounds on the side away from it.
  std::shared_ptr<PBBezierCurve> containmentRayForContour(PBBezierContour& contour);
  // contourInsides with an index over the contours' bounds.
  int contourInsides(PBBezierContour& contour, const PBRectIndex& boundsIndex);
  std::shared_ptr<PBBezierGraph> makeResultGraph() const;

  std::vector<std::shared_ptr<PBBezierContour>> contours_;
  platform::Rect bounds_;
  bool usesBoundsSweep_ = true;
};
