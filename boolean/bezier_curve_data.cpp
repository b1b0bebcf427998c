#include "boolean/bezier_curve_data.h"

#include <algorithm>
#include <cmath>

#include "boolean/convex_hull.h"
#include "boolean/gauss_legendre.h"
#include "boolean/rect_functions.h"
#include "boolean/root_finder.h"
#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"

using platform::Point;
using platform::Rect;

PBBezierCurveData PBBezierCurveDataMake(Point endPoint1, Point controlPoint1, Point controlPoint2, Point endPoint2,
                                        bool isStraightLine) {
  PBBezierCurveData data;
  data.endPoint1 = endPoint1;
  data.controlPoint1 = controlPoint1;
  data.controlPoint2 = controlPoint2;
  data.endPoint2 = endPoint2;
  data.isStraightLine = isStraightLine;
  return data;
}

PBBezierCurveData PBBezierCurveDataMakeLine(Point startPoint, Point endPoint) {
  const double distance = PBDistanceBetweenPoints(startPoint, endPoint);
  const Point unit = PBNormalizePoint(PBSubtractPoint(endPoint, startPoint));
  const Point controlPoint1 = PBAddPoint(startPoint, PBScalePoint(unit, distance / 3));
  const Point controlPoint2 = PBAddPoint(startPoint, PBScalePoint(unit, 2 * distance / 3));
  return PBBezierCurveDataMake(startPoint, controlPoint1, controlPoint2, endPoint, true);
}

Point PBBezierWithPoints(int degree, const Point* bezierPoints, double parameter, Point* leftArray, Point* rightArray) {
  // The work array holds a cubic at most.
  if (degree < 0 || degree > 3) return {};
  Point work[4];
  std::copy(bezierPoints, bezierPoints + degree + 1, work);
  if (leftArray) leftArray[0] = work[0];
  if (rightArray) rightArray[degree] = work[degree];
  for (int level = 1; level <= degree; ++level) {
    for (int i = 0; i <= degree - level; ++i) {
      work[i] = PBAddPoint(PBScalePoint(work[i], 1 - parameter), PBScalePoint(work[i + 1], parameter));
    }
    if (leftArray) leftArray[level] = work[0];
    if (rightArray) rightArray[degree - level] = work[degree - level];
  }
  return work[0];
}

Point PBBezierCurveDataPointAtParameter(const PBBezierCurveData& data, double parameter, PBBezierCurveData* leftCurve,
                                        PBBezierCurveData* rightCurve) {
  const Point points[4] = {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2};
  Point left[4];
  Point right[4];
  const Point point = PBBezierWithPoints(3, points, parameter, left, right);
  if (leftCurve) *leftCurve = PBBezierCurveDataMake(left[0], left[1], left[2], left[3], data.isStraightLine);
  if (rightCurve) *rightCurve = PBBezierCurveDataMake(right[0], right[1], right[2], right[3], data.isStraightLine);
  return point;
}

Point PBBezierCurveDataDerivative(const PBBezierCurveData& data, double parameter) {
  const Point points[3] = {PBScalePoint(PBSubtractPoint(data.controlPoint1, data.endPoint1), 3),
                           PBScalePoint(PBSubtractPoint(data.controlPoint2, data.controlPoint1), 3),
                           PBScalePoint(PBSubtractPoint(data.endPoint2, data.controlPoint2), 3)};
  return PBBezierWithPoints(2, points, parameter, nullptr, nullptr);
}

PBBezierCurveData PBBezierCurveDataSubcurveWithRange(const PBBezierCurveData& data, const PBRange& range) {
  PBBezierCurveData upper;
  PBBezierCurveDataPointAtParameter(data, range.minimum, nullptr, &upper);
  if (range.minimum == 1) return upper;
  PBBezierCurveData result;
  const double adjustedMaximum = (range.maximum - range.minimum) / (1 - range.minimum);
  PBBezierCurveDataPointAtParameter(upper, adjustedMaximum, &result, nullptr);
  return result;
}

PBBezierCurveDataSplit PBBezierCurveDataSplitSubcurvesWithRange(const PBBezierCurveData& data, const PBRange& range) {
  PBBezierCurveDataSplit split;
  PBBezierCurveData rest = data;
  if (range.minimum != 0) {
    PBBezierCurveData left;
    PBBezierCurveDataPointAtParameter(data, range.minimum, &left, &rest);
    split.left = left;
  }
  if (range.minimum == 1) {
    split.middle = rest;
    return split;
  }
  PBBezierCurveData right;
  const double adjustedMaximum = (range.maximum - range.minimum) / (1 - range.minimum);
  PBBezierCurveDataPointAtParameter(rest, adjustedMaximum, &split.middle, &right);
  split.right = right;
  return split;
}

PBBezierCurveData PBBezierCurveDataReversed(const PBBezierCurveData& data) {
  return PBBezierCurveDataMake(data.endPoint2, data.controlPoint2, data.controlPoint1, data.endPoint1,
                               data.isStraightLine);
}

namespace {

// Gauss-Legendre over [0, limit] of the speed |B'(u)|.
double gaussLegendreLength(const PBBezierCurveData& data, double limit) {
  const Point p0 = data.endPoint1;
  const Point p1 = data.controlPoint1;
  const Point p2 = data.controlPoint2;
  const Point p3 = data.endPoint2;
  const Point a = PBAddPoint(PBAddPoint(PBScalePoint(p0, -3), PBScalePoint(p1, 9)),
                             PBAddPoint(PBScalePoint(p2, -9), PBScalePoint(p3, 3)));
  const Point b = PBAddPoint(PBAddPoint(PBScalePoint(p0, 6), PBScalePoint(p1, -12)), PBScalePoint(p2, 6));
  const Point c = PBSubtractPoint(PBScalePoint(p1, 3), PBScalePoint(p0, 3));
  const double z = limit / 2;
  double sum = 0;
  for (int i = 0; i < PBGaussLegendreOrder; ++i) {
    const double u = z * PBGaussLegendreAbscissae[i] + z;
    const Point derivative{a.x * u * u + b.x * u + c.x, a.y * u * u + b.y * u + c.y};
    sum += PBGaussLegendreWeights[i] * std::hypot(derivative.x, derivative.y);
  }
  return z * sum;
}

}  // namespace

double PBBezierCurveDataGetLength(PBBezierCurveData* data) {
  if (data->length != -1) return data->length;
  data->length =
      data->isStraightLine ? PBDistanceBetweenPoints(data->endPoint1, data->endPoint2) : gaussLegendreLength(*data, 1);
  return data->length;
}

double PBBezierCurveDataGetLengthAtParameter(PBBezierCurveData* data, double parameter) {
  if (parameter == 1 && data->length != -1) return data->length;
  const double length = data->isStraightLine ? PBDistanceBetweenPoints(data->endPoint1, data->endPoint2) * parameter
                                             : gaussLegendreLength(*data, parameter);
  if (parameter == 1) data->length = length;
  return length;
}

namespace {

// Parameters where the derivative of one coordinate is zero; a root that is not a number fails the
// caller's range test.
int derivativeRoots(double p0, double p1, double p2, double p3, double roots[2]) {
  const double a = -p0 + 3 * p1 - 3 * p2 + p3;
  if (PBAreValuesClose(a, 0)) {
    roots[0] = (p0 - p1) / (2 * (p0 - 2 * p1 + p2));
    return 1;
  }
  const double s = std::sqrt(p2 * p2 + p1 * p1 - (p2 - p3) * p0 - (p3 + p2) * p1);
  roots[0] = (2 * p1 - p0 - p2 - s) / a;
  roots[1] = (2 * p1 - p0 - p2 + s) / a;
  return 2;
}

}  // namespace

Rect PBBezierCurveDataBounds(PBBezierCurveData* data) {
  if (data->bounds != Rect()) return data->bounds;
  Point minimum = data->endPoint1;
  Point maximum = data->endPoint1;
  PBExpandBoundsByPoint(&minimum, &maximum, data->endPoint2);
  if (!data->isStraightLine) {
    const Point& p0 = data->endPoint1;
    const Point& p1 = data->controlPoint1;
    const Point& p2 = data->controlPoint2;
    const Point& p3 = data->endPoint2;
    double roots[4];
    int count = derivativeRoots(p0.x, p1.x, p2.x, p3.x, roots);
    count += derivativeRoots(p0.y, p1.y, p2.y, p3.y, roots + count);
    for (int i = 0; i < count; ++i) {
      if (roots[i] >= 0 && roots[i] <= 1) {
        PBExpandBoundsByPoint(&minimum, &maximum, PBBezierCurveDataPointAtParameter(*data, roots[i], nullptr, nullptr));
      }
    }
  }
  data->bounds = Rect(minimum.x, minimum.y, maximum.x - minimum.x, maximum.y - minimum.y);
  return data->bounds;
}

Rect PBBezierCurveDataBoundingRect(PBBezierCurveData* data) {
  if (data->boundingRect != Rect()) return data->boundingRect;
  Point minimum = data->endPoint1;
  Point maximum = data->endPoint1;
  PBExpandBoundsByPoint(&minimum, &maximum, data->controlPoint1);
  PBExpandBoundsByPoint(&minimum, &maximum, data->controlPoint2);
  PBExpandBoundsByPoint(&minimum, &maximum, data->endPoint2);
  data->boundingRect = Rect(minimum.x, minimum.y, maximum.x - minimum.x, maximum.y - minimum.y);
  return data->boundingRect;
}

bool PBBezierCurveDataIsPoint(PBBezierCurveData* data) {
  if (data->isPoint == -1) {
    const bool isPoint = PBArePointsCloseWithOptions(data->endPoint1, data->controlPoint1, PBIsPointThreshold) &&
                         PBArePointsCloseWithOptions(data->endPoint1, data->controlPoint2, PBIsPointThreshold) &&
                         PBArePointsCloseWithOptions(data->endPoint1, data->endPoint2, PBIsPointThreshold);
    data->isPoint = isPoint ? 1 : 0;
  }
  return data->isPoint == 1;
}

double PBBezierCurveDataRefineParameter(const PBBezierCurveData& data, Point point, double parameter) {
  const Point points[4] = {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2};
  const Point onCurve = PBBezierWithPoints(3, points, parameter, nullptr, nullptr);
  Point derivativePoints[3];
  for (int i = 0; i < 3; ++i) derivativePoints[i] = PBScalePoint(PBSubtractPoint(points[i + 1], points[i]), 3);
  const Point firstDerivative = PBBezierWithPoints(2, derivativePoints, parameter, nullptr, nullptr);
  Point secondDerivativePoints[2];
  for (int i = 0; i < 2; ++i) {
    secondDerivativePoints[i] = PBScalePoint(PBSubtractPoint(derivativePoints[i + 1], derivativePoints[i]), 2);
  }
  const Point secondDerivative = PBBezierWithPoints(1, secondDerivativePoints, parameter, nullptr, nullptr);
  const Point offset = PBSubtractPoint(onCurve, point);
  const double numerator = PBDotMultiplyPoint(offset, firstDerivative);
  const double denominator =
      PBDotMultiplyPoint(firstDerivative, firstDerivative) + PBDotMultiplyPoint(offset, secondDerivative);
  return parameter - numerator / denominator;
}

void PBBezierCurveDataClosestLocationPolygon(const PBBezierCurveData& data, Point point, Point polygon[6]) {
  const Point points[4] = {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2};
  Point c[4];
  for (int i = 0; i < 4; ++i) c[i] = PBSubtractPoint(points[i], point);
  Point d[3];
  for (int i = 0; i < 3; ++i) d[i] = PBScalePoint(PBSubtractPoint(points[i + 1], points[i]), 3);
  auto m = [&](int i, int j) { return PBDotMultiplyPoint(d[i], c[j]); };
  polygon[0] = {0.0, m(0, 0)};
  polygon[1] = {0.2, 0.6 * m(0, 1) + 0.4 * m(1, 0)};
  polygon[2] = {0.4, 0.3 * m(0, 2) + 0.6 * m(1, 1) + 0.1 * m(2, 0)};
  polygon[3] = {0.6, 0.1 * m(0, 3) + 0.6 * m(1, 2) + 0.3 * m(2, 1)};
  polygon[4] = {0.8, 0.4 * m(1, 3) + 0.6 * m(2, 2)};
  polygon[5] = {1.0, m(2, 3)};
}

PBBezierCurveLocation PBBezierCurveDataClosestLocation(const PBBezierCurveData& data, Point point) {
  const Point points[4] = {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2};
  Point polygon[6];
  PBBezierCurveDataClosestLocationPolygon(data, point, polygon);
  PBBezierCurveLocation best{0, PBDistanceBetweenPoints(data.endPoint1, point)};
  PBRootsOfControlPolygon(polygon, 5, [&](double root) {
    const double distance = PBDistanceBetweenPoints(PBBezierWithPoints(3, points, root, nullptr, nullptr), point);
    if (distance < best.distance) best = {root, distance};
  });
  const double endDistance = PBDistanceBetweenPoints(data.endPoint2, point);
  if (endDistance < best.distance) best = {1, endDistance};
  return best;
}

bool PBBezierCurveDataIsEqualWithOptions(PBBezierCurveData data1, PBBezierCurveData data2, double endPointThreshold,
                                         double controlPointThreshold) {
  if (PBBezierCurveDataIsPoint(&data1) || PBBezierCurveDataIsPoint(&data2)) return false;
  if (data1.isStraightLine != data2.isStraightLine) return false;
  if (!PBArePointsCloseWithOptions(data1.endPoint1, data2.endPoint1, endPointThreshold)) return false;
  if (!data1.isStraightLine) {
    if (!PBArePointsCloseWithOptions(data1.controlPoint1, data2.controlPoint1, controlPointThreshold)) return false;
    if (!PBArePointsCloseWithOptions(data1.controlPoint2, data2.controlPoint2, controlPointThreshold)) return false;
  }
  return PBArePointsCloseWithOptions(data1.endPoint2, data2.endPoint2, endPointThreshold);
}

bool PBBezierCurveDataIsEqual(const PBBezierCurveData& data1, const PBBezierCurveData& data2) {
  return PBBezierCurveDataIsEqualWithOptions(data1, data2, PBPointCloseThreshold, PBPointCloseThreshold);
}

bool PBBezierCurveDataIsApproximatelyEqual(const PBBezierCurveData& data1, const PBBezierCurveData& data2) {
  return PBBezierCurveDataIsEqualWithOptions(data1, data2, PBApproximateEndPointThreshold,
                                             PBApproximateControlPointThreshold);
}

bool PBBezierCurveDataAreClose(const PBBezierCurveData& data1, const PBBezierCurveData& data2, double threshold) {
  for (const double parameter : {0.0, 0.5, 1.0}) {
    const Point point1 = PBBezierCurveDataPointAtParameter(data1, parameter, nullptr, nullptr);
    const Point point2 = PBBezierCurveDataPointAtParameter(data2, parameter, nullptr, nullptr);
    if (!PBArePointsCloseWithOptions(point1, point2, threshold)) return false;
  }
  return true;
}

int PBBezierCurveDataConvexHull(const PBBezierCurveData& data, Point hull[5]) {
  const Point points[4] = {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2};
  return PBConvexHullBuildFromPoints(points, hull);
}
