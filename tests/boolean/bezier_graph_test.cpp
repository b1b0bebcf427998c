// Reading paths into graphs, the operations table for contours that cross
// nothing, containment of contours, and the path element helpers.

#include "boolean/bezier_graph.h"

#include <gtest/gtest.h>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/path_boolean_operations.h"
#include "boolean/path_elements.h"
#include "boolean/walk/graph_containment.h"
#include "path_oracles.h"

namespace {

using platform::BezierPath;
using platform::Point;
using pathoracles::parseSvgPath;

BezierPath square(double x, double y, double size) {
  return parseSvgPath("M " + std::to_string(x) + " " + std::to_string(y) + " H " + std::to_string(x + size) + " V " +
                      std::to_string(y + size) + " H " + std::to_string(x) + " Z");
}

std::vector<double> areas(const BezierPath& path) { return pathoracles::signedSubpathAreas(path); }

TEST(BezierGraphReading, OpenSubpathsAreClosedAndDegenerateElementsDropped) {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({0, 0});  // to the current point: dropped
  path.lineTo({10, 0});
  path.curveTo({10, 0}, {10, 0}, {10, 0});  // all four points equal: dropped
  path.curveTo({10, 0}, {20, 5}, {20, -5});  // back to its start with distinct controls: kept
  path.lineTo({10, 10});
  PBBezierGraph graph(path);
  ASSERT_EQ(graph.contours().size(), 1u);
  const auto& edges = graph.contours().front()->edges();
  ASSERT_EQ(edges.size(), 4u);  // line, loop curve, line, closing line
  EXPECT_FALSE(edges[1]->isStraightLine());
  EXPECT_EQ(edges.back()->endPoint2(), (Point{0, 0}));
}

TEST(BezierGraphReading, CloseOnTheStartAddsNoEdgeAndTwoMovesLeaveAnEmptyContour) {
  BezierPath path = parseSvgPath("M 0 0 L 10 0 L 10 10 L 0 0 Z");
  path.moveTo({50, 50});
  path.moveTo({60, 60});
  path.lineTo({70, 60});
  path.lineTo({70, 70});
  PBBezierGraph graph(path);
  ASSERT_EQ(graph.contours().size(), 3u);
  EXPECT_EQ(graph.contours()[0]->edges().size(), 3u);
  EXPECT_TRUE(graph.contours()[1]->edges().empty());
  EXPECT_EQ(graph.contours()[2]->edges().size(), 3u);
  // The empty contour leaves nothing in the output: every close has its move.
  const BezierPath out = graph.bezierPath();
  EXPECT_EQ(out.windingRule(), platform::WindingRule::EvenOdd);
  int moves = 0;
  int closes = 0;
  for (int i = 0; i < out.elementCount(); ++i) {
    moves += out.elementAt(i) == platform::PathElement::Move;
    closes += out.elementAt(i) == platform::PathElement::Close;
  }
  EXPECT_EQ(moves, 2);
  EXPECT_EQ(closes, 2);
}

TEST(BezierGraphReading, EmptyPathGivesNoContours) {
  PBBezierGraph graph{BezierPath()};
  EXPECT_TRUE(graph.contours().empty());
  EXPECT_EQ(graph.bounds(), platform::Rect());
  EXPECT_TRUE(pb_union(BezierPath(), BezierPath()).isEmpty());
  EXPECT_EQ(areas(pb_union(BezierPath(), square(0, 0, 10))), std::vector<double>{100});
  EXPECT_TRUE(pb_intersect(BezierPath(), square(0, 0, 10)).isEmpty());
  EXPECT_TRUE(pb_difference(BezierPath(), square(0, 0, 10)).isEmpty());
  EXPECT_EQ(areas(pb_difference(square(0, 0, 10), BezierPath())), std::vector<double>{100});
}

TEST(BezierGraphOperations, DisjointSquares) {
  const BezierPath a = square(0, 0, 10);
  const BezierPath b = square(20, 0, 10);
  const BezierPath unite = pb_union(a, b);
  ASSERT_EQ(areas(unite).size(), 2u);
  EXPECT_EQ(pb_pointAtIndex(unite, 0), (Point{0, 0}));  // the receiver's square first
  EXPECT_TRUE(pb_intersect(a, b).isEmpty());
  EXPECT_EQ(pb_difference(a, b), PBBezierGraph(a).bezierPath());
}

TEST(BezierGraphOperations, NestedSquares) {
  const BezierPath large = square(0, 0, 100);
  const BezierPath small = square(40, 40, 10);
  EXPECT_EQ(areas(pb_union(large, small)), std::vector<double>{10000});
  EXPECT_EQ(areas(pb_union(small, large)), std::vector<double>{10000});
  EXPECT_EQ(areas(pb_intersect(large, small)), std::vector<double>{100});
  EXPECT_EQ(areas(pb_difference(large, small)), (std::vector<double>{10000, 100}));  // a frame by even-odd
  EXPECT_TRUE(pb_difference(small, large).isEmpty());
  EXPECT_DOUBLE_EQ(pathoracles::evenOddArea(pb_xor(large, small)), 9900);
}

TEST(BezierGraphOperations, EquivalentContoursNeverReachTheContainmentTest) {
  const BezierPath a = square(0, 0, 10);
  EXPECT_EQ(areas(pb_union(a, a)), std::vector<double>{100});
  EXPECT_EQ(areas(pb_intersect(a, a)), std::vector<double>{100});
  EXPECT_TRUE(pb_difference(a, a).isEmpty());
  EXPECT_TRUE(pb_xor(a, a).isEmpty());
}

TEST(BezierGraphOperations, ResultCarriesTheReceiversStrokeAttributesButNotItsDashOrWinding) {
  BezierPath a = square(0, 0, 10);
  a.setLineWidth(7);
  a.setLineCapStyle(platform::LineCap::Round);
  a.setLineJoinStyle(platform::LineJoin::Bevel);
  a.setMiterLimit(3);
  a.setFlatness(0.25);
  a.setWindingRule(platform::WindingRule::NonZero);
  const double dash[] = {1, 2};
  a.setLineDash(dash, 2, 0);
  BezierPath b = square(5, 5, 10);
  b.setLineWidth(1);
  const BezierPath result = pb_union(a, b);
  EXPECT_EQ(result.lineWidth(), 7);
  EXPECT_EQ(result.lineCapStyle(), platform::LineCap::Round);
  EXPECT_EQ(result.lineJoinStyle(), platform::LineJoin::Bevel);
  EXPECT_EQ(result.miterLimit(), 3);
  EXPECT_EQ(result.flatness(), 0.25);
  EXPECT_EQ(result.windingRule(), platform::WindingRule::EvenOdd);
  EXPECT_TRUE(result.lineDash().pattern.empty());
}

TEST(BezierGraphOperations, OperandsAreLeftWithoutCrossingsOrOverlaps) {
  PBBezierGraph a(square(0, 0, 10));
  PBBezierGraph b(square(5, 5, 10));
  auto result = a.unionWithBezierGraph(b);
  for (PBBezierGraph* graph : {&a, &b}) {
    for (const auto& contour : graph->contours()) {
      EXPECT_TRUE(contour->overlaps().empty());
      for (const auto& edge : contour->edges()) EXPECT_FALSE(edge->hasCrossings());
    }
  }
  EXPECT_DOUBLE_EQ(pathoracles::evenOddArea(result->bezierPath()), 175);
}

TEST(BezierGraphContainment, RaysCountContainersOnBothSides) {
  auto contourOf = [](const BezierPath& path) { return PBBezierGraph(path).contours().front(); };
  PBBezierGraph large(square(0, 0, 100));
  auto inner = contourOf(square(40, 40, 10));
  EXPECT_TRUE(large.containsContour(*inner));
  auto faraway = contourOf(square(500, 500, 10));
  EXPECT_FALSE(large.containsContour(*faraway));
  // In the hole of a frame: crossed twice on each side, so two containers and not contained.
  BezierPath frame = square(0, 0, 100);
  frame.appendPath(square(20, 20, 60));
  PBBezierGraph framed(frame);
  EXPECT_FALSE(framed.containsContour(*inner));
  // Between two squares at the same height: each is crossed twice on one side only.
  BezierPath pair = square(0, 40, 10);
  pair.appendPath(square(90, 40, 10));
  PBBezierGraph sides(pair);
  EXPECT_FALSE(sides.containsContour(*inner));
}

// Contours whose bounds cannot reach around the tested one are left out before any ray is cast; the rays
// still pass through some of them (beside, above and below), and one has a vertex on the first horizontal ray.
TEST(BezierGraphContainment, NestingDecidesAmongContoursThatCannotContain) {
  auto inner = PBBezierGraph(square(45, 45, 10)).contours().front();
  BezierPath distractors = square(-300, 40, 20);
  distractors.appendPath(square(400, 45, 5));
  distractors.appendPath(square(47, 300, 6));
  distractors.appendPath(square(47, -250, 6));
  distractors.appendPath(parseSvgPath("M 150 50 L 160 40 L 170 50 L 160 60 Z"));
  for (int k = 0; k < 40; ++k) distractors.appendPath(square(200 + 12 * k, -200, 10));
  for (int nested = 0; nested <= 3; ++nested) {
    BezierPath path = distractors;
    for (int level = 0; level < nested; ++level) path.appendPath(square(10 * level, 10 * level, 100 - 20 * level));
    PBBezierGraph graph(path);
    EXPECT_EQ(graph.containsContour(*inner), nested % 2 == 1) << nested << " nested squares";
  }
}

TEST(BezierGraphContainment, ZeroSizeContourIsNotContained) {
  PBBezierGraph large(square(0, 0, 100));
  PBBezierContour point;
  point.addCurve(PBBezierCurve::bezierCurveWithLineStartPoint({50, 50}, {50, 50}));
  EXPECT_FALSE(large.containsContour(point));
}

TEST(BezierGraphContainment, RayThroughAContainerVertexIsAmbiguousAndSkipped) {
  // A diamond's left and right vertices lie at y = 50, where the first horizontal ray runs.
  PBBezierGraph diamond(parseSvgPath("M 0 50 L 50 0 L 100 50 L 50 100 Z"));
  auto inner = PBBezierGraph(square(45, 45, 10)).contours().front();
  std::vector<PBBezierContour*> containers{diamond.contours().front().get()};
  auto ray = PBBezierCurve::bezierCurveWithLineStartPoint({-10, 50}, {110, 50});
  EXPECT_FALSE(PBEliminateContainers(&containers, *inner, *ray));
  EXPECT_EQ(containers.size(), 1u);
  // The vertical ray decides instead.
  EXPECT_TRUE(diamond.containsContour(*inner));
}

TEST(BezierGraphContainment, FiltersKeepContoursCrossedOddlyBeforeAndAlsoAfter) {
  PBBezierGraph graph(square(0, 0, 100));
  PBBezierContour* container = graph.contours().front().get();
  auto inner = PBBezierGraph(square(40, 40, 10)).contours().front();
  auto ray = PBBezierCurve::bezierCurveWithLineStartPoint({-10, 45}, {110, 45});
  Point minimum;
  Point maximum;
  ASSERT_TRUE(PBFindBoundsOfContour(*inner, *ray, &minimum, &maximum));
  EXPECT_NEAR(minimum.x, 40, 1e-9);
  EXPECT_NEAR(maximum.x, 50, 1e-9);
  PBCrossingRecords before;
  PBCrossingRecords after;
  ASSERT_TRUE(PBFindCrossingsOnContainers({container}, *ray, minimum, maximum, &before, &after));
  EXPECT_EQ(PBNumberOfTimesContourAppearsInCrossings(container, before), 1u);
  EXPECT_EQ(PBNumberOfTimesContourAppearsInCrossings(container, after), 1u);
  EXPECT_EQ(PBContoursFromCrossings(before), std::vector<PBBezierContour*>{container});
  PBCrossingRecords doubled = before;
  doubled.insert(doubled.end(), before.begin(), before.end());
  PBRemoveContoursThatDontContain(&doubled);
  EXPECT_TRUE(doubled.empty());
  PBCrossingRecords none;
  PBRemoveContourCrossingsThatDontAppearIn(&before, none);
  EXPECT_TRUE(before.empty());
}

TEST(PathElements, ElementAccessAndSubpaths) {
  BezierPath path = parseSvgPath("M 1 2 L 3 4 C 5 6 7 8 9 10 Z");
  path.setLineWidth(4);
  const PBPathElement curve = pb_elementAtIndex(path, 2);
  EXPECT_EQ(curve.kind, PBElementCurve);
  EXPECT_EQ(curve.point, (Point{9, 10}));
  EXPECT_EQ(curve.controlPoints[0], (Point{5, 6}));
  EXPECT_EQ(curve.controlPoints[1], (Point{7, 8}));
  EXPECT_EQ(pb_elementAtIndex(path, 3).kind, PBElementClose);
  EXPECT_EQ(pb_elementAtIndex(path, 99).kind, PBElementNone);
  EXPECT_EQ(pb_elementAtIndex(path, -1).kind, PBElementNone);
  EXPECT_EQ(pb_pointAtIndex(path, 1), (Point{3, 4}));

  const BezierPath empty = pb_subpathWithRange(path, {1, 0});
  EXPECT_TRUE(empty.isEmpty());
  EXPECT_EQ(empty.lineWidth(), 4);
  const BezierPath middle = pb_subpathWithRange(path, {1, 2});
  ASSERT_EQ(middle.elementCount(), 2);
  EXPECT_EQ(middle.elementAt(0), platform::PathElement::Move);
  EXPECT_EQ(pb_pointAtIndex(middle, 0), (Point{3, 4}));
  EXPECT_EQ(middle.elementAt(1), platform::PathElement::Curve);
}

TEST(PathElements, AppendPathJoinsSubpathsAndKeepsTheFirstMoveOfAnEmptyReceiver) {
  BezierPath empty;
  pb_appendPath(empty, parseSvgPath("M 5 5 L 6 6"));
  ASSERT_EQ(empty.elementCount(), 2);
  EXPECT_EQ(empty.elementAt(0), platform::PathElement::Move);
  EXPECT_EQ(pb_pointAtIndex(empty, 0), (Point{5, 5}));

  BezierPath joined = parseSvgPath("M 0 0 L 1 1");
  pb_appendPath(joined, parseSvgPath("M 1 1 L 2 2 M 3 3 L 4 4"));
  // The move to the last point is dropped, the other becomes a line.
  ASSERT_EQ(joined.elementCount(), 5);
  EXPECT_EQ(joined.elementAt(3), platform::PathElement::Line);
  EXPECT_EQ(pb_pointAtIndex(joined, 3), (Point{3, 3}));
}

}  // namespace

namespace {

TEST(BezierGraphDebugging, InsertedIntersectionsIncludeTouchesButMarkedCrossingsDoNot) {
  // Two squares touching along a corner point and crossing nowhere else.
  PBBezierGraph a(square(0, 0, 10));
  PBBezierGraph b(square(10, 10, 10));
  auto countCrossings = [](const PBBezierGraph& graph) {
    std::size_t count = 0;
    for (const auto& contour : graph.contours()) {
      for (const auto& edge : contour->edges()) count += edge->crossings_().size();
    }
    return count;
  };
  a.debuggingInsertIntersectionsWithBezierGraph(b);
  EXPECT_GT(countCrossings(a), 0u);
  a.debuggingInsertCrossingsForUnionWithBezierGraph(b);
  EXPECT_EQ(countCrossings(a), 0u);
  a.removeCrossings();
  b.removeCrossings();
}

TEST(BezierGraphDebugging, JointsPathMarksEveryEdgeEnd) {
  PBBezierGraph graph(parseSvgPath("M 0 0 L 10 0 C 15 5 15 10 10 10 Z"));
  const BezierPath joints = PBBezierGraph::debugPathForJointsOfContour(*graph.contours().front());
  int moves = 0;
  for (int i = 0; i < joints.elementCount(); ++i) moves += joints.elementAt(i) == platform::PathElement::Move;
  // Three edges: three end squares, plus two arms and two control circles for the one curve.
  EXPECT_EQ(moves, 3 + 2 + 2);
}

// A hole's ray leaves through the outer square once and is dashed; a contour that crosses the hole is left out
// even though the ray runs through it, since the inside test does not count it either.
TEST(BezierGraphDebugging, ContainmentPathShowsTheRayItsHitsAndParity) {
  BezierPath path = square(0, 0, 100);
  path.appendPath(square(40, 40, 20));
  path.appendPath(parseSvgPath("M 10 30 H 50 V 50 H 10 Z"));
  PBBezierGraph graph(path);
  ASSERT_EQ(graph.contours().size(), 3u);
  auto moves = [](const BezierPath& debugPath) {
    int count = 0;
    for (int i = 0; i < debugPath.elementCount(); ++i) count += debugPath.elementAt(i) == platform::PathElement::Move;
    return count;
  };
  auto lastSegment = [](const BezierPath& debugPath) {
    Point start[3];
    Point end[3];
    const int count = debugPath.elementCount();
    EXPECT_EQ(debugPath.elementAt(count - 2, start), platform::PathElement::Move);
    EXPECT_EQ(debugPath.elementAt(count - 1, end), platform::PathElement::Line);
    return std::pair<Point, Point>{start[0], end[0]};
  };

  const BezierPath hole = graph.debugPathForContainmentOfContour(*graph.contours()[1]);
  EXPECT_EQ(moves(hole), 1 + 1);  // the outer square's left edge, then the ray
  EXPECT_EQ(lastSegment(hole), (std::pair<Point, Point>{{40, 40}, {-10, 40}}));
  EXPECT_EQ(hole.lineDash().pattern, (std::vector<double>{2.0, 3.0}));

  const BezierPath outer = graph.debugPathForContainmentOfContour(*graph.contours()[0]);
  EXPECT_EQ(moves(outer), 1);  // the ray from the corner runs to the right along the bottom edge and meets nothing
  EXPECT_EQ(lastSegment(outer), (std::pair<Point, Point>{{0, 0}, {110, 0}}));
  EXPECT_TRUE(outer.lineDash().pattern.empty());

  platform::AffineTransform shift;
  shift.translate(5, -7);
  const BezierPath moved = graph.debugPathForContainmentOfContour(*graph.contours()[1], shift);
  EXPECT_EQ(lastSegment(moved), (std::pair<Point, Point>{{45, 33}, {-5, 33}}));
}

}  // namespace
