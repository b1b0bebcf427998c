// One contour: closing, bounds, point containment by ray, orientation, copies and marking.

#include "boolean/bezier_contour.h"

#include <gtest/gtest.h>

#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/walk/contour_overlap.h"
#include "boolean/walk/curve_location.h"
#include "boolean/walk/edge_crossing.h"
#include "path_oracles.h"

namespace {

using platform::Point;

std::shared_ptr<PBBezierContour> polygon(const std::vector<Point>& points) {
  auto contour = std::make_shared<PBBezierContour>();
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    contour->addCurve(PBBezierCurve::bezierCurveWithLineStartPoint(points[i], points[i + 1]));
  }
  contour->close();
  return contour;
}

TEST(BezierContourBuilding, CloseAddsAnEdgeOnlyWhenTheEndsAreApart) {
  auto open = polygon({{0, 0}, {10, 0}, {10, 10}});
  EXPECT_EQ(open->edges().size(), 3u);
  EXPECT_EQ(open->edges().back()->endPoint2(), (Point{0, 0}));
  auto nearlyClosed = polygon({{0, 0}, {10, 0}, {10, 10}, {1e-11, 0}});
  EXPECT_EQ(nearlyClosed->edges().size(), 3u);
  for (std::size_t i = 0; i < open->edges().size(); ++i) {
    EXPECT_EQ(open->edges()[i]->contour(), open.get());
    EXPECT_EQ(open->edges()[i]->index(), i);
  }
}

TEST(BezierContourBuilding, EmptyContourAnswersZeroesAndContainsNothing) {
  PBBezierContour empty;
  EXPECT_EQ(empty.bounds(), platform::Rect());
  EXPECT_EQ(empty.firstPoint(), Point());
  EXPECT_EQ(empty.startEdge(), nullptr);
  EXPECT_FALSE(empty.containsPoint({0, 0}));
  EXPECT_EQ(empty.direction(), 0);
  EXPECT_EQ(empty.closestLocationToPoint({1, 1}), nullptr);
  empty.addCurve(nullptr);
  EXPECT_TRUE(empty.edges().empty());
}

TEST(BezierContourGeometry, BoundsCountAZeroHeightEdgeAfterTheFirst) {
  auto contour = polygon({{0, 0}, {10, 0}, {10, 5}});
  EXPECT_EQ(contour->bounds(), platform::Rect(0, 0, 10, 5));
  contour->addCurve(PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {-4, 0}));
  EXPECT_EQ(contour->bounds(), platform::Rect(-4, 0, 14, 5));
}

TEST(BezierContourContainment, RayThroughSharedVerticesCountsEachOnce) {
  // A diamond: a ray at y = 0 from the inside point meets the left vertex, shared by two edges.
  auto diamond = polygon({{0, -10}, {10, 0}, {0, 10}, {-10, 0}});
  EXPECT_TRUE(diamond->containsPoint({0, 0}));
  EXPECT_TRUE(diamond->containsPoint({5, 0}));
  // Started at its left vertex, the ray leaves through the point where the last edge meets the first.
  auto rotated = polygon({{-10, 0}, {0, -10}, {10, 0}, {0, 10}});
  EXPECT_TRUE(rotated->containsPoint({0, 0}));
  EXPECT_TRUE(rotated->containsPoint({3, 0}));
  EXPECT_FALSE(rotated->containsPoint({9, 9}));
  auto square = polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_TRUE(square->containsPoint({5, 5}));
  EXPECT_FALSE(square->containsPoint({5, 10}));  // the bounds' max edge is outside
  EXPECT_FALSE(square->containsPoint({-1, 5}));
  EXPECT_FALSE(square->containsPoint({11, 5}));
}

TEST(BezierContourContainment, AgreesWithThePlatformFillTestOnACurvedOutline) {
  auto graph = PBBezierGraph::bezierGraphWithBezierPath(
      pathoracles::parseSvgPath("M 0 0 C 40 -30 80 30 100 0 L 100 80 C 60 120 30 40 0 80 Z"));
  auto& contour = *graph->contours().front();
  const platform::BezierPath& path = contour.bezierPath();
  int checked = 0;
  for (double x = -5.3; x < 105; x += 7.1) {
    for (double y = -25.7; y < 110; y += 6.3) {
      EXPECT_EQ(contour.containsPoint({x, y}), path.containsPoint({x, y})) << x << ", " << y;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(BezierContourOrientation, DirectionAndReversalFollowTheSignedArea) {
  auto counterClockwise = polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_EQ(counterClockwise->direction(), 0);
  auto reversed = counterClockwise->reversedContour();
  EXPECT_EQ(reversed->direction(), 1);
  ASSERT_EQ(reversed->edges().size(), 4u);
  // Consecutive edges of the reversed contour meet end to start.
  for (std::size_t i = 0; i < reversed->edges().size(); ++i) {
    const auto& edge = reversed->edges()[i];
    EXPECT_EQ(edge->endPoint2(), edge->next()->endPoint1());
  }
  const auto areas = pathoracles::signedSubpathAreas(reversed->bezierPath());
  ASSERT_EQ(areas.size(), 1u);
  EXPECT_DOUBLE_EQ(areas[0], -100);
  EXPECT_EQ(counterClockwise->contourMadeClockwiseIfNecessary()->direction(), 1);
  EXPECT_EQ(reversed->contourMadeClockwiseIfNecessary()->direction(), 1);
}

TEST(BezierContourOrientation, DirectionCountsTheFirstEdgesOwnEnd) {
  // A triangle of two edges and a closing one: skipping the first edge's end would leave a degenerate polygon.
  auto clockwise = polygon({{0, 0}, {0, 10}, {10, 0}});
  EXPECT_EQ(clockwise->direction(), 1);
}

TEST(BezierContourCopying, CopyClonesEdgesAndLeavesTheOriginalIntact) {
  auto original = polygon({{0, 0}, {10, 0}, {10, 10}});
  auto copy = original->copy();
  ASSERT_EQ(copy->edges().size(), original->edges().size());
  for (std::size_t i = 0; i < copy->edges().size(); ++i) {
    EXPECT_NE(copy->edges()[i].get(), original->edges()[i].get());
    EXPECT_TRUE(copy->edges()[i]->isEqual(*original->edges()[i]));
    EXPECT_EQ(original->edges()[i]->contour(), original.get());
    EXPECT_EQ(copy->edges()[i]->contour(), copy.get());
  }
}

TEST(BezierContourQueries, ClosestLocationPicksTheNearestEdge) {
  auto square = polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  auto location = square->closestLocationToPoint({12, 5});
  ASSERT_NE(location, nullptr);
  EXPECT_EQ(location->edge().get(), square->edges()[1].get());
  EXPECT_NEAR(location->distance(), 2, 1e-9);
  EXPECT_NEAR(location->parameter(), 0.5, 1e-6);
  EXPECT_EQ(location->contour(), square.get());
}

TEST(BezierContourPath, PathIsEvenOddAndCachedUntilAnEdgeIsAdded) {
  auto contour = polygon({{0, 0}, {10, 0}, {10, 10}});
  const platform::BezierPath first = contour->bezierPath();
  EXPECT_EQ(first.windingRule(), platform::WindingRule::EvenOdd);
  EXPECT_EQ(first.elementCount(), 5);  // move, three lines, close
  contour->addCurve(PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {-5, -5}));
  EXPECT_EQ(contour->bezierPath().elementCount(), 6);
}

TEST(BezierContourMarking, CrossingsAlternateStartingFromWhetherTheStartIsInside) {
  // A square whose start point lies outside a tall rectangle that crosses its bottom and top edges.
  auto graphA = PBBezierGraph::bezierGraphWithBezierPath(pathoracles::parseSvgPath("M 0 0 L 100 0 L 100 100 L 0 100 Z"));
  auto graphB =
      PBBezierGraph::bezierGraphWithBezierPath(pathoracles::parseSvgPath("M 40 -50 L 60 -50 L 60 150 L 40 150 Z"));
  graphA->insertCrossingsWithBezierGraph(*graphB);
  PBBezierContour& square = *graphA->contours().front();
  PBBezierContour& bar = *graphB->contours().front();
  auto entries = [&square]() {
    std::vector<bool> flags;
    for (const auto& edge : square.edges()) {
      for (const auto& crossing : edge->crossings_()) flags.push_back(crossing->isEntry());
    }
    return flags;
  };
  square.markCrossingsAsEntryOrExitWithContour(&bar, false);
  EXPECT_EQ(entries(), (std::vector<bool>{false, true, false, true}));
  square.markCrossingsAsEntryOrExitWithContour(&bar, true);
  EXPECT_EQ(entries(), (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(square.intersectingContours(), std::vector<PBBezierContour*>{&bar});
  graphA->removeCrossings();
  graphB->removeCrossings();
}

TEST(BezierContourOverlaps, IsEquivalentNeedsACompleteOverlapWithThatContour) {
  auto graphA = PBBezierGraph::bezierGraphWithBezierPath(pathoracles::parseSvgPath("M 0 0 L 100 0 L 100 100 L 0 100 Z"));
  auto graphB = PBBezierGraph::bezierGraphWithBezierPath(pathoracles::parseSvgPath("M 0 0 L 100 0 L 100 100 L 0 100 Z"));
  PBBezierContour& a = *graphA->contours().front();
  PBBezierContour& b = *graphB->contours().front();
  EXPECT_FALSE(a.isEquivalent(&a));
  graphA->insertCrossingsWithBezierGraph(*graphB);
  EXPECT_TRUE(a.isEquivalent(&b));
  EXPECT_TRUE(b.isEquivalent(&a));
  ASSERT_EQ(a.overlaps().size(), 1u);
  EXPECT_TRUE(a.overlaps().front()->isComplete());
  int pieces = 0;
  a.forEachEdgeOverlapDo([&pieces](PBEdgeOverlap&) { ++pieces; });
  EXPECT_EQ(pieces, 4);
  // A complete overlap adds no crossings.
  for (const auto& edge : a.edges()) EXPECT_FALSE(edge->hasCrossings());
  EXPECT_TRUE(a.doesOverlapContainParameter(0.5, a.edges()[2].get()));
  graphA->removeOverlaps();
  EXPECT_FALSE(a.isEquivalent(&b));
}

}  // namespace
