#include "boolean/walk/bezier_intersection.h"

#include "boolean/bezier_curve.h"
#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"
#include "platform/core/string_utilities.h"

using platform::Point;

namespace {

constexpr double kEndThreshold = 1e-4;
constexpr double kTangentThreshold = 1e-7;

}  // namespace

PBBezierIntersection::PBBezierIntersection(PBBezierCurve* curve1, double parameter1, PBBezierCurve* curve2,
                                           double parameter2)
    : curve1_(curve1), parameter1_(parameter1), curve2_(curve2), parameter2_(parameter2) {}

std::shared_ptr<PBBezierIntersection> PBBezierIntersection::intersectionWithCurve1(PBBezierCurve* curve1,
                                                                                   double parameter1,
                                                                                   PBBezierCurve* curve2,
                                                                                   double parameter2) {
  return std::make_shared<PBBezierIntersection>(curve1, parameter1, curve2, parameter2);
}

void PBBezierIntersection::computeCurve1() {
  if (!needToComputeCurve1_) return;
  location_ = curve1_->pointAtParameter(parameter1_, &curve1LeftBezier_, &curve1RightBezier_);
  needToComputeCurve1_ = false;
}

void PBBezierIntersection::computeCurve2() {
  if (!needToComputeCurve2_) return;
  curve2_->pointAtParameter(parameter2_, &curve2LeftBezier_, &curve2RightBezier_);
  needToComputeCurve2_ = false;
}

Point PBBezierIntersection::location() {
  computeCurve1();
  return location_;
}

PBBezierCurve* PBBezierIntersection::curve1LeftBezier() {
  computeCurve1();
  return curve1LeftBezier_.get();
}

PBBezierCurve* PBBezierIntersection::curve1RightBezier() {
  computeCurve1();
  return curve1RightBezier_.get();
}

PBBezierCurve* PBBezierIntersection::curve2LeftBezier() {
  computeCurve2();
  return curve2LeftBezier_.get();
}

PBBezierCurve* PBBezierIntersection::curve2RightBezier() {
  computeCurve2();
  return curve2RightBezier_.get();
}

bool PBBezierIntersection::isTangent() {
  // At an end point the neighbouring edges decide, not this pair of curves.
  if (isAtEndPointOfCurve()) return false;
  computeCurve1();
  computeCurve2();
  const Point curve1Backward =
      PBNormalizePoint(PBSubtractPoint(curve1LeftBezier_->controlPoint2(), curve1LeftBezier_->endPoint2()));
  const Point curve1Forward =
      PBNormalizePoint(PBSubtractPoint(curve1RightBezier_->controlPoint1(), curve1RightBezier_->endPoint1()));
  const Point curve2Backward =
      PBNormalizePoint(PBSubtractPoint(curve2LeftBezier_->controlPoint2(), curve2LeftBezier_->endPoint2()));
  const Point curve2Forward =
      PBNormalizePoint(PBSubtractPoint(curve2RightBezier_->controlPoint1(), curve2RightBezier_->endPoint1()));
  for (const Point& vector1 : {curve1Backward, curve1Forward}) {
    for (const Point& vector2 : {curve2Backward, curve2Forward}) {
      if (PBArePointsCloseWithOptions(vector1, vector2, kTangentThreshold)) return true;
    }
  }
  return false;
}

bool PBBezierIntersection::isAtStartOfCurve1() const {
  return PBAreValuesCloseWithOptions(parameter1_, 0.0, kEndThreshold) || curve1_->isPoint();
}

bool PBBezierIntersection::isAtStopOfCurve1() const {
  return PBAreValuesCloseWithOptions(parameter1_, 1.0, kEndThreshold) || curve1_->isPoint();
}

bool PBBezierIntersection::isAtStartOfCurve2() const {
  return PBAreValuesCloseWithOptions(parameter2_, 0.0, kEndThreshold) || curve2_->isPoint();
}

bool PBBezierIntersection::isAtStopOfCurve2() const {
  return PBAreValuesCloseWithOptions(parameter2_, 1.0, kEndThreshold) || curve2_->isPoint();
}

std::string PBBezierIntersection::description() {
  const Point point = location();
  return platform::formatString("<PBBezierIntersection: location = (%f, %f), param1 = %f, param2 = %f, isTangent = %s>",
                            point.x, point.y, parameter1_, parameter2_, isTangent() ? "yes" : "no");
}
