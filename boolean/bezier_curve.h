#pragma once

// A cubic Bezier curve of the boolean engine, and its role as an edge of a contour.
//
// Ownership: a contour owns its edges and an edge owns its crossings; the links
// back (edge → contour, crossing → edge, crossing → counterpart) do not own.
// Intersections and overlap ranges refer to the two curves they were found on
// without owning them, so those curves must outlive the results (the graph of one
// operation owns both).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "boolean/bezier_curve_data.h"
#include "boolean/range.h"
#include "boolean/walk/fat_line_clip.h"
#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

class PBBezierContour;
class PBBezierCurve;
class PBBezierIntersection;
class PBBezierIntersectRange;
class PBEdgeCrossing;

// Called once per intersection; setting *stop ends the search of pending pieces.
using PBIntersectionBlock = std::function<void(const std::shared_ptr<PBBezierIntersection>& intersection, bool* stop)>;
using PBCrossingBlock = std::function<void(const std::shared_ptr<PBEdgeCrossing>& crossing, bool* stop)>;
using PBEdgeBlock = std::function<void(PBBezierCurve* edge)>;

class PBBezierCurve {
 public:
  explicit PBBezierCurve(const PBBezierCurveData& data, PBBezierContour* contour = nullptr);
  PBBezierCurve(const PBBezierCurve&) = delete;
  PBBezierCurve& operator=(const PBBezierCurve&) = delete;
  ~PBBezierCurve();

  // --- Construction ---
  // A straight edge: controls at a third and two thirds of the way, isStraightLine set.
  static std::shared_ptr<PBBezierCurve> bezierCurveWithLineStartPoint(platform::Point startPoint,
                                                                      platform::Point endPoint,
                                                                      PBBezierContour* contour = nullptr);
  // A cubic with these points; never flagged straight, whatever the points.
  static std::shared_ptr<PBBezierCurve> bezierCurveWithEndPoint1(platform::Point endPoint1,
                                                                 platform::Point controlPoint1,
                                                                 platform::Point controlPoint2,
                                                                 platform::Point endPoint2,
                                                                 PBBezierContour* contour = nullptr);
  // A copy of the record, caches included; no contour.
  static std::shared_ptr<PBBezierCurve> bezierCurveWithBezierCurveData(const PBBezierCurveData& data);
  // One curve per line or curve element, each starting where the element before ended.
  static std::vector<std::shared_ptr<PBBezierCurve>> bezierCurvesFromBezierPath(const platform::BezierPath& path);

  // --- Read access ---
  platform::Point endPoint1() const { return data_.endPoint1; }
  platform::Point controlPoint1() const { return data_.controlPoint1; }
  platform::Point controlPoint2() const { return data_.controlPoint2; }
  platform::Point endPoint2() const { return data_.endPoint2; }
  bool isStraightLine() const { return data_.isStraightLine; }
  // A copy of the whole record with its caches.
  PBBezierCurveData data() const { return data_; }

  // --- Geometry ---
  platform::Point pointAtParameter(double parameter, std::shared_ptr<PBBezierCurve>* leftBezierCurve = nullptr,
                                   std::shared_ptr<PBBezierCurve>* rightBezierCurve = nullptr) const;
  std::shared_ptr<PBBezierCurve> subcurveWithRange(const PBRange& range) const;
  // Out slots may be null; the left slot is set to null when the range starts at 0, the right one when
  // it starts at 1.
  void splitSubcurvesWithRange(const PBRange& range, std::shared_ptr<PBBezierCurve>* left,
                               std::shared_ptr<PBBezierCurve>* middle, std::shared_ptr<PBBezierCurve>* right) const;
  std::shared_ptr<PBBezierCurve> reversedCurve() const;
  double length() const;
  double lengthAtParameter(double parameter) const;
  platform::Rect bounds() const;
  platform::Rect boundingRect() const;
  bool isPoint() const;
  // Computed once: the crossing search tests every nearby edge against them.
  const PBFatLineBands& fatLineBands() const;
  // The distance is mapped to a parameter proportionally; a curve of zero length gives its own end.
  platform::Point pointFromLeftOffset(double offset) const;
  platform::Point pointFromRightOffset(double offset) const;
  // Tangents pointing away from the respective end; zero for a curve of zero length.
  platform::Point tangentFromLeftOffset(double offset) const;
  platform::Point tangentFromRightOffset(double offset) const;
  double refineParameter(double parameter, platform::Point point) const;
  PBBezierCurveLocation closestLocationToPoint(platform::Point point) const;

  // --- Comparison and output ---
  // The records agree within 1e-10 (caches aside).
  bool isEqual(const PBBezierCurve& other) const;
  bool doesHaveIntersectionsWithBezierCurve(PBBezierCurve* curve);
  platform::BezierPath bezierPath() const;
  std::shared_ptr<PBBezierCurve> clone() const;
  std::string description() const;

  // --- Intersection (found by fat-line clipping) ---
  // Reports each crossing or touching point of the receiver (curve 1) and `curve` (curve 2) in search
  // order. A stretch where the two coincide goes into `overlapRange` (which should hold null) and is not
  // reported through the block; a null slot drops overlaps.
  void intersectionsWithBezierCurve(PBBezierCurve* curve, std::shared_ptr<PBBezierIntersectRange>* overlapRange,
                                    const PBIntersectionBlock& block);

  // --- Edge role ---
  std::vector<std::shared_ptr<PBEdgeCrossing>>& crossings_() { return crossings_list_; }
  // Orders the crossings by parameter (ties keep their insertion order) and renumbers them.
  void sortCrossings();
  std::uint64_t index() const { return index_; }
  void setIndex(std::uint64_t index) { index_ = index; }
  bool isStartShared() const { return startShared_; }
  void setStartShared(bool startShared) { startShared_ = startShared; }
  PBBezierContour* contour() const { return contour_; }
  void setContour(PBBezierContour* contour) { contour_ = contour; }
  void addCrossing(const std::shared_ptr<PBEdgeCrossing>& crossing);
  void removeCrossing(PBEdgeCrossing* crossing);
  // The crossings keep their edge link.
  void removeAllCrossings();
  // Neighbours in the contour, wrapping around; the receiver itself without a contour.
  PBBezierCurve* next();
  PBBezierCurve* previous();
  // The first neighbour in that direction that is not a point, after at most one lap; when every edge
  // is a point, the plain neighbour.
  PBBezierCurve* nextNonpoint();
  PBBezierCurve* previousNonpoint();
  bool hasCrossings() const { return !crossings_list_.empty(); }
  // The block must not change the list.
  void crossingsWithBlock(const PBCrossingBlock& block);
  // Runs over a copy, so the block may add or remove crossings.
  void crossingsCopyWithBlock(const PBCrossingBlock& block);
  // No wrap-around: null after the last and before the first.
  PBEdgeCrossing* nextCrossing(const PBEdgeCrossing* crossing);
  PBEdgeCrossing* previousCrossing(const PBEdgeCrossing* crossing);
  void intersectingEdgesWithBlock(const PBEdgeBlock& block);
  void selfIntersectingEdgesWithBlock(const PBEdgeBlock& block);
  PBEdgeCrossing* firstCrossing();
  PBEdgeCrossing* lastCrossing();
  PBEdgeCrossing* firstNonselfCrossing();
  PBEdgeCrossing* lastNonselfCrossing();
  bool hasNonselfCrossings() const;
  // Whether the outlines through the receiver (edge 1) and `edge` (edge 2) really cross there rather
  // than touch.
  bool crossesEdge(PBBezierCurve* edge, PBBezierIntersection& intersection);
  bool crossesEdge(PBBezierCurve* edge, PBBezierIntersectRange& intersectRange);

 private:
  mutable PBBezierCurveData data_;
  mutable std::optional<PBFatLineBands> fatLineBands_;
  std::vector<std::shared_ptr<PBEdgeCrossing>> crossings_list_;
  PBBezierContour* contour_ = nullptr;
  std::uint64_t index_ = 0;
  bool startShared_ = false;
};

// Where the two edges meet at an end, marks the edge starting there as sharing
// its start with another contour.
void PBMarkSharedStarts(PBBezierCurve* edge1, PBBezierCurve* edge2, const PBBezierIntersection& intersection);
