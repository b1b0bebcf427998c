#include "boolean/bezier_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "curve_oracles.h"

namespace {

using platform::Point;
using platform::Rect;

void expectNear(Point actual, Point expected, double tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
}

void expectSameRecord(const PBBezierCurveData& actual, const PBBezierCurveData& expected, double tolerance) {
  expectNear(actual.endPoint1, expected.endPoint1, tolerance);
  expectNear(actual.controlPoint1, expected.controlPoint1, tolerance);
  expectNear(actual.controlPoint2, expected.controlPoint2, tolerance);
  expectNear(actual.endPoint2, expected.endPoint2, tolerance);
}

PBBezierCurveData randomCurve(std::mt19937_64& random) {
  std::uniform_real_distribution<double> coordinate(-50, 50);
  auto point = [&] { return Point{coordinate(random), coordinate(random)}; };
  return PBBezierCurveDataMake(point(), point(), point(), point(), false);
}

TEST(PBBezierCurveConstruction, LineBecomesStraightCubicWithThirdPointControls) {
  auto line = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {3, 0});
  const PBBezierCurveData fresh = line->data();
  EXPECT_EQ(fresh.isPoint, -1);
  EXPECT_EQ(fresh.length, -1);
  EXPECT_EQ(fresh.bounds, Rect());
  EXPECT_TRUE(line->isStraightLine());
  EXPECT_EQ(line->controlPoint1(), (Point{1, 0}));
  EXPECT_EQ(line->controlPoint2(), (Point{2, 0}));
  EXPECT_EQ(line->length(), 3);
  for (const double offset : {0.0, 1.0, 2.5}) {
    EXPECT_EQ(line->tangentFromLeftOffset(offset), (Point{3, 0}));
    EXPECT_EQ(line->tangentFromRightOffset(offset), (Point{-3, 0}));
  }
  EXPECT_EQ(line->data().isPoint, 0);
}

TEST(PBBezierCurveConstruction, ZeroLengthLineHasBothControlsAtItsStart) {
  auto line = PBBezierCurve::bezierCurveWithLineStartPoint({2, 5}, {2, 5});
  EXPECT_EQ(line->controlPoint1(), (Point{2, 5}));
  EXPECT_EQ(line->controlPoint2(), (Point{2, 5}));
  EXPECT_TRUE(line->isPoint());
}

TEST(PBBezierCurveConstruction, FourCollinearPointsAreACurveNotALine) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 0}, {2, 0}, {3, 0});
  EXPECT_FALSE(curve->isStraightLine());
  // Evenly spaced collinear points move at constant speed, which the quadrature integrates exactly.
  EXPECT_NEAR(curve->length(), 3, 1e-13);
  // Tangent at a distance comes from de Casteljau: the first control leg of the piece after it.
  const Point tangent = curve->tangentFromLeftOffset(1.5);
  EXPECT_NEAR(tangent.x, 0.5, 1e-13);
  EXPECT_EQ(tangent.y, 0);
}

TEST(PBBezierCurveConstruction, CurvesFromAPathFollowTheCurrentPoint) {
  platform::BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({10, 0});
  path.curveTo({10, 10}, {12, 3}, {12, 7});
  path.closePath();
  path.moveTo({20, 20});
  path.lineTo({30, 20});
  const auto curves = PBBezierCurve::bezierCurvesFromBezierPath(path);
  ASSERT_EQ(curves.size(), 3u);
  EXPECT_TRUE(curves[0]->isStraightLine());
  EXPECT_EQ(curves[1]->endPoint1(), (Point{10, 0}));
  EXPECT_EQ(curves[1]->controlPoint1(), (Point{12, 3}));
  EXPECT_EQ(curves[1]->endPoint2(), (Point{10, 10}));
  EXPECT_EQ(curves[2]->endPoint1(), (Point{20, 20}));
}

TEST(PBBezierCurveGeometry, PointAtParameterMatchesBernsteinForm) {
  std::mt19937_64 random(11);
  for (int trial = 0; trial < 50; ++trial) {
    const PBBezierCurveData data = randomCurve(random);
    auto curve = PBBezierCurve::bezierCurveWithBezierCurveData(data);
    for (const double t : {0.0, 0.13, 0.5, 0.77, 1.0}) {
      std::shared_ptr<PBBezierCurve> left;
      std::shared_ptr<PBBezierCurve> right;
      const Point point = curve->pointAtParameter(t, &left, &right);
      expectNear(point, oracle::bernstein(data, t), 1e-11);
      EXPECT_EQ(left->endPoint2(), point);
      EXPECT_EQ(right->endPoint1(), point);
      // The left piece at u is the whole curve at t·u.
      expectNear(oracle::bernstein(left->data(), 0.4), oracle::bernstein(data, t * 0.4), 1e-10);
      expectNear(oracle::bernstein(right->data(), 0.4), oracle::bernstein(data, t + (1 - t) * 0.4), 1e-10);
    }
  }
}

TEST(PBBezierCurveGeometry, SubcurveEqualsTwoSplits) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  std::shared_ptr<PBBezierCurve> afterQuarter;
  curve->pointAtParameter(0.25, nullptr, &afterQuarter);
  std::shared_ptr<PBBezierCurve> middle;
  afterQuarter->pointAtParameter(2.0 / 3, &middle, nullptr);
  expectSameRecord(curve->subcurveWithRange({0.25, 0.75})->data(), middle->data(), 1e-13);
  // A range starting at 1 is the point at the end.
  auto end = curve->subcurveWithRange({1, 1});
  EXPECT_TRUE(end->isPoint());
  EXPECT_EQ(end->endPoint1(), (Point{5, -1}));
}

TEST(PBBezierCurveGeometry, SplitByRangeLeavesOutMissingPieces) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  std::shared_ptr<PBBezierCurve> left;
  std::shared_ptr<PBBezierCurve> middle;
  std::shared_ptr<PBBezierCurve> right;
  curve->splitSubcurvesWithRange({0, 1}, &left, &middle, &right);
  EXPECT_EQ(left, nullptr);
  expectSameRecord(middle->data(), curve->data(), 1e-15);
  ASSERT_NE(right, nullptr);
  EXPECT_TRUE(right->isPoint());
  EXPECT_EQ(right->endPoint2(), (Point{5, -1}));

  curve->splitSubcurvesWithRange({0.2, 0.6}, &left, &middle, &right);
  expectSameRecord(left->data(), curve->subcurveWithRange({0, 0.2})->data(), 1e-13);
  expectSameRecord(middle->data(), curve->subcurveWithRange({0.2, 0.6})->data(), 1e-13);
  expectSameRecord(right->data(), curve->subcurveWithRange({0.6, 1})->data(), 1e-13);

  curve->splitSubcurvesWithRange({1, 1}, &left, &middle, &right);
  EXPECT_EQ(right, nullptr);
  EXPECT_TRUE(middle->isPoint());
}

TEST(PBBezierCurveGeometry, ReversedCurveRunsBackwards) {
  auto curve = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {6, 3});
  auto reversed = curve->reversedCurve();
  EXPECT_TRUE(reversed->isStraightLine());
  EXPECT_EQ(reversed->endPoint1(), (Point{6, 3}));
  EXPECT_EQ(reversed->controlPoint1(), curve->controlPoint2());
  EXPECT_EQ(reversed->endPoint2(), (Point{0, 0}));
}

TEST(PBBezierCurveLength, CircleOfFourCubicsMatchesAdaptiveReference) {
  const double k = 0.5522847498307936;
  const double radius = 7;
  double total = 0;
  double reference = 0;
  for (int quadrant = 0; quadrant < 4; ++quadrant) {
    const double angle = quadrant * std::numbers::pi / 2;
    const Point along{std::cos(angle), std::sin(angle)};
    const Point across{-along.y, along.x};
    const PBBezierCurveData data = PBBezierCurveDataMake(
        {radius * along.x, radius * along.y}, {radius * (along.x + k * across.x), radius * (along.y + k * across.y)},
        {radius * (across.x + k * along.x), radius * (across.y + k * along.y)}, {radius * across.x, radius * across.y},
        false);
    total += PBBezierCurve(data).length();
    reference += oracle::arcLength(data);
  }
  EXPECT_NEAR(total / reference, 1, 1e-6);
  EXPECT_NEAR(total, 2 * std::numbers::pi * radius, 2 * std::numbers::pi * radius * 1e-3);
}

TEST(PBBezierCurveLength, LengthAtParameterAndCache) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {0, 10}, {10, 10}, {10, 0});
  EXPECT_NEAR(curve->lengthAtParameter(0.5), oracle::arcLength(curve->data(), 0.5), 1e-6);
  EXPECT_EQ(curve->lengthAtParameter(0), 0);
  EXPECT_EQ(curve->data().length, -1);
  const double whole = curve->lengthAtParameter(1);
  EXPECT_EQ(curve->data().length, whole);
  auto line = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {0, 8});
  EXPECT_EQ(line->lengthAtParameter(0.25), 2);
}

TEST(PBBezierCurveBounds, TightBoundsHoldAndTouchDenseSamples) {
  std::mt19937_64 random(5);
  std::vector<PBBezierCurveData> curves;
  for (int i = 0; i < 200; ++i) curves.push_back(randomCurve(random));
  // An elevated quadratic makes the cubic coefficient vanish: the single-root branch.
  curves.push_back(PBBezierCurveDataMake({0, 0}, {2, 4}, {4, 4}, {6, 0}, false));
  for (const PBBezierCurveData& data : curves) {
    PBBezierCurve curve(data);
    const Rect bounds = curve.bounds();
    const double minX = bounds.origin.x, minY = bounds.origin.y;
    const double maxX = minX + bounds.size.width, maxY = minY + bounds.size.height;
    // Sample densely, then polish each extreme by a golden-section search around the best sample.
    const int samples = 4000;
    auto extreme = [&](auto value, bool largest) {
      int best = 0;
      for (int i = 1; i <= samples; ++i) {
        const double v = value(static_cast<double>(i) / samples), b = value(static_cast<double>(best) / samples);
        if (largest ? v > b : v < b) best = i;
      }
      double low = std::max(0.0, (best - 1.0) / samples), high = std::min(1.0, (best + 1.0) / samples);
      const double golden = (std::sqrt(5.0) - 1) / 2;
      for (int step = 0; step < 100; ++step) {
        const double a = high - golden * (high - low), b = low + golden * (high - low);
        const bool keepLeft = largest ? value(a) > value(b) : value(a) < value(b);
        (keepLeft ? high : low) = keepLeft ? b : a;
      }
      return value((low + high) / 2);
    };
    auto x = [&](double t) { return oracle::bernstein(data, t).x; };
    auto y = [&](double t) { return oracle::bernstein(data, t).y; };
    const double sampledMinX = extreme(x, false), sampledMaxX = extreme(x, true);
    const double sampledMinY = extreme(y, false), sampledMaxY = extreme(y, true);
    EXPECT_LE(minX, sampledMinX + 1e-12);
    EXPECT_GE(maxX, sampledMaxX - 1e-12);
    EXPECT_LE(minY, sampledMinY + 1e-12);
    EXPECT_GE(maxY, sampledMaxY - 1e-12);
    EXPECT_NEAR(minX, sampledMinX, 1e-9);
    EXPECT_NEAR(maxX, sampledMaxX, 1e-9);
    EXPECT_NEAR(minY, sampledMinY, 1e-9);
    EXPECT_NEAR(maxY, sampledMaxY, 1e-9);
  }
}

TEST(PBBezierCurveBounds, ControlRectangleAndStraightLineBounds) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 2}, {2, 2}, {3, 0});
  EXPECT_EQ(curve->boundingRect(), Rect(0, 0, 3, 2));
  EXPECT_NEAR(curve->bounds().size.height, 1.5, 1e-15);
  auto line = PBBezierCurve::bezierCurveWithLineStartPoint({4, 1}, {1, 3});
  EXPECT_EQ(line->bounds(), Rect(1, 1, 3, 2));
}

TEST(PBBezierCurvePoint, ThresholdIsOneHundredThousandth) {
  EXPECT_TRUE(PBBezierCurve::bezierCurveWithEndPoint1({1, 1}, {1 + 0.9e-5, 1}, {1, 1 - 0.9e-5}, {1, 1})->isPoint());
  EXPECT_FALSE(PBBezierCurve::bezierCurveWithEndPoint1({1, 1}, {1, 1}, {1, 1}, {1 + 2e-5, 1})->isPoint());
  EXPECT_FALSE(PBBezierCurve::bezierCurveWithEndPoint1({1, 1}, {1, 1 + 2e-5}, {1, 1}, {1, 1})->isPoint());
}

TEST(PBBezierCurveEquality, StrictAndApproximateThresholds) {
  const PBBezierCurveData base = PBBezierCurveDataMake({0, 0}, {1, 2}, {2, 2}, {3, 0}, false);
  PBBezierCurveData nudged = base;
  nudged.controlPoint1.y += 1e-11;
  EXPECT_TRUE(PBBezierCurve(base).isEqual(PBBezierCurve(nudged)));
  nudged.controlPoint1.y += 1e-9;
  EXPECT_FALSE(PBBezierCurve(base).isEqual(PBBezierCurve(nudged)));

  PBBezierCurveData loose = base;
  loose.controlPoint2.x += 0.09;
  loose.endPoint2.y += 0.9e-4;
  EXPECT_TRUE(PBBezierCurveDataIsApproximatelyEqual(base, loose));
  loose.endPoint2.y += 0.2e-4;
  EXPECT_FALSE(PBBezierCurveDataIsApproximatelyEqual(base, loose));

  // Straightness must agree, and points never equal anything.
  PBBezierCurveData straight = base;
  straight.isStraightLine = true;
  EXPECT_FALSE(PBBezierCurveDataIsEqual(base, straight));
  const PBBezierCurveData point = PBBezierCurveDataMake({1, 1}, {1, 1}, {1, 1}, {1, 1}, false);
  EXPECT_FALSE(PBBezierCurveDataIsEqual(point, point));
}

TEST(PBBezierCurveEquality, LinesIgnoreTheirControlPoints) {
  PBBezierCurveData line = PBBezierCurveDataMakeLine({0, 0}, {3, 0});
  PBBezierCurveData other = line;
  other.controlPoint1 = {1, 5};
  EXPECT_TRUE(PBBezierCurveDataIsEqual(line, other));
}

TEST(PBBezierCurveOffsets, PointsAtDistanceMapProportionally) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {0, 10}, {10, 10}, {10, 0});
  const double length = curve->length();
  expectNear(curve->pointFromLeftOffset(length / 4), oracle::bernstein(curve->data(), 0.25), 1e-12);
  expectNear(curve->pointFromRightOffset(length / 4), oracle::bernstein(curve->data(), 0.75), 1e-12);
  EXPECT_EQ(curve->pointFromLeftOffset(length * 3), (Point{10, 0}));
  EXPECT_EQ(curve->pointFromRightOffset(length * 3), (Point{0, 0}));
}

TEST(PBBezierCurveOffsets, TangentsPointAwayFromTheirEnd) {
  const PBBezierCurveData data = PBBezierCurveDataMake({0, 0}, {0, 10}, {10, 10}, {10, 0}, false);
  PBBezierCurve curve(data);
  EXPECT_EQ(curve.tangentFromLeftOffset(0), (Point{0, 10}));
  EXPECT_EQ(curve.tangentFromRightOffset(0), (Point{0, 10}));
  const double length = curve.length();
  for (const double offset : {1.0, 5.0, 12.0}) {
    const Point left = curve.tangentFromLeftOffset(offset);
    const Point forward = oracle::derivative(data, offset / length);
    EXPECT_NEAR(left.x * forward.y - left.y * forward.x, 0, 1e-9);
    EXPECT_GT(left.x * forward.x + left.y * forward.y, 0);
    const Point right = curve.tangentFromRightOffset(offset);
    const Point backward = oracle::derivative(data, 1 - offset / length);
    EXPECT_NEAR(right.x * backward.y - right.y * backward.x, 0, 1e-9);
    EXPECT_LT(right.x * backward.x + right.y * backward.y, 0);
  }
}

TEST(PBBezierCurveOffsets, ControlOnTheEndFallsBackToOneUnitIn) {
  // controlPoint1 sits on endPoint1, so the direction is taken one unit of length along the curve.
  const PBBezierCurveData data = PBBezierCurveDataMake({0, 0}, {0, 0}, {10, 10}, {10, 0}, false);
  PBBezierCurve curve(data);
  const Point tangent = curve.tangentFromLeftOffset(0);
  const Point expected = oracle::derivative(data, 1 / curve.length());
  EXPECT_NEAR(tangent.x * expected.y - tangent.y * expected.x, 0, 1e-9);
  EXPECT_GT(tangent.x * expected.x + tangent.y * expected.y, 0);
}

TEST(PBBezierCurveOffsets, ZeroLengthCurveGivesItsEndsAndNoDirection) {
  auto point = PBBezierCurve::bezierCurveWithEndPoint1({4, 4}, {4, 4}, {4, 4}, {4, 4});
  EXPECT_EQ(point->pointFromLeftOffset(1), (Point{4, 4}));
  EXPECT_EQ(point->pointFromRightOffset(0), (Point{4, 4}));
  EXPECT_EQ(point->tangentFromLeftOffset(0), (Point{0, 0}));
  EXPECT_EQ(point->tangentFromRightOffset(3), (Point{0, 0}));
}

TEST(PBBezierCurveNearest, ClosestLocationMatchesDenseSearch) {
  std::mt19937_64 random(17);
  std::uniform_real_distribution<double> coordinate(-60, 60);
  for (int trial = 0; trial < 100; ++trial) {
    const PBBezierCurveData data = randomCurve(random);
    const Point target{coordinate(random), coordinate(random)};
    const PBBezierCurveLocation location = PBBezierCurve(data).closestLocationToPoint(target);
    double best = oracle::distance(oracle::bernstein(data, 0), target);
    for (int i = 1; i <= 20000; ++i) {
      best = std::min(best, oracle::distance(oracle::bernstein(data, i / 20000.0), target));
    }
    EXPECT_NEAR(location.distance, oracle::distance(oracle::bernstein(data, location.parameter), target), 1e-9);
    EXPECT_LE(location.distance, best + 1e-9);
    EXPECT_GE(location.distance, best - 1e-3);
  }
}

TEST(PBBezierCurveNearest, NewtonStepsConvergeOnAPointOfTheCurve) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {0, 10}, {10, 10}, {10, 0});
  const Point target = oracle::bernstein(curve->data(), 0.3);
  double parameter = 0.4;
  for (int step = 0; step < 6; ++step) parameter = curve->refineParameter(parameter, target);
  EXPECT_NEAR(parameter, 0.3, 1e-12);
}

TEST(PBBezierCurveOutput, PathCloneAndDescription) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0.5}, {1, 2}, {2, 2}, {3, 0});
  const platform::BezierPath path = curve->bezierPath();
  ASSERT_EQ(path.elementCount(), 2);
  Point points[3];
  EXPECT_EQ(path.elementAt(1, points), platform::PathElement::Curve);
  EXPECT_EQ(points[0], (Point{1, 2}));
  EXPECT_EQ(points[2], (Point{3, 0}));
  auto copy = curve->clone();
  EXPECT_NE(copy.get(), curve.get());
  EXPECT_TRUE(copy->isEqual(*curve));
  EXPECT_EQ(copy->contour(), nullptr);
  EXPECT_EQ(curve->description(),
            "<PBBezierCurve (0.000000000000000000, 0.500000000000000000)-[1.000000000000000000, "
            "2.000000000000000000] curve to [2.000000000000000000, 2.000000000000000000]-"
            "(3.000000000000000000, 0.000000000000000000)>");
}

}  // namespace
