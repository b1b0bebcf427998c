#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "boolean/convex_hull.h"
#include "boolean/line_functions.h"
#include "boolean/range.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"

namespace {

using platform::Point;
using platform::Rect;

TEST(PBToleranceFunctions, PointAndValueClosenessUseInclusiveThresholds) {
  EXPECT_TRUE(PBArePointsClose({1, 1}, {1 + 0.5e-10, 1 - 0.5e-10}));
  EXPECT_FALSE(PBArePointsClose({1, 1}, {1, 1 + 2e-10}));
  EXPECT_TRUE(PBArePointsCloseWithOptions({0, 0}, {0.25, -0.25}, 0.25));
  EXPECT_FALSE(PBArePointsCloseWithOptions({0, 0}, {0.25, -0.26}, 0.25));
  EXPECT_TRUE(PBAreValuesClose(3, 3 + 0.5e-10));
  EXPECT_FALSE(PBAreValuesClose(3, 3 + 2e-10));
  EXPECT_FALSE(PBAreValuesCloseWithOptions(std::nan(""), std::nan(""), 1));
}

TEST(PBToleranceFunctions, StrictComparisonsIgnorePicoDifferences) {
  EXPECT_TRUE(PBIsValueGreaterThan(1 + 1e-11, 1));
  EXPECT_FALSE(PBIsValueGreaterThan(1 + 1e-13, 1));
  EXPECT_TRUE(PBIsValueLessThan(1 - 1e-11, 1));
  EXPECT_FALSE(PBIsValueLessThan(1 - 1e-13, 1));
  EXPECT_TRUE(PBIsValueGreaterThanEqual(1 - 1e-13, 1));
  EXPECT_FALSE(PBIsValueGreaterThanEqual(1 - 1e-11, 1));
  EXPECT_TRUE(PBIsValueLessThanEqual(1 + 1e-13, 1));
  EXPECT_FALSE(PBIsValueLessThanEqual(1 + 1e-11, 1));
}

TEST(PBToleranceFunctions, DecimalPlacesTruncateTowardsZero) {
  EXPECT_TRUE(PBAreValuesEqualAtDecimalPlaces(0.1234561, 0.1234569, 6));
  EXPECT_FALSE(PBAreValuesEqualAtDecimalPlaces(0.1234569, 0.1234571, 6));
  // Truncation (not rounding) puts tiny values of both signs at 0.
  EXPECT_TRUE(PBAreValuesEqualAtDecimalPlaces(-0.0000009, 0.0000009, 6));
  // Out-of-range products saturate instead of overflowing.
  EXPECT_TRUE(PBAreValuesEqualAtDecimalPlaces(1e300, 2e300, 6));
  EXPECT_TRUE(PBAreValuesEqualAtDecimalPlaces(std::nan(""), 0, 6));
}

TEST(PBRange, ArithmeticAndConvergence) {
  const PBRange range = PBRangeMake(0.2, 0.6);
  EXPECT_DOUBLE_EQ(PBRangeGetSize(range), 0.4);
  EXPECT_DOUBLE_EQ(PBRangeAverage(range), 0.4);
  EXPECT_DOUBLE_EQ(PBRangeScaleNormalizedValue(range, 0.25), 0.3);
  const PBRange merged = PBRangeUnion({0.1, 0.3}, {0.25, 0.5});
  EXPECT_EQ(merged.minimum, 0.1);
  EXPECT_EQ(merged.maximum, 0.5);
  EXPECT_TRUE(PBRangeHasConverged({0.3000001, 0.3000009}, 6));
  EXPECT_FALSE(PBRangeHasConverged({0.2999999, 0.3000001}, 6));
}

TEST(PBRectFunctions, OverlapAllowsGapsUpToOneMicrounit) {
  const Rect unit(0, 0, 1, 1);
  EXPECT_TRUE(PBRectsOverlap(unit, Rect(1 + 0.5e-6, 0, 1, 1)));
  EXPECT_FALSE(PBRectsOverlap(unit, Rect(1 + 2e-6, 0, 1, 1)));
  EXPECT_FALSE(PBRectsOverlap(unit, Rect(0.5, 1 + 2e-6, 1, 1)));
  // Zero-size rectangles (a horizontal line's bounds) still overlap.
  EXPECT_TRUE(PBRectsOverlap(Rect(0, 0.5, 1, 0), Rect(0.5, 0, 0, 1)));
}

TEST(PBRectFunctions, UnionCountsFlatRectangles) {
  const Rect merged = PBUnionRect(Rect(0, 0, 2, 0), Rect(5, -1, 0, 0));
  EXPECT_EQ(merged, Rect(0, -1, 5, 1));
  Point minimum{1, 1};
  Point maximum{1, 1};
  PBExpandBoundsByPoint(&minimum, &maximum, {-2, 3});
  EXPECT_EQ(minimum, (Point{-2, 1}));
  EXPECT_EQ(maximum, (Point{1, 3}));
}

TEST(PBVectorFunctions, ZeroVectorsSurviveScaling) {
  EXPECT_EQ(PBNormalizePoint({0, 0}), (Point{0, 0}));
  EXPECT_EQ(PBScaleVector({0, 0}, 5), (Point{0, 0}));
  const Point scaled = PBScaleVector({3, 4}, 10);
  EXPECT_DOUBLE_EQ(scaled.x, 6);
  EXPECT_DOUBLE_EQ(scaled.y, 8);
  const Point normal = PBLineNormal({1, 1}, {1, 3});
  EXPECT_DOUBLE_EQ(normal.x, -1);
  EXPECT_DOUBLE_EQ(normal.y, 0);
  EXPECT_EQ(PBLineNormal({2, 2}, {2, 2}), (Point{-0.0, 0}));
  EXPECT_GT(PBCounterClockwiseTurn({0, 0}, {1, 0}, {1, 1}), 0);
  EXPECT_LT(PBCounterClockwiseTurn({0, 0}, {1, 0}, {1, -1}), 0);
}

TEST(PBLineFunctions, ParameterOfPointIsNegativeBeforeTheStart) {
  EXPECT_DOUBLE_EQ(PBParameterOfPointOnLine({0, 0}, {4, 0}, {1, 0}), 0.25);
  EXPECT_DOUBLE_EQ(PBParameterOfPointOnLine({0, 0}, {4, 0}, {6, 0}), 1.5);
  EXPECT_DOUBLE_EQ(PBParameterOfPointOnLine({0, 0}, {4, 0}, {-2, 0}), -0.5);
  EXPECT_EQ(PBParameterOfPointOnLine({1, 1}, {1, 1}, {3, 3}), 0);
}

TEST(PBLineFunctions, LineMeetingPointAndParallelLines) {
  Point meeting;
  ASSERT_TRUE(PBLinesIntersect({0, 0}, {2, 2}, {0, 2}, {2, 0}, &meeting));
  EXPECT_NEAR(meeting.x, 1, 1e-15);
  EXPECT_NEAR(meeting.y, 1, 1e-15);
  // Collinear lines give 0/0.
  EXPECT_FALSE(PBLinesIntersect({0, 0}, {1, 0}, {2, 0}, {3, 0}, &meeting));
  EXPECT_FALSE(PBLinesIntersect({0, 0}, {0, 0}, {2, 0}, {3, 1}, &meeting));
}

TEST(PBLineFunctions, HorizontalCutReachesJustPastTheSegment) {
  Point cut;
  ASSERT_TRUE(PBLineIntersectsHorizontalLine({0, 0}, {2, 4}, 1, &cut));
  EXPECT_DOUBLE_EQ(cut.x, 0.5);
  ASSERT_TRUE(PBLineIntersectsHorizontalLine({3, 0}, {3, 4}, 2, &cut));
  EXPECT_EQ(cut.x, 3);
  EXPECT_TRUE(PBLineIntersectsHorizontalLine({0, 0}, {2, 4}, 4 + 0.5e-10, &cut));
  EXPECT_FALSE(PBLineIntersectsHorizontalLine({0, 0}, {2, 4}, 4 + 2e-10, &cut));
  EXPECT_FALSE(PBLineIntersectsHorizontalLine({0, 0}, {2, 4}, -2e-10, &cut));
}

TEST(PBConvexHull, FourPointArchGivesAllFourCounterClockwise) {
  const Point points[4] = {{0, 0}, {1, 2}, {2, 2}, {3, 0}};
  Point hull[5];
  ASSERT_EQ(PBConvexHullBuildFromPoints(points, hull), 4);
  const Point expected[5] = {{0, 0}, {3, 0}, {2, 2}, {1, 2}, {0, 0}};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(hull[i], expected[i]) << i;
}

TEST(PBConvexHull, CollinearPointsGiveTwo) {
  const Point points[4] = {{3, 3}, {1, 1}, {0, 0}, {2, 2}};
  Point hull[5];
  ASSERT_EQ(PBConvexHullBuildFromPoints(points, hull), 2);
  EXPECT_EQ(hull[0], (Point{0, 0}));
  EXPECT_EQ(hull[1], (Point{3, 3}));
  EXPECT_EQ(hull[2], (Point{0, 0}));
}

TEST(PBConvexHull, InteriorPointIsDroppedAndTiesSortByY) {
  const Point triangle[4] = {{0, 2}, {0, 0}, {1, 1}, {4, 1}};
  Point hull[5];
  ASSERT_EQ(PBConvexHullBuildFromPoints(triangle, hull), 3);
  // The x tie at 0 puts the lower point first.
  EXPECT_EQ(hull[0], (Point{0, 0}));
  EXPECT_EQ(hull[1], (Point{4, 1}));
  EXPECT_EQ(hull[2], (Point{0, 2}));
  EXPECT_EQ(hull[3], (Point{0, 0}));
}

TEST(PBConvexHull, EveryInputPointLiesInsideTheHull) {
  std::uint64_t state = 7;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0 * 10;
  };
  for (int trial = 0; trial < 500; ++trial) {
    Point points[4];
    for (Point& point : points) point = {next(), next()};
    Point hull[5];
    const int count = PBConvexHullBuildFromPoints(points, hull);
    ASSERT_GE(count, 2);
    ASSERT_LE(count, 4);
    for (const Point& point : points) {
      for (int i = 0; i < count; ++i) EXPECT_GE(PBCounterClockwiseTurn(hull[i], hull[i + 1], point), -1e-9);
    }
  }
}

}  // namespace
