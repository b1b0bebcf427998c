#include "boolean/walk/fat_line_clip.h"

#include <algorithm>
#include <cmath>

#include "boolean/convex_hull.h"
#include "boolean/line_functions.h"
#include "boolean/vector_functions.h"

using platform::Point;

namespace {

constexpr PBRange kEmptyRange{1, 0};

bool isEmpty(const PBRange& range) { return range.minimum > range.maximum; }

// A NaN meeting point (a horizontal hull edge on the band) must not move the range.
void widenRange(PBRange* range, double value) {
  if (std::isnan(value)) return;
  range->minimum = std::min(range->minimum, value);
  range->maximum = std::max(range->maximum, value);
}

}  // namespace

PBRange PBClipHullToBand(const PBLineEquation& line, const PBRange& band, const PBBezierCurveData& curve) {
  const Point distancePoints[4] = {
      {0, PBLineEquationDistance(line, curve.endPoint1)},
      {1.0 / 3, PBLineEquationDistance(line, curve.controlPoint1)},
      {2.0 / 3, PBLineEquationDistance(line, curve.controlPoint2)},
      {1, PBLineEquationDistance(line, curve.endPoint2)},
  };
  Point hull[5];
  const int count = PBConvexHullBuildFromPoints(distancePoints, hull);

  PBRange range = kEmptyRange;
  for (int i = 0; i < count; ++i) {
    const Point from = hull[i];
    const Point to = hull[i + 1];
    for (const double height : {band.minimum, band.maximum}) {
      Point meeting;
      if (!PBLineIntersectsHorizontalLine(from, to, height, &meeting)) continue;
      // An edge running along the band's border lies in the band from end to end; its slope formula
      // would divide by zero.
      if (from.y == to.y) {
        widenRange(&range, from.x);
        widenRange(&range, to.x);
      } else {
        widenRange(&range, meeting.x);
      }
    }
    if (from.y > band.minimum && from.y < band.maximum) widenRange(&range, from.x);
  }
  // Bounds that are not finite (from coordinates that are not) give no usable cut: keep the whole range.
  if (!isEmpty(range) && (!std::isfinite(range.minimum) || !std::isfinite(range.maximum))) return {0, 1};
  return range;
}

namespace {

// The line through the fat-line curve's ends and the band of its control points' distances from it.
void fatLineBand(const PBBezierCurveData& fatLineCurve, PBLineEquation* line, PBRange* band) {
  *line = PBLineEquationThroughPoints(fatLineCurve.endPoint1, fatLineCurve.endPoint2);
  const double controlDistance1 = PBLineEquationDistance(*line, fatLineCurve.controlPoint1);
  const double controlDistance2 = PBLineEquationDistance(*line, fatLineCurve.controlPoint2);
  *band = {std::min({0.0, controlDistance1, controlDistance2}), std::max({0.0, controlDistance1, controlDistance2})};
}

// The perpendicular through the chord's midpoint and the band of all four points' distances from it.
void perpendicularBand(const PBBezierCurveData& fatLineCurve, PBLineEquation* line, PBRange* band) {
  const Point midpoint = PBLineMidpoint(fatLineCurve.endPoint1, fatLineCurve.endPoint2);
  const Point normal = PBLineNormal(fatLineCurve.endPoint1, fatLineCurve.endPoint2);
  *line = PBLineEquationThroughPoints(midpoint, PBAddPoint(midpoint, normal));
  *band = kEmptyRange;
  band->minimum = band->maximum = PBLineEquationDistance(*line, fatLineCurve.endPoint1);
  for (const Point& point : {fatLineCurve.controlPoint1, fatLineCurve.controlPoint2, fatLineCurve.endPoint2}) {
    widenRange(band, PBLineEquationDistance(*line, point));
  }
}

// Every point of the curve lies beyond the same border of the band by more than the clipping's own tolerance
// (PBLineIntersectsHorizontalLine reaches 1e-10 past a hull edge), so no hull edge or vertex can meet the band.
bool liesBeyondBand(const PBLineEquation& line, const PBRange& band, const PBBezierCurveData& curve) {
  constexpr double kMargin = 1e-9;
  const double distances[4] = {PBLineEquationDistance(line, curve.endPoint1),
                               PBLineEquationDistance(line, curve.controlPoint1),
                               PBLineEquationDistance(line, curve.controlPoint2),
                               PBLineEquationDistance(line, curve.endPoint2)};
  // NaN distances fail every comparison and so never count as beyond.
  const auto above = [&](double distance) { return distance - band.maximum > kMargin; };
  const auto below = [&](double distance) { return band.minimum - distance > kMargin; };
  return std::all_of(distances, distances + 4, above) || std::all_of(distances, distances + 4, below);
}

}  // namespace

PBFatLineBands PBFatLineBandsOfCurve(const PBBezierCurveData& curve) {
  PBFatLineBands bands;
  fatLineBand(curve, &bands.line, &bands.band);
  perpendicularBand(curve, &bands.perpendicular, &bands.perpendicularBand);
  return bands;
}

bool PBFatLineClipMisses(const PBBezierCurveData& curveToClip, const PBFatLineBands& bands) {
  return liesBeyondBand(bands.line, bands.band, curveToClip) ||
         liesBeyondBand(bands.perpendicular, bands.perpendicularBand, curveToClip);
}

PBBezierCurveData PBFatLineClip(const PBBezierCurveData& curveToClip, const PBBezierCurveData& fatLineCurve,
                                const PBBezierCurveData& wholeCurve, PBRange* range, bool* intersects) {
  *intersects = false;
  PBLineEquation fatLine;
  PBRange band;
  fatLineBand(fatLineCurve, &fatLine, &band);
  const PBRange clip1 = PBClipHullToBand(fatLine, band, curveToClip);
  if (isEmpty(clip1)) return curveToClip;

  PBLineEquation perpendicular;
  PBRange band2;
  perpendicularBand(fatLineCurve, &perpendicular, &band2);
  const PBRange clip2 = PBClipHullToBand(perpendicular, band2, curveToClip);
  if (isEmpty(clip2)) return curveToClip;

  const PBRange combined{std::max(clip1.minimum, clip2.minimum), std::min(clip1.maximum, clip2.maximum)};

  const double size = PBRangeGetSize(*range);
  *range = {range->minimum + size * combined.minimum, range->minimum + size * combined.maximum};
  *intersects = true;
  return PBBezierCurveDataSubcurveWithRange(wholeCurve, *range);
}
