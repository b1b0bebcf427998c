#include "boolean/bezier_curve.h"

#include <algorithm>

#include "boolean/vector_functions.h"
#include "boolean/walk/bezier_intersection.h"
#include "platform/core/string_utilities.h"

using platform::Point;
using platform::Rect;

PBBezierCurve::PBBezierCurve(const PBBezierCurveData& data, PBBezierContour* contour)
    : data_(data), contour_(contour) {}

PBBezierCurve::~PBBezierCurve() = default;

std::shared_ptr<PBBezierCurve> PBBezierCurve::bezierCurveWithLineStartPoint(Point startPoint, Point endPoint,
                                                                            PBBezierContour* contour) {
  return std::make_shared<PBBezierCurve>(PBBezierCurveDataMakeLine(startPoint, endPoint), contour);
}

std::shared_ptr<PBBezierCurve> PBBezierCurve::bezierCurveWithEndPoint1(Point endPoint1, Point controlPoint1,
                                                                       Point controlPoint2, Point endPoint2,
                                                                       PBBezierContour* contour) {
  return std::make_shared<PBBezierCurve>(
      PBBezierCurveDataMake(endPoint1, controlPoint1, controlPoint2, endPoint2, false), contour);
}

std::shared_ptr<PBBezierCurve> PBBezierCurve::bezierCurveWithBezierCurveData(const PBBezierCurveData& data) {
  return std::make_shared<PBBezierCurve>(data);
}

std::vector<std::shared_ptr<PBBezierCurve>> PBBezierCurve::bezierCurvesFromBezierPath(
    const platform::BezierPath& path) {
  std::vector<std::shared_ptr<PBBezierCurve>> curves;
  Point current;
  Point subpathStart;
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    switch (path.elementAt(i, points)) {
      case platform::PathElement::Move:
        current = subpathStart = points[0];
        break;
      case platform::PathElement::Line:
        curves.push_back(bezierCurveWithLineStartPoint(current, points[0]));
        current = points[0];
        break;
      case platform::PathElement::Curve:
        curves.push_back(bezierCurveWithEndPoint1(current, points[0], points[1], points[2]));
        current = points[2];
        break;
      case platform::PathElement::Close:
        // Like the path itself, a close returns the current point to the subpath's start.
        current = subpathStart;
        break;
    }
  }
  return curves;
}

Point PBBezierCurve::pointAtParameter(double parameter, std::shared_ptr<PBBezierCurve>* leftBezierCurve,
                                      std::shared_ptr<PBBezierCurve>* rightBezierCurve) const {
  PBBezierCurveData left;
  PBBezierCurveData right;
  const Point point = PBBezierCurveDataPointAtParameter(data_, parameter, &left, &right);
  if (leftBezierCurve) *leftBezierCurve = std::make_shared<PBBezierCurve>(left);
  if (rightBezierCurve) *rightBezierCurve = std::make_shared<PBBezierCurve>(right);
  return point;
}

std::shared_ptr<PBBezierCurve> PBBezierCurve::subcurveWithRange(const PBRange& range) const {
  return std::make_shared<PBBezierCurve>(PBBezierCurveDataSubcurveWithRange(data_, range));
}

void PBBezierCurve::splitSubcurvesWithRange(const PBRange& range, std::shared_ptr<PBBezierCurve>* left,
                                            std::shared_ptr<PBBezierCurve>* middle,
                                            std::shared_ptr<PBBezierCurve>* right) const {
  const PBBezierCurveDataSplit split = PBBezierCurveDataSplitSubcurvesWithRange(data_, range);
  if (left) *left = split.left ? std::make_shared<PBBezierCurve>(*split.left) : nullptr;
  if (middle) *middle = std::make_shared<PBBezierCurve>(split.middle);
  if (right) *right = split.right ? std::make_shared<PBBezierCurve>(*split.right) : nullptr;
}

std::shared_ptr<PBBezierCurve> PBBezierCurve::reversedCurve() const {
  return std::make_shared<PBBezierCurve>(PBBezierCurveDataReversed(data_));
}

double PBBezierCurve::length() const { return PBBezierCurveDataGetLength(&data_); }

double PBBezierCurve::lengthAtParameter(double parameter) const {
  return PBBezierCurveDataGetLengthAtParameter(&data_, parameter);
}

Rect PBBezierCurve::bounds() const { return PBBezierCurveDataBounds(&data_); }

Rect PBBezierCurve::boundingRect() const { return PBBezierCurveDataBoundingRect(&data_); }

bool PBBezierCurve::isPoint() const { return PBBezierCurveDataIsPoint(&data_); }

const PBFatLineBands& PBBezierCurve::fatLineBands() const {
  if (!fatLineBands_) fatLineBands_ = PBFatLineBandsOfCurve(data_);
  return *fatLineBands_;
}

Point PBBezierCurve::pointFromLeftOffset(double offset) const {
  const double curveLength = length();
  // A curve of zero length has only its start to give.
  const double parameter = curveLength == 0 ? 0 : std::min(offset, curveLength) / curveLength;
  return pointAtParameter(parameter);
}

Point PBBezierCurve::pointFromRightOffset(double offset) const {
  const double curveLength = length();
  const double parameter = curveLength == 0 ? 1 : 1 - std::min(offset, curveLength) / curveLength;
  return pointAtParameter(parameter);
}

Point PBBezierCurve::tangentFromLeftOffset(double offset) const {
  if (data_.isStraightLine && !isPoint()) return PBSubtractPoint(data_.endPoint2, data_.endPoint1);
  if (offset == 0 && data_.controlPoint1 != data_.endPoint1) {
    return PBSubtractPoint(data_.controlPoint1, data_.endPoint1);
  }
  const double curveLength = length();
  // A curve of zero length has no direction.
  if (curveLength == 0) return {};
  const double parameter = offset == 0 ? std::min(1.0, curveLength) / curveLength : offset / curveLength;
  PBBezierCurveData right;
  PBBezierCurveDataPointAtParameter(data_, parameter, nullptr, &right);
  return PBSubtractPoint(right.controlPoint1, right.endPoint1);
}

Point PBBezierCurve::tangentFromRightOffset(double offset) const {
  if (data_.isStraightLine && !isPoint()) return PBSubtractPoint(data_.endPoint1, data_.endPoint2);
  if (offset == 0 && data_.controlPoint2 != data_.endPoint2) {
    return PBSubtractPoint(data_.controlPoint2, data_.endPoint2);
  }
  const double curveLength = length();
  if (curveLength == 0) return {};
  const double distance = offset == 0 ? std::min(1.0, curveLength) : offset;
  PBBezierCurveData left;
  PBBezierCurveDataPointAtParameter(data_, 1 - distance / curveLength, &left, nullptr);
  return PBSubtractPoint(left.controlPoint2, left.endPoint2);
}

double PBBezierCurve::refineParameter(double parameter, Point point) const {
  return PBBezierCurveDataRefineParameter(data_, point, parameter);
}

PBBezierCurveLocation PBBezierCurve::closestLocationToPoint(Point point) const {
  return PBBezierCurveDataClosestLocation(data_, point);
}

bool PBBezierCurve::isEqual(const PBBezierCurve& other) const { return PBBezierCurveDataIsEqual(data_, other.data_); }

bool PBBezierCurve::doesHaveIntersectionsWithBezierCurve(PBBezierCurve* curve) {
  bool found = false;
  intersectionsWithBezierCurve(curve, nullptr, [&found](const std::shared_ptr<PBBezierIntersection>&, bool* stop) {
    found = true;
    *stop = true;
  });
  return found;
}

platform::BezierPath PBBezierCurve::bezierPath() const {
  platform::BezierPath path;
  path.moveTo(data_.endPoint1);
  path.curveTo(data_.endPoint2, data_.controlPoint1, data_.controlPoint2);
  return path;
}

std::shared_ptr<PBBezierCurve> PBBezierCurve::clone() const { return std::make_shared<PBBezierCurve>(data_); }

std::string PBBezierCurve::description() const {
  return platform::formatString("<PBBezierCurve (%.18f, %.18f)-[%.18f, %.18f] curve to [%.18f, %.18f]-(%.18f, %.18f)>",
                            data_.endPoint1.x, data_.endPoint1.y, data_.controlPoint1.x, data_.controlPoint1.y,
                            data_.controlPoint2.x, data_.controlPoint2.y, data_.endPoint2.x, data_.endPoint2.y);
}
