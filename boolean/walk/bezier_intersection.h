#pragma once

// One point where two curves meet, with the two curves split there on demand.
// The curves are not owned: they outlive the intersections found on them.

#include <memory>
#include <string>

#include "platform/core/geometry.h"

class PBBezierCurve;

class PBBezierIntersection {
 public:
  PBBezierIntersection(PBBezierCurve* curve1, double parameter1, PBBezierCurve* curve2, double parameter2);
  static std::shared_ptr<PBBezierIntersection> intersectionWithCurve1(PBBezierCurve* curve1, double parameter1,
                                                                      PBBezierCurve* curve2, double parameter2);

  // The point on curve 1 at parameter 1.
  platform::Point location();
  PBBezierCurve* curve1() const { return curve1_; }
  double parameter1() const { return parameter1_; }
  PBBezierCurve* curve2() const { return curve2_; }
  double parameter2() const { return parameter2_; }
  PBBezierCurve* curve1LeftBezier();
  PBBezierCurve* curve1RightBezier();
  PBBezierCurve* curve2LeftBezier();
  PBBezierCurve* curve2RightBezier();

  // The curves touch rather than cross: a unit tangent of curve 1 equals one of curve 2 within 1e-7.
  // Never at an end point of either curve.
  bool isTangent();
  // Within 1e-4 of parameter 0 (or 1); always true on a curve that is a point.
  bool isAtStartOfCurve1() const;
  bool isAtStopOfCurve1() const;
  bool isAtStartOfCurve2() const;
  bool isAtStopOfCurve2() const;
  bool isAtEndPointOfCurve1() const { return isAtStartOfCurve1() || isAtStopOfCurve1(); }
  bool isAtEndPointOfCurve2() const { return isAtStartOfCurve2() || isAtStopOfCurve2(); }
  bool isAtEndPointOfCurve() const { return isAtEndPointOfCurve1() || isAtEndPointOfCurve2(); }
  std::string description();

 private:
  void computeCurve1();
  void computeCurve2();

  platform::Point location_;
  PBBezierCurve* curve1_;
  double parameter1_;
  std::shared_ptr<PBBezierCurve> curve1LeftBezier_;
  std::shared_ptr<PBBezierCurve> curve1RightBezier_;
  PBBezierCurve* curve2_;
  double parameter2_;
  std::shared_ptr<PBBezierCurve> curve2LeftBezier_;
  std::shared_ptr<PBBezierCurve> curve2RightBezier_;
  bool needToComputeCurve1_ = true;
  bool needToComputeCurve2_ = true;
};
