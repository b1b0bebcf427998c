#pragma once

// A stretch where two curves run on top of each other, with each curve split
// into the pieces before, inside and after it on demand. The curves are not owned.

#include <memory>
#include <string>

#include "boolean/range.h"

class PBBezierCurve;
class PBBezierIntersection;

class PBBezierIntersectRange {
 public:
  PBBezierIntersectRange(PBBezierCurve* curve1, const PBRange& parameterRange1, PBBezierCurve* curve2,
                         const PBRange& parameterRange2, bool reversed);
  static std::shared_ptr<PBBezierIntersectRange> intersectRangeWithCurve1(PBBezierCurve* curve1,
                                                                          const PBRange& parameterRange1,
                                                                          PBBezierCurve* curve2,
                                                                          const PBRange& parameterRange2,
                                                                          bool reversed);

  PBBezierCurve* curve1() const { return curve1_; }
  PBRange parameterRange1() const { return parameterRange1_; }
  PBBezierCurve* curve2() const { return curve2_; }
  PBRange parameterRange2() const { return parameterRange2_; }
  // The stretch runs in opposite directions on the two curves.
  bool reversed() const { return reversed_; }

  // Null where the range leaves no piece before (or after) it.
  PBBezierCurve* curve1LeftBezier();
  PBBezierCurve* curve1OverlappingBezier();
  PBBezierCurve* curve1RightBezier();
  PBBezierCurve* curve2LeftBezier();
  PBBezierCurve* curve2OverlappingBezier();
  PBBezierCurve* curve2RightBezier();

  // Range ends within 1e-4 of the curve's ends.
  bool isAtStartOfCurve1() const;
  bool isAtStopOfCurve1() const;
  bool isAtStartOfCurve2() const;
  bool isAtStopOfCurve2() const;

  // An intersection at the middle of both ranges.
  std::shared_ptr<PBBezierIntersection> middleIntersection() const;
  // Widens both ranges to cover the other's; the reversed flag stays.
  void merge(const PBBezierIntersectRange& other);
  void clearCache();
  std::string description() const;

 private:
  void computeCurve1();
  void computeCurve2();

  PBBezierCurve* curve1_;
  PBRange parameterRange1_;
  std::shared_ptr<PBBezierCurve> curve1LeftBezier_;
  std::shared_ptr<PBBezierCurve> curve1MiddleBezier_;
  std::shared_ptr<PBBezierCurve> curve1RightBezier_;
  bool needToComputeCurve1_ = true;
  PBBezierCurve* curve2_;
  PBRange parameterRange2_;
  bool reversed_;
  std::shared_ptr<PBBezierCurve> curve2LeftBezier_;
  std::shared_ptr<PBBezierCurve> curve2MiddleBezier_;
  std::shared_ptr<PBBezierCurve> curve2RightBezier_;
  bool needToComputeCurve2_ = true;
};
