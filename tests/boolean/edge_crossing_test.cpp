#include "boolean/walk/edge_crossing.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"

namespace {

using platform::Point;

// A closed polygon of straight edges.
std::unique_ptr<PBBezierContour> polygon(const std::vector<Point>& corners) {
  auto contour = std::make_unique<PBBezierContour>();
  for (std::size_t i = 0; i < corners.size(); ++i) {
    contour->addCurve(PBBezierCurve::bezierCurveWithLineStartPoint(corners[i], corners[(i + 1) % corners.size()]));
  }
  return contour;
}

struct CrossingFixture : ::testing::Test {
  std::shared_ptr<PBBezierCurve> edge = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {10, 0});
  std::shared_ptr<PBBezierCurve> other = PBBezierCurve::bezierCurveWithLineStartPoint({0, -5}, {10, 5});

  std::shared_ptr<PBEdgeCrossing> crossingAt(double parameter, bool selfCrossing = false) {
    auto crossing = PBEdgeCrossing::crossingWithIntersection(
        PBBezierIntersection::intersectionWithCurve1(edge.get(), parameter, other.get(), 0.5));
    crossing->setSelfCrossing(selfCrossing);
    return crossing;
  }
};

TEST_F(CrossingFixture, AddingKeepsParameterOrderAndRenumbers) {
  auto late = crossingAt(0.7);
  auto early = crossingAt(0.2);
  auto middle = crossingAt(0.5);
  edge->addCrossing(late);
  edge->addCrossing(early);
  edge->addCrossing(middle);
  ASSERT_EQ(edge->crossings_().size(), 3u);
  EXPECT_EQ(edge->crossings_()[0], early);
  EXPECT_EQ(edge->crossings_()[1], middle);
  EXPECT_EQ(edge->crossings_()[2], late);
  for (std::uint64_t i = 0; i < 3; ++i) EXPECT_EQ(edge->crossings_()[i]->index(), i);
  EXPECT_EQ(late->next(), nullptr);
  EXPECT_EQ(early->previous(), nullptr);
  EXPECT_EQ(early->next(), middle.get());
  EXPECT_EQ(late->previous(), middle.get());
  EXPECT_EQ(edge->firstCrossing(), early.get());
  EXPECT_EQ(edge->lastCrossing(), late.get());
  EXPECT_EQ(middle->edge(), edge.get());
  EXPECT_EQ(middle->curve(), edge.get());
}

TEST_F(CrossingFixture, RemovingRenumbersAndDetaches) {
  auto early = crossingAt(0.2);
  auto middle = crossingAt(0.5);
  auto late = crossingAt(0.7);
  for (const auto& crossing : {early, middle, late}) edge->addCrossing(crossing);
  middle->removeFromEdge();
  EXPECT_EQ(middle->edge(), nullptr);
  ASSERT_EQ(edge->crossings_().size(), 2u);
  EXPECT_EQ(early->index(), 0u);
  EXPECT_EQ(late->index(), 1u);
  EXPECT_EQ(early->next(), late.get());
  // Removing everything leaves the crossings pointing at their old edge.
  edge->removeAllCrossings();
  EXPECT_FALSE(edge->hasCrossings());
  EXPECT_EQ(early->edge(), edge.get());
  EXPECT_EQ(edge->firstCrossing(), nullptr);
}

TEST_F(CrossingFixture, EqualParametersKeepInsertionOrder) {
  auto a = crossingAt(0.4);
  auto b = crossingAt(0.1);
  auto c = crossingAt(0.4);
  auto d = crossingAt(0.4);
  auto e = crossingAt(0.2);
  auto f = crossingAt(0.4);
  for (const auto& crossing : {a, b, c, d, e, f}) edge->addCrossing(crossing);
  const std::vector<std::shared_ptr<PBEdgeCrossing>> expected = {b, e, a, c, d, f};
  EXPECT_EQ(edge->crossings_(), expected);
}

TEST_F(CrossingFixture, NonselfNavigationSkipsSelfCrossings) {
  auto self1 = crossingAt(0.1, true);
  auto plain = crossingAt(0.5);
  auto self2 = crossingAt(0.9, true);
  for (const auto& crossing : {self1, plain, self2}) edge->addCrossing(crossing);
  EXPECT_EQ(edge->firstNonselfCrossing(), plain.get());
  EXPECT_EQ(edge->lastNonselfCrossing(), plain.get());
  EXPECT_TRUE(edge->hasNonselfCrossings());
  EXPECT_EQ(self1->nextNonself(), plain.get());
  EXPECT_EQ(plain->nextNonself(), nullptr);
  EXPECT_EQ(self2->previousNonself(), plain.get());
  plain->removeFromEdge();
  EXPECT_EQ(edge->firstNonselfCrossing(), nullptr);
  EXPECT_EQ(edge->lastNonselfCrossing(), nullptr);
  EXPECT_FALSE(edge->hasNonselfCrossings());
}

TEST_F(CrossingFixture, ParameterAndPiecesFollowTheEdgeByIdentity) {
  auto intersection = PBBezierIntersection::intersectionWithCurve1(edge.get(), 0.3, other.get(), 0.8);
  auto onEdge = PBEdgeCrossing::crossingWithIntersection(intersection);
  auto onOther = PBEdgeCrossing::crossingWithIntersection(intersection);
  edge->addCrossing(onEdge);
  other->addCrossing(onOther);
  onEdge->setCounterpart(onOther.get());
  onOther->setCounterpart(onEdge.get());
  EXPECT_EQ(onEdge->parameter(), 0.3);
  EXPECT_EQ(onOther->parameter(), 0.8);
  EXPECT_EQ(onOther->order(), 0.8);
  EXPECT_EQ(onEdge->leftCurve()->endPoint1(), (Point{0, 0}));
  EXPECT_EQ(onOther->rightCurve()->endPoint2(), (Point{10, 5}));
  EXPECT_NEAR(onOther->location().x, 3, 1e-12);
  std::vector<PBBezierCurve*> neighbours;
  edge->intersectingEdgesWithBlock([&neighbours](PBBezierCurve* found) { neighbours.push_back(found); });
  ASSERT_EQ(neighbours.size(), 1u);
  EXPECT_EQ(neighbours[0], other.get());
  int selfCount = 0;
  edge->selfIntersectingEdgesWithBlock([&selfCount](PBBezierCurve*) { ++selfCount; });
  EXPECT_EQ(selfCount, 0);
}

TEST_F(CrossingFixture, PiecesAreMissingAtTheEdgeEnds) {
  auto atStart = crossingAt(0.00005);
  auto atEnd = crossingAt(0.99995);
  edge->addCrossing(atStart);
  edge->addCrossing(atEnd);
  EXPECT_TRUE(atStart->isAtStart());
  EXPECT_EQ(atStart->leftCurve(), nullptr);
  EXPECT_NE(atStart->rightCurve(), nullptr);
  EXPECT_TRUE(atEnd->isAtEnd());
  EXPECT_EQ(atEnd->rightCurve(), nullptr);
  EXPECT_NE(atEnd->leftCurve(), nullptr);
}

TEST_F(CrossingFixture, BlocksStopAndTheCopyAllowsRemoval) {
  for (const double parameter : {0.1, 0.2, 0.3}) edge->addCrossing(crossingAt(parameter));
  int visited = 0;
  edge->crossingsWithBlock([&visited](const std::shared_ptr<PBEdgeCrossing>&, bool* stop) {
    if (++visited == 2) *stop = true;
  });
  EXPECT_EQ(visited, 2);
  visited = 0;
  edge->crossingsCopyWithBlock([&visited](const std::shared_ptr<PBEdgeCrossing>& crossing, bool*) {
    ++visited;
    crossing->removeFromEdge();
  });
  EXPECT_EQ(visited, 3);
  EXPECT_FALSE(edge->hasCrossings());
}

TEST_F(CrossingFixture, DescriptionShowsFlags) {
  auto crossing = crossingAt(0.5);
  crossing->setEntry(true);
  const std::string text = crossing->description();
  EXPECT_NE(text.find("isEntry = yes, isProcessed = no, isSelfIntersecting = no"), std::string::npos);
  EXPECT_NE(text.find("param1 = 0.500000"), std::string::npos);
}

TEST(PBBezierCurveEdge, NeighboursWrapAroundTheContour) {
  auto square = polygon({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  const auto& edges = square->edges();
  EXPECT_EQ(edges[3]->next(), edges[0].get());
  EXPECT_EQ(edges[0]->previous(), edges[3].get());
  EXPECT_EQ(edges[1]->next(), edges[2].get());
  EXPECT_EQ(edges[2]->index(), 2u);
  EXPECT_EQ(edges[2]->contour(), square.get());
  auto loose = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {1, 1});
  EXPECT_EQ(loose->next(), loose.get());
  EXPECT_EQ(loose->previous(), loose.get());
}

TEST(PBBezierCurveEdge, NonpointNeighboursSkipDegenerateEdges) {
  auto contour = polygon({{0, 0}, {2, 0}, {2, 0.000005}, {2, 2}});
  const auto& edges = contour->edges();
  ASSERT_TRUE(edges[1]->isPoint());
  EXPECT_EQ(edges[0]->nextNonpoint(), edges[2].get());
  EXPECT_EQ(edges[2]->previousNonpoint(), edges[0].get());
  EXPECT_EQ(edges[0]->next(), edges[1].get());
}

TEST(PBBezierCurveEdge, NonpointSearchEndsOnAContourOfPoints) {
  auto contour = polygon({{1, 1}, {1, 1}, {1, 1}});
  const auto& edges = contour->edges();
  EXPECT_EQ(edges[0]->nextNonpoint(), edges[1].get());
  EXPECT_EQ(edges[0]->previousNonpoint(), edges[2].get());
}

// Edge 1 is the right side of the square (2,0)→(2,2), which turns left at (2,2) into the top side.
class CrossesEdgeAtVertex : public ::testing::Test {
 protected:
  std::unique_ptr<PBBezierContour> square = polygon({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  PBBezierCurve* right = square->edges()[1].get();

  // A contour passing through (2, 2): arriving from `before`, leaving to `after`.
  bool crossesThrough(Point before, Point after) {
    auto other = polygon({before, {2, 2}, after});
    PBBezierCurve* leaving = other->edges()[1].get();
    auto intersection = PBBezierIntersection::intersectionWithCurve1(right, 1, leaving, 0);
    return right->crossesEdge(leaving, *intersection);
  }
};

TEST_F(CrossesEdgeAtVertex, PassingIntoTheCornerCrosses) { EXPECT_TRUE(crossesThrough({4, 4}, {1, 0})); }

TEST_F(CrossesEdgeAtVertex, GrazingTheCornerDoesNotCross) { EXPECT_FALSE(crossesThrough({1, 3}, {3, 1})); }

TEST_F(CrossesEdgeAtVertex, CoincidingDirectionsAreComparedFurtherAway) {
  // The other outline arrives at (2, 2) along the square's right side, curving in from outside: at the
  // vertex the directions coincide, one unit back they do not.
  auto crossesAfterCurvedArrival = [this](Point after) {
    PBBezierContour other;
    other.addCurve(PBBezierCurve::bezierCurveWithEndPoint1({3, 0}, {3, 1}, {2, 1}, {2, 2}));
    other.addCurve(PBBezierCurve::bezierCurveWithLineStartPoint({2, 2}, after));
    other.addCurve(PBBezierCurve::bezierCurveWithLineStartPoint(after, {3, 0}));
    PBBezierCurve* leaving = other.edges()[1].get();
    auto intersection = PBBezierIntersection::intersectionWithCurve1(right, 1, leaving, 0);
    return right->crossesEdge(leaving, *intersection);
  };
  EXPECT_TRUE(crossesAfterCurvedArrival({0.5, 1}));
  EXPECT_FALSE(crossesAfterCurvedArrival({3, 3}));
}

TEST_F(CrossesEdgeAtVertex, SharedStretchCrossesWhenTheOutlineComesInFromTheOtherSide) {
  // The other outline runs up the middle half of the square's right side, arriving from outside.
  auto crossesAlongStretch = [this](Point after) {
    auto other = polygon({{3, 0.5}, {2, 0.5}, {2, 1.5}, after});
    PBBezierCurve* shared = other->edges()[1].get();
    PBBezierIntersectRange range(right, {0.25, 0.75}, shared, {0, 1}, false);
    return right->crossesEdge(shared, range);
  };
  EXPECT_TRUE(crossesAlongStretch({1, 1.5}));
  EXPECT_FALSE(crossesAlongStretch({3, 1.5}));
}

TEST(PBBezierCurveCrossesEdge, TransversalInteriorMeetingCrosses) {
  auto horizontal = PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {4, 0});
  auto vertical = PBBezierCurve::bezierCurveWithLineStartPoint({1, -1}, {1, 1});
  auto intersection = PBBezierIntersection::intersectionWithCurve1(horizontal.get(), 0.25, vertical.get(), 0.5);
  EXPECT_TRUE(horizontal->crossesEdge(vertical.get(), *intersection));
}

TEST(PBBezierCurveCrossesEdge, TangentialTouchNeverCrosses) {
  auto cup = PBBezierCurve::bezierCurveWithEndPoint1({-1, 1}, {-1.0 / 3, -1.0 / 3}, {1.0 / 3, -1.0 / 3}, {1, 1});
  auto axis = PBBezierCurve::bezierCurveWithLineStartPoint({-1, 0}, {1, 0});
  auto intersection = PBBezierIntersection::intersectionWithCurve1(cup.get(), 0.5, axis.get(), 0.5);
  EXPECT_FALSE(cup->crossesEdge(axis.get(), *intersection));
}

}  // namespace
