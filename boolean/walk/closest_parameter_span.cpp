#include "boolean/walk/closest_parameter_span.h"

#include <algorithm>
#include <cmath>

#include "boolean/root_finder.h"
#include "boolean/vector_functions.h"

using platform::Point;

namespace {

// A place the closest point may be: its parameters and the bounds of its distance to the point.
struct Candidate {
  double minimum;
  double maximum;
  double nearest;
  double farthest;
  bool exists;  // a span with several sign changes may hold no root at all
};

// Rounding in evaluating points and distances, far below any tolerance that uses the answer.
double roundingSlack(const PBBezierCurveData& data, Point point) {
  double scale = std::max(std::fabs(point.x), std::fabs(point.y));
  for (const Point& corner : {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2}) {
    scale = std::max({scale, std::fabs(corner.x), std::fabs(corner.y)});
  }
  return 1e-12 * (1 + scale);
}

}  // namespace

double PBBezierCurveDataSpeedBound(const PBBezierCurveData& data) {
  return 3 * std::max({PBDistanceBetweenPoints(data.endPoint1, data.controlPoint1),
                       PBDistanceBetweenPoints(data.controlPoint1, data.controlPoint2),
                       PBDistanceBetweenPoints(data.controlPoint2, data.endPoint2)});
}

PBClosestParameterSpans PBBezierCurveDataClosestParameterSpans(const PBBezierCurveData& data, Point point,
                                                               int stopDepth) {
  const Point points[4] = {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2};
  Point polygon[6];
  PBBezierCurveDataClosestLocationPolygon(data, point, polygon);
  const double slack = roundingSlack(data, point);
  const double speed = PBBezierCurveDataSpeedBound(data);
  auto distanceAt = [&](double parameter) {
    return PBDistanceBetweenPoints(PBBezierWithPoints(3, points, parameter, nullptr, nullptr), point);
  };

  // In the full search's order: the start, the roots, the end.
  Candidate candidates[PBClosestParameterSpans::kMaximumCount];
  int count = 0;
  bool overflow = false;
  auto add = [&](const Candidate& candidate) {
    if (count < PBClosestParameterSpans::kMaximumCount) {
      candidates[count++] = candidate;
    } else {
      overflow = true;
    }
  };
  const double startDistance = PBDistanceBetweenPoints(data.endPoint1, point);
  const double endDistance = PBDistanceBetweenPoints(data.endPoint2, point);
  add({0, 0, startDistance, startDistance, true});
  // The ends are always candidates, so a piece of the curve surely farther than the nearer end cannot hold the
  // closest point: its roots need not be searched.
  const double endBound = std::min(startDistance, endDistance) + slack;
  auto surelyFarther = [&](double minimum, double maximum) {
    const double reach = speed * ((maximum - minimum) / 2 + slack) + slack;
    return distanceAt((minimum + maximum) / 2) - reach > endBound;
  };
  PBRootSpansOfControlPolygon(
      polygon, 5, stopDepth,
      [&](double root) {
        const double distance = distanceAt(root);
        add({root, root, distance, distance, true});
      },
      [&](double minimum, double maximum, bool holdsOneRoot) {
        const double middle = (minimum + maximum) / 2;
        const double reach = speed * ((maximum - minimum) / 2 + slack) + slack;
        const double distance = distanceAt(middle);
        add({minimum - slack, maximum + slack, distance - reach, distance + reach, holdsOneRoot});
      },
      surelyFarther);
  add({1, 1, endDistance, endDistance, true});
  if (overflow) return {};

  // The full search picks one of the candidates that may be nearest: those not farther for certain than some
  // candidate that surely exists. Its parameter lies among theirs.
  double bound = INFINITY;
  for (int i = 0; i < count; ++i) {
    if (std::isnan(candidates[i].nearest) || std::isnan(candidates[i].farthest)) return {};
    if (candidates[i].exists) bound = std::min(bound, candidates[i].farthest);
  }
  PBClosestParameterSpans spans;
  for (int i = 0; i < count; ++i) {
    if (candidates[i].nearest > bound + slack) continue;
    spans.spans[spans.count++] = {candidates[i].minimum, candidates[i].maximum};
  }
  spans.known = spans.count > 0;
  return spans;
}
