#include "boolean/walk/bezier_intersect_range.h"

#include "boolean/bezier_curve.h"
#include "boolean/tolerance_functions.h"
#include "boolean/walk/bezier_intersection.h"
#include "platform/core/string_utilities.h"

namespace {

constexpr double kEndThreshold = 1e-4;

}  // namespace

PBBezierIntersectRange::PBBezierIntersectRange(PBBezierCurve* curve1, const PBRange& parameterRange1,
                                               PBBezierCurve* curve2, const PBRange& parameterRange2, bool reversed)
    : curve1_(curve1),
      parameterRange1_(parameterRange1),
      curve2_(curve2),
      parameterRange2_(parameterRange2),
      reversed_(reversed) {}

std::shared_ptr<PBBezierIntersectRange> PBBezierIntersectRange::intersectRangeWithCurve1(PBBezierCurve* curve1,
                                                                                         const PBRange& parameterRange1,
                                                                                         PBBezierCurve* curve2,
                                                                                         const PBRange& parameterRange2,
                                                                                         bool reversed) {
  return std::make_shared<PBBezierIntersectRange>(curve1, parameterRange1, curve2, parameterRange2, reversed);
}

void PBBezierIntersectRange::computeCurve1() {
  if (!needToComputeCurve1_) return;
  curve1_->splitSubcurvesWithRange(parameterRange1_, &curve1LeftBezier_, &curve1MiddleBezier_, &curve1RightBezier_);
  needToComputeCurve1_ = false;
}

void PBBezierIntersectRange::computeCurve2() {
  if (!needToComputeCurve2_) return;
  curve2_->splitSubcurvesWithRange(parameterRange2_, &curve2LeftBezier_, &curve2MiddleBezier_, &curve2RightBezier_);
  needToComputeCurve2_ = false;
}

PBBezierCurve* PBBezierIntersectRange::curve1LeftBezier() {
  computeCurve1();
  return curve1LeftBezier_.get();
}

PBBezierCurve* PBBezierIntersectRange::curve1OverlappingBezier() {
  computeCurve1();
  return curve1MiddleBezier_.get();
}

PBBezierCurve* PBBezierIntersectRange::curve1RightBezier() {
  computeCurve1();
  return curve1RightBezier_.get();
}

PBBezierCurve* PBBezierIntersectRange::curve2LeftBezier() {
  computeCurve2();
  return curve2LeftBezier_.get();
}

PBBezierCurve* PBBezierIntersectRange::curve2OverlappingBezier() {
  computeCurve2();
  return curve2MiddleBezier_.get();
}

PBBezierCurve* PBBezierIntersectRange::curve2RightBezier() {
  computeCurve2();
  return curve2RightBezier_.get();
}

bool PBBezierIntersectRange::isAtStartOfCurve1() const {
  return PBAreValuesCloseWithOptions(parameterRange1_.minimum, 0.0, kEndThreshold);
}

bool PBBezierIntersectRange::isAtStopOfCurve1() const {
  return PBAreValuesCloseWithOptions(parameterRange1_.maximum, 1.0, kEndThreshold);
}

bool PBBezierIntersectRange::isAtStartOfCurve2() const {
  return PBAreValuesCloseWithOptions(parameterRange2_.minimum, 0.0, kEndThreshold);
}

bool PBBezierIntersectRange::isAtStopOfCurve2() const {
  return PBAreValuesCloseWithOptions(parameterRange2_.maximum, 1.0, kEndThreshold);
}

std::shared_ptr<PBBezierIntersection> PBBezierIntersectRange::middleIntersection() const {
  return PBBezierIntersection::intersectionWithCurve1(curve1_, PBRangeAverage(parameterRange1_), curve2_,
                                                      PBRangeAverage(parameterRange2_));
}

void PBBezierIntersectRange::merge(const PBBezierIntersectRange& other) {
  parameterRange1_ = PBRangeUnion(parameterRange1_, other.parameterRange1_);
  parameterRange2_ = PBRangeUnion(parameterRange2_, other.parameterRange2_);
  clearCache();
}

void PBBezierIntersectRange::clearCache() {
  curve1LeftBezier_.reset();
  curve1MiddleBezier_.reset();
  curve1RightBezier_.reset();
  curve2LeftBezier_.reset();
  curve2MiddleBezier_.reset();
  curve2RightBezier_.reset();
  needToComputeCurve1_ = true;
  needToComputeCurve2_ = true;
}

std::string PBBezierIntersectRange::description() const {
  return platform::formatString("<PBBezierIntersectRange: param1 = (%f, %f), param2 = (%f, %f)>", parameterRange1_.minimum,
                            parameterRange1_.maximum, parameterRange2_.minimum, parameterRange2_.maximum);
}
