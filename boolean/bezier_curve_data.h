#pragma once

// The value record of a cubic Bezier curve and the record-level geometry on it.
// Records travel by value so sub-curves can be cut without objects; the caches
// (length, bounds, isPoint, boundingRect) are filled lazily through pointers.

#include <cstdint>
#include <optional>

#include "boolean/range.h"
#include "platform/core/geometry.h"

struct PBBezierCurveData {
  platform::Point endPoint1;
  platform::Point controlPoint1;
  platform::Point controlPoint2;
  platform::Point endPoint2;
  // Set only for curves made from a line; decides how length and tangents are computed.
  bool isStraightLine = false;
  double length = -1;           // -1: not measured yet
  platform::Rect bounds;        // zero rectangle: not computed yet
  std::int8_t isPoint = -1;     // -1: not tested yet, 0 no, 1 yes
  platform::Rect boundingRect;  // zero rectangle: not computed yet
};

struct PBBezierCurveLocation {
  double parameter = 0;
  double distance = 0;
};

// A record with empty caches.
PBBezierCurveData PBBezierCurveDataMake(platform::Point endPoint1, platform::Point controlPoint1,
                                        platform::Point controlPoint2, platform::Point endPoint2, bool isStraightLine);
// A straight line as a cubic: controls at a third and two thirds of the way.
PBBezierCurveData PBBezierCurveDataMakeLine(platform::Point startPoint, platform::Point endPoint);

// De Casteljau on `degree` + 1 points (degree 0 to 3; any other gives the origin and fills nothing). When given,
// `leftArray` receives the first point of every level and `rightArray` the last point of every level stored from the
// end.
platform::Point PBBezierWithPoints(int degree, const platform::Point* bezierPoints, double parameter,
                                   platform::Point* leftArray, platform::Point* rightArray);
// The point at `parameter`; the pieces before and after it when asked (caches empty, straightness kept).
platform::Point PBBezierCurveDataPointAtParameter(const PBBezierCurveData& data, double parameter,
                                                  PBBezierCurveData* leftCurve, PBBezierCurveData* rightCurve);
// The first derivative B'(t).
platform::Point PBBezierCurveDataDerivative(const PBBezierCurveData& data, double parameter);
PBBezierCurveData PBBezierCurveDataSubcurveWithRange(const PBBezierCurveData& data, const PBRange& range);
// The pieces before, inside and after a range: no left piece when the range starts at 0, no right
// piece when it starts at 1.
struct PBBezierCurveDataSplit {
  std::optional<PBBezierCurveData> left;
  PBBezierCurveData middle;
  std::optional<PBBezierCurveData> right;
};
PBBezierCurveDataSplit PBBezierCurveDataSplitSubcurvesWithRange(const PBBezierCurveData& data, const PBRange& range);
PBBezierCurveData PBBezierCurveDataReversed(const PBBezierCurveData& data);

double PBBezierCurveDataGetLength(PBBezierCurveData* data);
double PBBezierCurveDataGetLengthAtParameter(PBBezierCurveData* data, double parameter);
platform::Rect PBBezierCurveDataBounds(PBBezierCurveData* data);
platform::Rect PBBezierCurveDataBoundingRect(PBBezierCurveData* data);
bool PBBezierCurveDataIsPoint(PBBezierCurveData* data);

// One Newton step of `parameter` towards the nearest point to `point`.
double PBBezierCurveDataRefineParameter(const PBBezierCurveData& data, platform::Point point, double parameter);
PBBezierCurveLocation PBBezierCurveDataClosestLocation(const PBBezierCurveData& data, platform::Point point);
// (B(t) - P) · B'(t) as a degree-5 polynomial in Bezier form: its roots are where the distance to `point` is
// stationary.
void PBBezierCurveDataClosestLocationPolygon(const PBBezierCurveData& data, platform::Point point,
                                             platform::Point polygon[6]);

// Neither is a point, same straightness, end points within `endPointThreshold` and (for curves) control
// points within `controlPointThreshold`, coordinate by coordinate.
bool PBBezierCurveDataIsEqualWithOptions(PBBezierCurveData data1, PBBezierCurveData data2, double endPointThreshold,
                                         double controlPointThreshold);
// The strict test: 1e-10 for every point.
bool PBBezierCurveDataIsEqual(const PBBezierCurveData& data1, const PBBezierCurveData& data2);
// The loose test of the intersection search: 1e-4 for end points, 0.1 for control points.
constexpr double PBApproximateEndPointThreshold = 1e-4;
constexpr double PBApproximateControlPointThreshold = 0.1;
bool PBBezierCurveDataIsApproximatelyEqual(const PBBezierCurveData& data1, const PBBezierCurveData& data2);
// Whether two curves run together: the points at 0, 1/2 and 1 lie within `threshold`.
bool PBBezierCurveDataAreClose(const PBBezierCurveData& data1, const PBBezierCurveData& data2, double threshold);

// Convex hull of the four control points; see PBConvexHullBuildFromPoints.
int PBBezierCurveDataConvexHull(const PBBezierCurveData& data, platform::Point hull[5]);
