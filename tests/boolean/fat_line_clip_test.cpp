#include "boolean/walk/fat_line_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "curve_oracles.h"

namespace {

using platform::Point;

// A curve whose distances from the x axis are its y values.
PBBezierCurveData withDistances(double d0, double d1, double d2, double d3) {
  return PBBezierCurveDataMake({0, d0}, {1, d1}, {2, d2}, {3, d3}, false);
}

const PBLineEquation kAxis = PBLineEquationMake(0, 1, 0);

TEST(PBClipHullToBand, RampIsCutWhereItEntersAndLeavesTheBand) {
  const PBBezierCurveData ramp = withDistances(-1, -1.0 / 3, 1.0 / 3, 1);
  const PBRange narrow = PBClipHullToBand(kAxis, {0, 0}, ramp);
  EXPECT_NEAR(narrow.minimum, 0.5, 1e-15);
  EXPECT_NEAR(narrow.maximum, 0.5, 1e-15);
  const PBRange wide = PBClipHullToBand(kAxis, {-0.5, 0.5}, ramp);
  EXPECT_NEAR(wide.minimum, 0.25, 1e-15);
  EXPECT_NEAR(wide.maximum, 0.75, 1e-15);
}

TEST(PBClipHullToBand, HullMissingTheBandIsEmpty) {
  const PBRange range = PBClipHullToBand(kAxis, {-0.5, 0.5}, withDistances(1, 2, 2, 1));
  EXPECT_GT(range.minimum, range.maximum);
}

TEST(PBClipHullToBand, HullInsideTheBandKeepsEverything) {
  const PBRange range = PBClipHullToBand(kAxis, {-1, 1}, withDistances(0.1, 0.5, -0.5, 0.2));
  EXPECT_EQ(range.minimum, 0);
  EXPECT_EQ(range.maximum, 1);
}

TEST(PBClipHullToBand, FlatHullOnTheBandBorderLiesInTheBand) {
  const PBRange range = PBClipHullToBand(kAxis, {0, 0.75}, withDistances(0, 0, 0, 0));
  EXPECT_EQ(range.minimum, 0);
  EXPECT_EQ(range.maximum, 1);
}

TEST(PBClipHullToBand, HostileCoordinatesGiveAnEmptyOrUnitRange) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const PBBezierCurveData& data : {withDistances(0, 0, 0, inf), withDistances(-inf, 1, 2, inf),
                                        withDistances(nan, 0.5, 0.2, 1), withDistances(1e308, -1e308, 1e308, 0)}) {
    const PBRange range = PBClipHullToBand(kAxis, {-0.5, 0.5}, data);
    if (range.minimum > range.maximum) continue;
    EXPECT_GE(range.minimum, 0);
    EXPECT_LE(range.maximum, 1);
  }
}

TEST(PBFatLineClip, NarrowsTheRangeAndCutsFromTheWholeCurve) {
  // A steep curve against the fat line of a flat one: only its middle can meet it.
  const PBBezierCurveData whole = PBBezierCurveDataMake({0, -4}, {0.1, -1}, {-0.1, 1}, {0, 4}, false);
  const PBBezierCurveData flat = PBBezierCurveDataMake({-3, 0}, {-1, 0.2}, {1, -0.2}, {3, 0}, false);
  PBRange range{0, 1};
  bool intersects = false;
  const PBBezierCurveData clipped = PBFatLineClip(whole, flat, whole, &range, &intersects);
  ASSERT_TRUE(intersects);
  EXPECT_GT(range.minimum, 0.2);
  EXPECT_LT(range.maximum, 0.8);
  EXPECT_LT(range.minimum, 0.5);
  EXPECT_GT(range.maximum, 0.5);
  const Point start = oracle::bernstein(whole, range.minimum);
  EXPECT_NEAR(clipped.endPoint1.x, start.x, 1e-12);
  EXPECT_NEAR(clipped.endPoint1.y, start.y, 1e-12);
}

TEST(PBFatLineClip, MissLeavesRangeAndPieceAlone) {
  const PBBezierCurveData whole = PBBezierCurveDataMake({0, 5}, {1, 6}, {2, 6}, {3, 5}, false);
  const PBBezierCurveData flat = PBBezierCurveDataMake({0, 0}, {1, 0.5}, {2, 0.5}, {3, 0}, false);
  PBRange range{0.25, 0.5};
  bool intersects = true;
  const PBBezierCurveData piece = PBBezierCurveDataSubcurveWithRange(whole, range);
  const PBBezierCurveData result = PBFatLineClip(piece, flat, whole, &range, &intersects);
  EXPECT_FALSE(intersects);
  EXPECT_EQ(range.minimum, 0.25);
  EXPECT_EQ(range.maximum, 0.5);
  EXPECT_EQ(result.endPoint1, piece.endPoint1);
}

TEST(PBCurveIntersectionEdgeCases, ArchMeetsItsChordAtBothEnds) {
  auto arch = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 1}, {2, 1}, {3, 0});
  auto longer = PBBezierCurve::bezierCurveWithLineStartPoint({-1, 0}, {4, 0});
  std::vector<std::pair<double, double>> found;
  arch->intersectionsWithBezierCurve(longer.get(), nullptr,
                                     [&found](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                                       found.emplace_back(intersection->parameter1(), intersection->parameter2());
                                     });
  ASSERT_EQ(found.size(), 2u);
  EXPECT_NEAR(found[0].first, 0, 1e-9);
  EXPECT_NEAR(found[0].second, 0.2, 1e-9);
  EXPECT_NEAR(found[1].first, 1, 1e-9);
  EXPECT_NEAR(found[1].second, 0.8, 1e-9);
}

TEST(PBCurveIntersectionEdgeCases, CurvesThatAreNotNumbersEndQuietly) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto normal = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  auto broken = PBBezierCurve::bezierCurveWithEndPoint1({0, nan}, {1, 3}, {4, 3}, {5, -1});
  auto huge = PBBezierCurve::bezierCurveWithEndPoint1({-inf, 0}, {1, 3}, {4, inf}, {5, -1});
  for (auto* other : {broken.get(), huge.get()}) {
    std::shared_ptr<PBBezierIntersectRange> overlap;
    normal->intersectionsWithBezierCurve(other, &overlap, [](const std::shared_ptr<PBBezierIntersection>&, bool*) {});
    other->intersectionsWithBezierCurve(normal.get(), &overlap,
                                        [](const std::shared_ptr<PBBezierIntersection>&, bool*) {});
  }
  EXPECT_FALSE(std::isnan(normal->length()));
}

}  // namespace
