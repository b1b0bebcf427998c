#include <gtest/gtest.h>

#include <cstdint>

#include "geometry/cubic_segments.h"
#include "geometry/geometry_functions.h"
#include "geometry/rect_geometry.h"
#include "path_test_support.h"
#include "platform/graphics/bezier_math.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;

TEST(GeometryFunctions, EdgeCases) {
  EXPECT_EQ(segmentIntersection({0, 0}, {10, 0}, {5, -5}, {5, 5}), (Point{5, 0}));
  EXPECT_EQ(segmentIntersection({0, 0}, {10, 0}, {0, 1}, {10, 1}), (Point{-1, -1}));
  EXPECT_EQ(segmentIntersection({0, 0}, {10, 0}, {10, 0}, {10, 7}), (Point{10, 0}));
  EXPECT_EQ(differenceOfRects(Rect(0, 0, 10, 10), Rect(5, 0, 10, 10)),
            (std::vector<Rect>{Rect(0, 0, 5, 10), Rect(10, 0, 5, 10)}));
  EXPECT_EQ(differenceOfRects(Rect(0, 0, 1, 1), Rect(5, 5, 1, 1)), (std::vector<Rect>{Rect(0, 0, 1, 1), Rect(5, 5, 1, 1)}));
  EXPECT_EQ(unionOfRects(Rect(), Rect(3, 4, 5, 6)), Rect(3, 4, 5, 6));
  EXPECT_EQ(fitRectWithAspect(Rect(0, 0, 100, 50), {10, 10}), Rect(25, 0, 50, 50));
  EXPECT_EQ(lineIntersection({0, 0}, {1, 1}, {0, 2}, {2, 0}), (Point{1, 1}));
  EXPECT_EQ(lineIntersection({0, 0}, {1, 1}, {0, 1}, {1, 2}), (Point{-1, -1}));
  EXPECT_EQ(mapPointBetweenRects({5, 5}, Rect(0, 0, 0, 10), Rect(0, 0, 100, 100)), (Point{0, 50}));
  const Point segment[4] = {{0, 0}, {10, 20}, {20, 20}, {30, 0}};
  double t = 0.5;
  EXPECT_EQ(nearestPointOnCurve(segment, &t, {-10, -3}), (Point{0, 0}));
  EXPECT_EQ(t, 0);
  EXPECT_EQ(nearestPointOnCurve(segment, &t, {45, -1}), (Point{30, 0}));
  EXPECT_EQ(t, 1);
}

TEST(GeometryFunctions, FindCurveRootsKeepsToCapacity) {
  // (t − 0.1)(t − 0.3)(t − 0.5)(t − 0.7)(t − 0.9) in Bernstein form: five roots.
  const double roots[5] = {0.1, 0.3, 0.5, 0.7, 0.9};
  Point form[6];
  for (int i = 0; i <= 5; ++i) {
    // Bernstein coefficients by interpolation would be long; evaluate the polynomial at the
    // nodes of the polar form instead: blossom of the product at (0…0, 1…1).
    double value = 0;
    int mask = 0;
    for (mask = 0; mask < 32; ++mask) {
      if (__builtin_popcount(mask) != i) continue;
      double term = 1;
      for (int k = 0; k < 5; ++k) term *= ((mask >> k) & 1 ? 1.0 : 0.0) - roots[k];
      value += term;
    }
    int combinations = 1;
    for (int k = 0; k < i; ++k) combinations = combinations * (5 - k) / (k + 1);
    form[i] = {i / 5.0, value / combinations};
  }
  double found[8] = {-7, -7, -7, -7, -7, -7, -7, -7};
  ASSERT_EQ(findCurveRoots(form, found, 5, 0), 5);
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(found[i], roots[i], 1e-9);
  std::fill(found, found + 8, -7);
  EXPECT_EQ(findCurveRoots(form, found, 2, 0), 2);
  EXPECT_EQ(found[2], -7);
}

TEST(GeometryFunctions, NearestPointMatchesBruteForce) {
  std::mt19937 random = seededGenerator("NearestPointMatchesBruteForce");
  std::uniform_real_distribution<double> coordinate(-100, 100);
  for (int trial = 0; trial < 1000; ++trial) {
    Point segment[4];
    for (Point& p : segment) p = {coordinate(random), coordinate(random)};
    const Point p{coordinate(random), coordinate(random)};
    const auto distanceAt = [&](double t) {
      const Point q = platform::bezier::cubicPoint(segment[0], segment[1], segment[2], segment[3], t);
      return std::hypot(q.x - p.x, q.y - p.y);
    };
    double bestT = 0, best = distanceAt(0);
    for (int i = 1; i <= 100000; ++i) {
      if (distanceAt(i / 1e5) < best) best = distanceAt(bestT = i / 1e5);
    }
    double lower = std::max(0.0, bestT - 1e-5), upper = std::min(1.0, bestT + 1e-5);
    for (int i = 0; i < 100; ++i) {  // golden-section refinement around the best sample
      const double a = lower + (upper - lower) * 0.382, b = lower + (upper - lower) * 0.618;
      (distanceAt(a) < distanceAt(b) ? upper : lower) = distanceAt(a) < distanceAt(b) ? b : a;
    }
    best = std::min(best, distanceAt((lower + upper) / 2));
    double t = -1;
    const Point nearest = nearestPointOnCurve(segment, &t, p);
    ASSERT_NEAR(std::hypot(nearest.x - p.x, nearest.y - p.y), best, 1e-6 * std::max(1.0, best)) << "trial " << trial;
    ASSERT_NEAR(distanceAt(t), best, 1e-6 * std::max(1.0, best));
  }
}

TEST(GeometryFunctions, NearestPointAndTangentAreTheSameAtEveryMagnitude) {
  // Scaling by a power of two is exact, so the answer scales exactly too.
  std::mt19937 random = seededGenerator("NearestPointAndTangentAreTheSameAtEveryMagnitude");
  std::uniform_real_distribution<double> coordinate(-100, 100);
  for (int trial = 0; trial < 200; ++trial) {
    Point segment[4];
    for (Point& p : segment) p = {coordinate(random), coordinate(random)};
    const Point p{coordinate(random), coordinate(random)};
    double t = -1;
    const Point nearest = nearestPointOnCurve(segment, &t, p);
    for (const int exponent : {-1000, -500, 500, 1000}) {
      Point scaled[4];
      for (int i = 0; i < 4; ++i) scaled[i] = {std::ldexp(segment[i].x, exponent), std::ldexp(segment[i].y, exponent)};
      double scaledT = -1;
      const Point scaledNearest = nearestPointOnCurve(scaled, &scaledT, {std::ldexp(p.x, exponent), std::ldexp(p.y, exponent)});
      ASSERT_EQ(scaledT, t) << "trial " << trial << ", 2^" << exponent;
      ASSERT_EQ(scaledNearest, (Point{std::ldexp(nearest.x, exponent), std::ldexp(nearest.y, exponent)}));
    }
    // So does the tangent's angle, up to points near the largest double, whose derivative overflows unscaled.
    const float angle = tangentAngleOfCurve(segment, static_cast<float>(t));
    for (const int exponent : {-1000, 500, 1016}) {
      Point scaled[4];
      for (int i = 0; i < 4; ++i) scaled[i] = {std::ldexp(segment[i].x, exponent), std::ldexp(segment[i].y, exponent)};
      ASSERT_EQ(tangentAngleOfCurve(scaled, static_cast<float>(t)), angle) << "trial " << trial << ", 2^" << exponent;
    }
  }
}

TEST(GeometryFunctions, SplitHalvesReproduceTheCubic) {
  std::mt19937 random = seededGenerator("SplitHalvesReproduceTheCubic");
  std::uniform_real_distribution<double> coordinate(-1000, 1000), unit(0, 1);
  for (int trial = 0; trial < 200; ++trial) {
    Point segment[4], left[4], right[4];
    for (Point& p : segment) p = {coordinate(random), coordinate(random)};
    const float t = static_cast<float>(unit(random));
    const double exactT = t, tolerance = 1e-12 * 1000;
    splitCubicAtParameter(segment, t, left, right);
    for (int i = 0; i <= 20; ++i) {
      const double u = i / 20.0;
      const Point whole = platform::bezier::cubicPoint(segment[0], segment[1], segment[2], segment[3], u * exactT);
      const Point half = platform::bezier::cubicPoint(left[0], left[1], left[2], left[3], u);
      EXPECT_NEAR(half.x, whole.x, tolerance);
      EXPECT_NEAR(half.y, whole.y, tolerance);
      const Point wholeRight = platform::bezier::cubicPoint(segment[0], segment[1], segment[2], segment[3], exactT + u * (1 - exactT));
      const Point rightHalf = platform::bezier::cubicPoint(right[0], right[1], right[2], right[3], u);
      EXPECT_NEAR(rightHalf.x, wholeRight.x, tolerance);
      EXPECT_NEAR(rightHalf.y, wholeRight.y, tolerance);
    }
  }
}

TEST(GeometryFunctions, SegmentIntersectionAgreesWithExactCrossProducts) {
  std::mt19937 random = seededGenerator("SegmentIntersectionAgreesWithExactCrossProducts");
  std::uniform_int_distribution<std::int64_t> coordinate(-500, 500);
  for (int trial = 0; trial < 10000; ++trial) {
    std::int64_t c[8];
    for (std::int64_t& v : c) v = coordinate(random);
    const std::int64_t rx = c[2] - c[0], ry = c[3] - c[1], sx = c[6] - c[4], sy = c[7] - c[5];
    const std::int64_t qx = c[4] - c[0], qy = c[5] - c[1];
    const std::int64_t denominator = rx * sy - ry * sx, tNumerator = qx * sy - qy * sx, uNumerator = qx * ry - qy * rx;
    const auto within = [&](std::int64_t numerator) {
      return denominator > 0 ? numerator >= 0 && numerator <= denominator : numerator <= 0 && numerator >= denominator;
    };
    const bool crosses = denominator != 0 && within(tNumerator) && within(uNumerator);
    const Point found = segmentIntersection({double(c[0]), double(c[1])}, {double(c[2]), double(c[3])},
                                            {double(c[4]), double(c[5])}, {double(c[6]), double(c[7])});
    if (!crosses) {
      ASSERT_EQ(found, (Point{-1, -1})) << "trial " << trial;
      continue;
    }
    const double t = double(tNumerator) / double(denominator);
    ASSERT_NEAR(found.x, c[0] + t * rx, 1e-3) << "trial " << trial;
    ASSERT_NEAR(found.y, c[1] + t * ry, 1e-3) << "trial " << trial;
  }
}

TEST(GeometryFunctions, RectangleDifferenceIsTakenInSinglePrecisionInEveryBuild) {
  // What is left of a beside b, every edge the nearest float, the sides taken between floats.
  const Rect a(0.1, 0.1, 1, 1);
  const struct {
    Rect b;
    Rect left;
  } cases[] = {{Rect(0.6, 0.1, 1, 1), Rect(0.1f, 0.1f, 0.6f - 0.1f, 1.1f - 0.1f)},
               {Rect(0.1, 0.6, 1, 1), Rect(0.1f, 0.1f, 1.1f - 0.1f, 0.6f - 0.1f)}};
  for (const auto& [b, left] : cases) {
    EXPECT_EQ(rectMinusRect(a, b), std::vector<Rect>{left}) << b.origin.x << ", " << b.origin.y;
  }
}

TEST(GeometryFunctions, RectangleDifferenceAndAspectProperties) {
  std::mt19937 random = seededGenerator("RectangleDifferenceAndAspectProperties");
  std::uniform_int_distribution<int> coordinate(0, 20), extent(1, 20);
  const auto area = [](const Rect& r) { return r.size.width * r.size.height; };
  for (int trial = 0; trial < 2000; ++trial) {
    const Rect a(coordinate(random), coordinate(random), extent(random), extent(random));
    const Rect b(coordinate(random), coordinate(random), extent(random), extent(random));
    const std::vector<Rect> pieces = differenceOfRects(a, b);
    double total = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      total += area(pieces[i]);
      for (std::size_t j = i + 1; j < pieces.size(); ++j) ASSERT_FALSE(platform::intersectsRect(pieces[i], pieces[j]));
    }
    ASSERT_DOUBLE_EQ(total, area(a) + area(b) - 2 * area(platform::intersectionRect(a, b))) << "trial " << trial;

    const Rect fitted = fitRectWithAspect(a, b.size);
    ASSERT_NEAR(fitted.size.width / fitted.size.height, b.size.width / b.size.height, 1e-6 * b.size.width / b.size.height);
    // The aspect is taken in single precision.
    const double slack = 1e-5 * std::max(a.size.width, a.size.height);
    ASSERT_TRUE(platform::containsRect(platform::insetRect(a, -slack, -slack), fitted)) << "trial " << trial;
    const bool spansWidth = std::abs(fitted.size.width - a.size.width) < 1e-9;
    const bool spansHeight = std::abs(fitted.size.height - a.size.height) < 1e-9;
    ASSERT_TRUE(spansWidth || spansHeight);
  }
}
