#include "boolean/walk/tangent_pairs.h"

#include <cmath>
#include <numbers>

#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"

using platform::Point;

namespace {

constexpr double kTangentThreshold = 1e-12;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Polar angle in [0, 2π).
double polarAngle(Point vector) {
  double angle = 0;
  if (vector.x > 0) {
    angle = std::atan(vector.y / vector.x);
  } else if (vector.x < 0) {
    angle = std::atan(vector.y / vector.x) + (vector.y >= 0 ? std::numbers::pi : -std::numbers::pi);
  } else if (vector.y > 0) {
    angle = std::numbers::pi / 2;
  } else if (vector.y < 0) {
    angle = -std::numbers::pi / 2;
  }
  // fmod keeps a huge or NaN angle from looping.
  angle = std::fmod(angle, kTwoPi);
  if (angle < 0) angle += kTwoPi;
  // A direction a rounding error below the x axis is the axis itself: as nearly 2π it would lie on the far side of
  // every other angle, and an outline running on along another would seem to cross it.
  if (PBAreValuesCloseWithOptions(angle, kTwoPi, PBParameterCloseThreshold)) angle = 0;
  return angle;
}

// Strictly between `from` and `to` going counter-clockwise, by more than 1e-12.
bool isAngleBetween(double angle, double from, double to) {
  if (from <= to) return PBIsValueGreaterThan(angle, from) && PBIsValueLessThan(angle, to);
  return (PBIsValueGreaterThan(angle, from) && angle <= kTwoPi) || (angle >= 0 && PBIsValueLessThan(angle, to));
}

}  // namespace

bool PBTangentPairsCoincide(const PBTangentPair& pairA, const PBTangentPair& pairB) {
  const Point a[2] = {PBNormalizePoint(pairA.arriving), PBNormalizePoint(pairA.leaving)};
  const Point b[2] = {PBNormalizePoint(pairB.arriving), PBNormalizePoint(pairB.leaving)};
  for (const Point& vectorA : a) {
    for (const Point& vectorB : b) {
      if (PBArePointsCloseWithOptions(vectorA, vectorB, kTangentThreshold)) return true;
    }
  }
  return false;
}

bool PBTangentPairsInterleave(const PBTangentPair& pairA, const PBTangentPair& pairB) {
  const double a0 = polarAngle(pairA.arriving);
  const double a1 = polarAngle(pairA.leaving);
  const double b0 = polarAngle(pairB.arriving);
  const double b1 = polarAngle(pairB.leaving);
  const bool b0InFirstArc = isAngleBetween(b0, a0, a1);
  const bool b1InFirstArc = isAngleBetween(b1, a0, a1);
  const bool b0InSecondArc = isAngleBetween(b0, a1, a0);
  const bool b1InSecondArc = isAngleBetween(b1, a1, a0);
  return (b0InFirstArc != b1InFirstArc) && (b0InSecondArc != b1InSecondArc);
}
