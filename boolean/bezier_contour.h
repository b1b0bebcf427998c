#pragma once

// One closed outline of a Bezier graph: a ring of cubic edges, and the questions
// the boolean operations ask of it (bounds, point containment by ray casting,
// where to start walking, entry and exit marking, overlaps with other contours,
// its path). The contour owns its edges and its overlap records.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "boolean/walk/bezier_intersection.h"
#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

class PBBezierCurve;
class PBContourOverlap;
class PBCurveLocation;
class PBEdgeCrossing;
class PBEdgeOverlap;

using PBEdgeOverlapBlock = std::function<void(PBEdgeOverlap& overlap)>;

// How many contours fill the point: 0 for a filled outline, 1 for a hole.
enum PBContourInside : int { PBContourInsideFilled = 0, PBContourInsideHole = 1 };

class PBBezierContour {
 public:
  PBBezierContour() = default;
  PBBezierContour(const PBBezierContour&) = delete;
  PBBezierContour& operator=(const PBBezierContour&) = delete;
  ~PBBezierContour();

  static std::shared_ptr<PBBezierContour> bezierContourWithCurve(std::shared_ptr<PBBezierCurve> curve);

  // --- Building ---
  // Takes the edge, makes the receiver its contour and numbers it; null is ignored.
  void addCurve(std::shared_ptr<PBBezierCurve> curve);
  // The piece of one edge between two crossings (either may be null: from the edge's start, to its end).
  void addCurveFrom(const PBEdgeCrossing* startCrossing, const PBEdgeCrossing* endCrossing);
  void addReverseCurve(const PBBezierCurve* curve);
  void addReverseCurveFrom(const PBEdgeCrossing* startCrossing, const PBEdgeCrossing* endCrossing);
  // Adds a straight edge back to the start when the ends are more than 1e-10 apart.
  void close();
  const std::vector<std::shared_ptr<PBBezierCurve>>& edges() const { return edges_; }

  // --- Geometry ---
  platform::Rect bounds();
  platform::Rect boundingRect();
  platform::Point firstPoint() const;
  // Even-odd test by a horizontal ray; a shared vertex counts once and a touch not at all.
  bool containsPoint(platform::Point point);
  std::size_t numberOfIntersectionsWithRay(PBBezierCurve* ray);
  void intersectionsWithRay(PBBezierCurve* ray, const std::function<void(PBBezierIntersection&)>& block);

  // --- Start edge and test point ---
  // Neither shares its start with another contour nor starts on a stretch shared with one.
  bool startsApart(const PBBezierCurve* edge) const;
  // The first edge that starts apart, else the first.
  PBBezierCurve* startEdge() const;
  platform::Point testPointForContainment() const;
  // Where marking and the containment test start: the start of the first edge that starts apart, else the middle of
  // the first edge from there that no overlap holds. Given the contours that marks are about, the middle must lie
  // clear of their outlines, and where no such middle is left, one on a stretch shared with other contours will do.
  void startingEdge(PBBezierCurve** edge, double* parameter, platform::Point* point,
                    const std::vector<PBBezierContour*>* others = nullptr) const;

  // --- Crossings and marking ---
  bool contourAndSelfIntersectingContoursContainPoint(platform::Point point);
  void markCrossingsAsEntryOrExitWithContour(PBBezierContour* otherContour, bool markInside);
  std::vector<PBBezierContour*> intersectingContours() const;
  std::vector<PBBezierContour*> selfIntersectingContours() const;
  void addSelfIntersectingContoursToArray(std::vector<PBBezierContour*>* contours,
                                          const PBBezierContour* originalContour) const;
  bool crossesOwnContour(const PBBezierContour* contour) const;

  // --- Overlaps ---
  void addOverlap(const std::shared_ptr<PBContourOverlap>& overlap);
  void removeAllOverlaps() { overlaps_.clear(); }
  // Shares a complete overlap with `contour`; never without overlaps, even against itself.
  bool isEquivalent(const PBBezierContour* contour) const;
  void forEachEdgeOverlapDo(const PBEdgeOverlapBlock& block) const;
  bool doesOverlapContainCrossing(const PBEdgeCrossing& crossing) const;
  bool doesOverlapContainParameter(double parameter, const PBBezierCurve* edge) const;
  // The same, counting only overlaps with the given contours.
  bool doesOverlapWithContainParameter(const std::vector<PBBezierContour*>& contours, double parameter,
                                       const PBBezierCurve* edge) const;
  const std::vector<std::shared_ptr<PBContourOverlap>>& overlaps() const { return overlaps_; }

  // --- Output, orientation, copies, queries ---
  // Move, a line or curve per edge, close; even-odd; cached until an edge is added.
  const platform::BezierPath& bezierPath();
  // 1 when the outline turns clockwise with y up (negative signed area), else 0.
  int direction() const;
  // The same outline run backwards: edges reversed and in reverse order.
  std::shared_ptr<PBBezierContour> reversedContour() const;
  // A counter-clockwise contour is returned as a new clockwise one, a clockwise contour as a copy.
  std::shared_ptr<PBBezierContour> contourMadeClockwiseIfNecessary() const;
  // A contour with clones of the edges (the original stays untouched).
  std::shared_ptr<PBBezierContour> copy() const;
  std::shared_ptr<PBCurveLocation> closestLocationToPoint(platform::Point point);
  std::string description();
  // 0 all crossings, 1 entries only, 2 exits only.
  platform::BezierPath debugPathForIntersectionType(int type);

  int inside() const { return inside_; }
  void setInside(int inside) { inside_ = inside; }

 private:
  bool markCrossingsOnEdge(PBBezierCurve* edge, double startParameter, double stopParameter,
                           const std::vector<PBBezierContour*>& otherContours, bool isEntry);
  void clearCaches();

  std::vector<std::shared_ptr<PBBezierCurve>> edges_;
  std::vector<std::shared_ptr<PBContourOverlap>> overlaps_;
  platform::Rect bounds_;
  platform::Rect boundingRect_;
  std::optional<platform::BezierPath> path_;
  int inside_ = PBContourInsideFilled;
};
