#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "curve_oracles.h"

namespace {

using platform::Point;

struct Found {
  std::vector<std::shared_ptr<PBBezierIntersection>> intersections;
  std::shared_ptr<PBBezierIntersectRange> overlap;
};

Found intersect(PBBezierCurve& curve1, PBBezierCurve& curve2) {
  Found found;
  curve1.intersectionsWithBezierCurve(&curve2, &found.overlap,
                                      [&found](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                                        found.intersections.push_back(intersection);
                                      });
  return found;
}

TEST(PBCurveIntersection, CrossingLinesMeetAtTheirOwnParameters) {
  auto line1 = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {4, 4});
  auto line2 = PBBezierCurve::bezierCurveWithLineStartPoint({0, 3}, {4, -1});
  const Found found = intersect(*line1, *line2);
  ASSERT_EQ(found.intersections.size(), 1u);
  EXPECT_EQ(found.overlap, nullptr);
  EXPECT_NEAR(found.intersections[0]->parameter1(), 0.375, 1e-15);
  EXPECT_NEAR(found.intersections[0]->parameter2(), 0.375, 1e-15);
  EXPECT_EQ(found.intersections[0]->curve1(), line1.get());
  EXPECT_EQ(found.intersections[0]->curve2(), line2.get());
  const Point location = found.intersections[0]->location();
  EXPECT_NEAR(location.x, 1.5, 1e-14);
  EXPECT_NEAR(location.y, 1.5, 1e-14);
}

TEST(PBCurveIntersection, LinesMeetingAtAnEndCountOnlyWithinOnePicounit) {
  auto line = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {1, 0});
  auto justInside = PBBezierCurve::bezierCurveWithLineStartPoint({1 + 5e-13, -1}, {1 + 5e-13, 1});
  auto justOutside = PBBezierCurve::bezierCurveWithLineStartPoint({1 + 1e-11, -1}, {1 + 1e-11, 1});
  EXPECT_EQ(intersect(*line, *justInside).intersections.size(), 1u);
  EXPECT_TRUE(intersect(*line, *justOutside).intersections.empty());
}

TEST(PBCurveIntersection, ControlBoxesTouchingIsNotEnough) {
  // The arch's control box reaches y = 2 but the curve itself peaks at 1.5.
  auto arch = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 2}, {2, 2}, {3, 0});
  auto above = PBBezierCurve::bezierCurveWithEndPoint1({0, 2 + 0.5e-9}, {1, 3}, {2, 3}, {3, 2 + 0.5e-9});
  auto nearAbove = PBBezierCurve::bezierCurveWithLineStartPoint({0, 1.9}, {3, 1.9});
  EXPECT_TRUE(intersect(*arch, *above).intersections.empty());
  EXPECT_TRUE(intersect(*arch, *nearAbove).intersections.empty());
  EXPECT_FALSE(arch->doesHaveIntersectionsWithBezierCurve(nearAbove.get()));
}

TEST(PBCurveIntersection, ArchAndLineMeetTwiceInSearchOrder) {
  // y = 6t(1 - t)·... : the arch (0,0),(1,2),(2,2),(3,0) has y(t) = 6t(1 - t), so y = 1 where t(1 - t) = 1/6.
  auto arch = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 2}, {2, 2}, {3, 0});
  auto line = PBBezierCurve::bezierCurveWithLineStartPoint({-1, 1}, {4, 1});
  const Found found = intersect(*arch, *line);
  ASSERT_EQ(found.intersections.size(), 2u);
  const double root = (1 - std::sqrt(1 - 4.0 / 6)) / 2;
  EXPECT_NEAR(found.intersections[0]->parameter1(), root, 1e-7);
  EXPECT_NEAR(found.intersections[1]->parameter1(), 1 - root, 1e-7);
  for (const auto& intersection : found.intersections) {
    // x(t) = 3t for this arch, and the line runs from x = -1 over 5 units.
    EXPECT_NEAR(intersection->parameter2(), (3 * intersection->parameter1() + 1) / 5, 1e-6);
    EXPECT_FALSE(intersection->isTangent());
  }
  EXPECT_TRUE(arch->doesHaveIntersectionsWithBezierCurve(line.get()));
}

TEST(PBCurveIntersection, StopFlagCancelsPendingHalves) {
  // A wave crossing the axis three times.
  auto wave = PBBezierCurve::bezierCurveWithEndPoint1({0, -1}, {1, 4}, {2, -4}, {3, 2});
  auto axis = PBBezierCurve::bezierCurveWithLineStartPoint({-1, 0}, {4, 0});
  const Found all = intersect(*wave, *axis);
  EXPECT_EQ(all.intersections.size(), 3u);
  int calls = 0;
  wave->intersectionsWithBezierCurve(axis.get(), nullptr,
                                     [&calls](const std::shared_ptr<PBBezierIntersection>&, bool* stop) {
                                       ++calls;
                                       *stop = true;
                                     });
  EXPECT_EQ(calls, 1);
}

TEST(PBCurveIntersection, IdenticalCurvesOverlapWholly) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  auto same = curve->clone();
  const Found found = intersect(*curve, *same);
  EXPECT_TRUE(found.intersections.empty());
  ASSERT_NE(found.overlap, nullptr);
  EXPECT_FALSE(found.overlap->reversed());
  EXPECT_NEAR(found.overlap->parameterRange1().minimum, 0, 1e-9);
  EXPECT_NEAR(found.overlap->parameterRange1().maximum, 1, 1e-9);
  EXPECT_NEAR(found.overlap->parameterRange2().minimum, 0, 1e-9);
  EXPECT_NEAR(found.overlap->parameterRange2().maximum, 1, 1e-9);
}

TEST(PBCurveIntersection, CurveAndItsReverseOverlapReversed) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  auto reversed = curve->reversedCurve();
  const Found found = intersect(*curve, *reversed);
  EXPECT_TRUE(found.intersections.empty());
  ASSERT_NE(found.overlap, nullptr);
  EXPECT_TRUE(found.overlap->reversed());
}

TEST(PBCurveIntersection, NullSlotMakesOverlapsSilent) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  auto same = curve->clone();
  int calls = 0;
  curve->intersectionsWithBezierCurve(same.get(), nullptr,
                                      [&calls](const std::shared_ptr<PBBezierIntersection>&, bool*) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST(PBCurveIntersection, CollinearLinesOverlapOnTheSharedStretch) {
  auto line1 = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {4, 0});
  auto line2 = PBBezierCurve::bezierCurveWithLineStartPoint({2, 0}, {6, 0});
  const Found found = intersect(*line1, *line2);
  EXPECT_TRUE(found.intersections.empty());
  ASSERT_NE(found.overlap, nullptr);
  EXPECT_FALSE(found.overlap->reversed());
  EXPECT_NEAR(found.overlap->parameterRange1().minimum, 0.5, 1e-12);
  EXPECT_NEAR(found.overlap->parameterRange1().maximum, 1, 1e-12);
  EXPECT_NEAR(found.overlap->parameterRange2().minimum, 0, 1e-12);
  EXPECT_NEAR(found.overlap->parameterRange2().maximum, 0.5, 1e-12);

  auto backwards = PBBezierCurve::bezierCurveWithLineStartPoint({6, 0}, {1, 0});
  const Found reversed = intersect(*line1, *backwards);
  ASSERT_NE(reversed.overlap, nullptr);
  EXPECT_TRUE(reversed.overlap->reversed());
  EXPECT_NEAR(reversed.overlap->parameterRange1().minimum, 0.25, 1e-12);
  EXPECT_NEAR(reversed.overlap->parameterRange2().minimum, 0.4, 1e-12);
  EXPECT_NEAR(reversed.overlap->parameterRange2().maximum, 1, 1e-12);
}

// Parallel edges a micro-unit or less apart are one edge whatever their length; farther apart they are two.
TEST(PBCurveIntersection, ParallelLinesOverlapWithinTheCollinearDistance) {
  auto line = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {1000, 0});
  for (double gap : {1e-9, 1e-7, 0.9e-6}) {
    auto near = PBBezierCurve::bezierCurveWithLineStartPoint({250, gap}, {750, gap});
    const Found found = intersect(*line, *near);
    EXPECT_TRUE(found.intersections.empty()) << gap;
    ASSERT_NE(found.overlap, nullptr) << gap;
    EXPECT_NEAR(found.overlap->parameterRange1().minimum, 0.25, 1e-9);
    EXPECT_NEAR(found.overlap->parameterRange1().maximum, 0.75, 1e-9);
  }
  for (double gap : {2e-6, 1e-3}) {
    auto apart = PBBezierCurve::bezierCurveWithLineStartPoint({250, gap}, {750, gap});
    const Found found = intersect(*line, *apart);
    EXPECT_TRUE(found.intersections.empty()) << gap;
    EXPECT_EQ(found.overlap, nullptr) << gap;
  }
}

TEST(PBCurveIntersection, CurveOverlappingAPieceOfItself) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  auto piece = curve->subcurveWithRange({0.3, 0.8});
  const Found found = intersect(*curve, *piece);
  EXPECT_TRUE(found.intersections.empty());
  ASSERT_NE(found.overlap, nullptr);
  EXPECT_NEAR(found.overlap->parameterRange1().minimum, 0.3, 1e-6);
  EXPECT_NEAR(found.overlap->parameterRange1().maximum, 0.8, 1e-6);
  EXPECT_NEAR(found.overlap->parameterRange2().minimum, 0, 1e-6);
  EXPECT_NEAR(found.overlap->parameterRange2().maximum, 1, 1e-6);
}

TEST(PBCurveIntersection, TouchingCurveAndLineMeetOnce) {
  // Symmetric cup whose lowest point (0, 0) at t = 0.5 touches the axis.
  auto cup = PBBezierCurve::bezierCurveWithEndPoint1({-1, 1}, {-1.0 / 3, -1.0 / 3}, {1.0 / 3, -1.0 / 3}, {1, 1});
  auto axis = PBBezierCurve::bezierCurveWithLineStartPoint({-1, 0}, {1, 0});
  const Found found = intersect(*cup, *axis);
  ASSERT_FALSE(found.intersections.empty());
  for (const auto& intersection : found.intersections) {
    const Point location = intersection->location();
    EXPECT_NEAR(location.x, 0, 1e-3);
    EXPECT_NEAR(location.y, 0, 1e-3);
  }
}

// A circle of radius 7 about (-30, 50) passing a rounded corner's arc just below its leftmost point. The arc
// never rises above y = 50, and its only point there, (-35, 50), lies inside the circle, so the circle's upper
// quarter (y >= 50) cannot meet it; the lower quarter crosses it once. Clipping once converged onto the gap of
// about 0.6 between the upper quarter's end and the arc and reported it as a crossing.
TEST(PBCurveIntersection, NearMissAtAQuarterEndIsNoIntersection) {
  constexpr double k = 0.5522847498307936 * 7;
  auto upperQuarter = PBBezierCurve::bezierCurveWithEndPoint1({-30, 57}, {-30 - k, 57}, {-37, 50 + k}, {-37, 50});
  auto lowerQuarter = PBBezierCurve::bezierCurveWithEndPoint1({-37, 50}, {-37, 50 - k}, {-30 - k, 43}, {-30, 43});
  auto arc = PBBezierCurve::bezierCurveWithEndPoint1({-35, 50}, {-48.807118745, 50}, {-60, 38.807118745}, {-60, 25});
  EXPECT_TRUE(intersect(*upperQuarter, *arc).intersections.empty());
  EXPECT_TRUE(intersect(*arc, *upperQuarter).intersections.empty());
  for (const Found& found : {intersect(*lowerQuarter, *arc), intersect(*arc, *lowerQuarter)}) {
    ASSERT_EQ(found.intersections.size(), 1u);
    const Point location = found.intersections[0]->location();
    // On the circle (the cubic quarter is within 3e-4 of it) and below the upper quarter's end.
    EXPECT_NEAR(std::hypot(location.x + 30, location.y - 50), 7.0, 4e-3);
    EXPECT_LT(location.y, 50.0);
  }
}

TEST(PBBezierIntersection, TangencyNeedsAnInteriorPoint) {
  auto cup = PBBezierCurve::bezierCurveWithEndPoint1({-1, 1}, {-1.0 / 3, -1.0 / 3}, {1.0 / 3, -1.0 / 3}, {1, 1});
  auto axis = PBBezierCurve::bezierCurveWithLineStartPoint({-1, 0}, {1, 0});
  auto touch = PBBezierIntersection::intersectionWithCurve1(cup.get(), 0.5, axis.get(), 0.5);
  EXPECT_TRUE(touch->isTangent());
  EXPECT_NE(touch->description().find("isTangent = yes"), std::string::npos);
  EXPECT_FALSE(PBBezierIntersection::intersectionWithCurve1(cup.get(), 0.00005, axis.get(), 0.5)->isTangent());
  EXPECT_FALSE(PBBezierIntersection::intersectionWithCurve1(cup.get(), 0.5, axis.get(), 0.99995)->isTangent());
  auto upright = PBBezierCurve::bezierCurveWithLineStartPoint({0, -1}, {0, 1});
  auto crossing = PBBezierIntersection::intersectionWithCurve1(cup.get(), 0.5, upright.get(), 0.5);
  EXPECT_FALSE(crossing->isTangent());
  EXPECT_NE(crossing->description().find("isTangent = no"), std::string::npos);
}

TEST(PBBezierIntersection, EndTestsAndLazyPieces) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  auto point = PBBezierCurve::bezierCurveWithEndPoint1({1, 1}, {1, 1}, {1, 1}, {1, 1});
  auto intersection = PBBezierIntersection::intersectionWithCurve1(curve.get(), 0.99991, point.get(), 0.5);
  EXPECT_FALSE(intersection->isAtStartOfCurve1());
  EXPECT_TRUE(intersection->isAtStopOfCurve1());
  // A point curve is at both of its ends whatever the parameter.
  EXPECT_TRUE(intersection->isAtStartOfCurve2());
  EXPECT_TRUE(intersection->isAtStopOfCurve2());
  auto interior = PBBezierIntersection::intersectionWithCurve1(curve.get(), 0.4, curve.get(), 0.0002);
  EXPECT_FALSE(interior->isAtEndPointOfCurve1());
  EXPECT_FALSE(interior->isAtEndPointOfCurve2());
  EXPECT_FALSE(interior->isAtEndPointOfCurve());
  const Point location = interior->location();
  const Point expected = oracle::bernstein(curve->data(), 0.4);
  EXPECT_NEAR(location.x, expected.x, 1e-12);
  EXPECT_EQ(interior->curve1LeftBezier()->endPoint2(), location);
  EXPECT_EQ(interior->curve1RightBezier()->endPoint1(), location);
  EXPECT_EQ(interior->curve2LeftBezier()->endPoint1(), curve->endPoint1());
}

TEST(PBBezierIntersectRange, MiddleIntersectionAndMerge) {
  auto curve1 = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  auto curve2 = curve1->clone();
  PBBezierIntersectRange range(curve1.get(), {0.2, 0.4}, curve2.get(), {0.6, 0.8}, true);
  const auto middle = range.middleIntersection();
  EXPECT_NEAR(middle->parameter1(), 0.3, 1e-15);
  EXPECT_NEAR(middle->parameter2(), 0.7, 1e-15);
  EXPECT_EQ(middle->curve1(), curve1.get());

  PBBezierIntersectRange first(curve1.get(), {0.1, 0.3}, curve2.get(), {0.1, 0.3}, false);
  EXPECT_NEAR(first.curve1OverlappingBezier()->endPoint2().x, oracle::bernstein(curve1->data(), 0.3).x, 1e-12);
  first.merge(PBBezierIntersectRange(curve1.get(), {0.25, 0.5}, curve2.get(), {0.05, 0.2}, true));
  EXPECT_EQ(first.parameterRange1().minimum, 0.1);
  EXPECT_EQ(first.parameterRange1().maximum, 0.5);
  EXPECT_EQ(first.parameterRange2().minimum, 0.05);
  EXPECT_EQ(first.parameterRange2().maximum, 0.3);
  EXPECT_FALSE(first.reversed());
  // The pieces are cut again over the widened range.
  EXPECT_NEAR(first.curve1OverlappingBezier()->endPoint2().x, oracle::bernstein(curve1->data(), 0.5).x, 1e-12);
  EXPECT_NE(first.description().find("param1 = (0.100000, 0.500000)"), std::string::npos);
}

TEST(PBBezierIntersectRange, EndTestsAndMissingPieces) {
  auto curve = PBBezierCurve::bezierCurveWithEndPoint1({0, 0}, {1, 3}, {4, 3}, {5, -1});
  PBBezierIntersectRange range(curve.get(), {0, 0.99995}, curve.get(), {0.0002, 1}, false);
  EXPECT_TRUE(range.isAtStartOfCurve1());
  EXPECT_TRUE(range.isAtStopOfCurve1());
  EXPECT_FALSE(range.isAtStartOfCurve2());
  EXPECT_TRUE(range.isAtStopOfCurve2());
  EXPECT_EQ(range.curve1LeftBezier(), nullptr);
  EXPECT_NE(range.curve1RightBezier(), nullptr);
  EXPECT_NE(range.curve2LeftBezier(), nullptr);
}

}  // namespace
