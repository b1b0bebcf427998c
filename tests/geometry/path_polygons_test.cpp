// Paths through the polygon clipper: conversion both ways, the counting queries, the boolean
// operations against exact areas and against the curve engine, and the unflattening policy.

#include <gtest/gtest.h>

#include <cmath>

#include "boolean/path_boolean_operations.h"
#include "geometry/path_length.h"
#include "geometry/path_polygon_booleans.h"
#include "geometry/path_polygons.h"
#include "geometry/polygon_clip_counters.h"
#include "path_oracles.h"
#include "polygon_shape_pairs.h"

namespace {

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::Rect;

class CountingScope {
 public:
  CountingScope() { setPolygonClipCounters(&counters); }
  ~CountingScope() { setPolygonClipCounters(nullptr); }
  PolygonClipCounters counters;
};

int countOf(const BezierPath& path, PathElement kind) {
  int counts[4] = {-1, -1, -1, -1};
  getPathMoveToCount(path, &counts[0], &counts[1], &counts[2], &counts[3]);
  return counts[static_cast<int>(kind)];
}

TEST(PathPolygons, TheUnionOfOverlappingRectanglesIsOneClosedStraightSubpath) {
  BezierPath a = BezierPath::rect(Rect(0, 0, 100, 50));
  BezierPath b = BezierPath::rect(Rect(50, 25, 100, 50));
  const BezierPath unite = pathFromUnionWithPath(a, b);
  EXPECT_EQ(unite.windingRule(), platform::WindingRule::EvenOdd);
  EXPECT_EQ(countOf(unite, PathElement::Move), 1);
  EXPECT_EQ(countOf(unite, PathElement::Curve), 0);
  EXPECT_EQ(countOf(unite, PathElement::Close), 1);
  EXPECT_EQ(unite.elementAt(unite.elementCount() - 1), PathElement::Close);
  EXPECT_DOUBLE_EQ(pathoracles::evenOddArea(unite), 8750);
}

TEST(PathPolygons, ARectangleMinusAnInnerOneLeavesAHoleByTheRule) {
  BezierPath outer = BezierPath::rect(Rect(0, 0, 100, 80));
  BezierPath inner = BezierPath::rect(Rect(20, 20, 30, 30));
  const BezierPath ring = pathFromDifferenceWithPath(outer, inner);
  EXPECT_EQ(countOf(ring, PathElement::Move), 2);
  EXPECT_DOUBLE_EQ(pathoracles::evenOddArea(ring), 8000 - 900);
  EXPECT_FALSE(ring.containsPoint({35, 35}));
  EXPECT_TRUE(ring.containsPoint({10, 10}));
  EXPECT_FALSE(ring.containsPoint({110, 10}));
}

TEST(PathPolygons, IntersectsPathClipsOnlyWhenTheBoundsMeet) {
  BezierPath square = BezierPath::rect(Rect(0, 0, 10, 10));
  BezierPath far = BezierPath::ovalInRect(Rect(20, 0, 10, 10));
  {
    CountingScope scope;
    EXPECT_FALSE(intersectsPath(square, far));
    EXPECT_EQ(scope.counters.calls, 0);
    EXPECT_TRUE(pathFromIntersectionWithPath(square, far).isEmpty());
  }
  // Bounds that overlap around shapes that do not: the clipper decides.
  BezierPath lowerLeft, upperRight;
  lowerLeft.moveTo({0, 0});
  lowerLeft.lineTo({10, 0});
  lowerLeft.lineTo({0, 10});
  lowerLeft.closePath();
  upperRight.moveTo({10, 10});
  upperRight.lineTo({1, 10});
  upperRight.lineTo({10, 1});
  upperRight.closePath();
  CountingScope scope;
  EXPECT_FALSE(intersectsPath(lowerLeft, upperRight));
  EXPECT_EQ(scope.counters.calls, 1);
  BezierPath overlapping = BezierPath::ovalInRect(Rect(5, 5, 10, 10));
  EXPECT_TRUE(intersectsPath(square, overlapping));
  // An empty path has an empty box, which meets nothing.
  BezierPath empty;
  EXPECT_FALSE(intersectsPath(empty, square));
}

TEST(PathPolygons, ACircleBecomesOneContourClosedByItsFirstVertex) {
  BezierPath circle = BezierPath::ovalInRect(Rect(-100, -100, 200, 200));
  const std::optional<PolygonRecord> polygon = polygonRecord(circle);
  ASSERT_TRUE(polygon);
  ASSERT_EQ(polygon->contours.size(), 1u);
  const PolygonContour& contour = polygon->contours[0];
  // Four curves of 4·⌈√(34.5·r)⌉ / 4 segments each, the move's vertex and the repeat.
  EXPECT_EQ(contour.size(), 4u * 59 + 2);
  EXPECT_EQ(contour.back(), contour.front());
  EXPECT_TRUE(polygon->holes.empty());
  EXPECT_EQ(circle.flatness(), static_cast<double>(0.01f));
}

TEST(PathPolygons, EverySubpathBecomesAContourClosedByItsFirstVertex) {
  BezierPath path;
  path.moveTo({0, 0});  // a lone move
  path.moveTo({1, 1});  // open: three points
  path.lineTo({5, 1});
  path.lineTo({5, 5});
  path.moveTo({7, 7});  // closed: four points
  path.lineTo({9, 7});
  path.lineTo({9, 9});
  path.lineTo({7, 9});
  path.closePath();
  const std::optional<PolygonRecord> polygon = polygonRecordWithFlatness(path, 0.5f);
  ASSERT_TRUE(polygon);
  EXPECT_EQ(polygon->contours,
            (std::vector<PolygonContour>{
                {{0, 0}, {0, 0}}, {{1, 1}, {5, 1}, {5, 5}, {1, 1}}, {{7, 7}, {9, 7}, {9, 9}, {7, 9}, {7, 7}}}));
  EXPECT_EQ(path.flatness(), 0.5);
  EXPECT_EQ(static_cast<int>(polygon->contours[2].size()), subPathCountStartingAtElement(path, 4));

  BezierPath empty;
  const std::optional<PolygonRecord> none = polygonRecord(empty);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->contours.empty());
}

TEST(PathPolygons, APolygonBecomesClosedStraightSubpathsSkippingEmptyContours) {
  const PolygonRecord polygon{{{{0, 0}, {4, 0}, {0, 4}}, {}, {{1, 1}}}, {1, 0, 0}};
  const BezierPath path = bezierPathWithPolygonRecord(polygon);
  ASSERT_EQ(path.elementCount(), 6);
  const PathElement kinds[] = {PathElement::Move,  PathElement::Line, PathElement::Line,
                               PathElement::Close, PathElement::Move, PathElement::Close};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(path.elementAt(i), kinds[i]);
  Point points[3];
  path.elementAt(4, points);
  EXPECT_EQ(points[0], (Point{1, 1}));
  EXPECT_EQ(path.windingRule(), platform::WindingRule::EvenOdd);
}

TEST(PathPolygons, SubpathCounts) {
  BezierPath path = BezierPath::rect(Rect(0, 0, 1, 1));  // elements 0–4
  path.moveTo({5, 5});                                   // 5
  path.curveTo({6, 6}, {5, 6}, {6, 5});                  // 6
  struct Case {
    int element, count;
  };
  for (const Case& c :
       {Case{0, 5}, Case{2, 3}, Case{5, 2}, Case{6, 1}, Case{7, 1}, Case{1000, 1}, Case{-1, 1}, Case{-3, 3}}) {
    EXPECT_EQ(subPathCountStartingAtElement(path, c.element), c.count) << c.element;
  }
  EXPECT_EQ(subPathCountStartingAtElement(BezierPath(), 0), 1);
  EXPECT_EQ(countOf(path, PathElement::Move), 2);
  EXPECT_EQ(countOf(path, PathElement::Line), 3);
  EXPECT_EQ(countOf(path, PathElement::Curve), 1);
  EXPECT_EQ(countOf(path, PathElement::Close), 1);
  getPathMoveToCount(path, nullptr, nullptr, nullptr, nullptr);
  int curves = -1;
  getPathMoveToCount(path, nullptr, nullptr, &curves, nullptr);
  EXPECT_EQ(curves, 1);
}

TEST(PathPolygons, ThePolicyDecidesWhichResultsAreUnflattened) {
  EXPECT_EQ(pathUnflatteningPolicy(), 2);
  BezierPath rectangle = BezierPath::rect(Rect(0, 0, 100, 100));
  BezierPath other = BezierPath::rect(Rect(50, 50, 100, 100));
  BezierPath circle = BezierPath::ovalInRect(Rect(50, 50, 100, 100));
  struct Case {
    int policy;
    bool rectangles, withCircle;
  };
  for (const Case& c : {Case{2, false, true}, Case{1, true, true}, Case{0, false, false}, Case{3, false, false},
                        Case{-1, false, false}}) {
    setPathUnflatteningPolicy(c.policy);
    EXPECT_EQ(unflattensBooleanResult(rectangle, other), c.rectangles) << c.policy;
    EXPECT_EQ(unflattensBooleanResult(rectangle, circle), c.withCircle) << c.policy;
    EXPECT_EQ(unflattensBooleanResult(circle, rectangle), c.withCircle) << c.policy;
  }
  setPathUnflatteningPolicy(2);
  // Unflattening gives the path back as it is.
  EXPECT_EQ(pathFromPath(rectangle, circle, PolygonOperation::Union),
            pathFromPath(rectangle, circle, PolygonOperation::Union, false));
  EXPECT_EQ(bezierPathByUnflatteningPath(circle), circle);
}

// Flattening at 0.01 moves each operand's outline inwards by at most 0.01, so the result's
// area may differ from the curve engine's by 0.01 per unit of both perimeters, twice over.
TEST(PathPolygons, ThePolygonRouteAgreesWithTheCurveEngine) {
  using Curved = BezierPath (*)(const BezierPath&, const BezierPath&);
  using Polygonal = BezierPath (*)(BezierPath&, BezierPath&);
  const std::pair<Curved, Polygonal> operations[] = {{pb_union, pathFromUnionWithPath},
                                                     {pb_intersect, pathFromIntersectionWithPath},
                                                     {pb_difference, pathFromDifferenceWithPath},
                                                     {pb_xor, pathFromExclusiveOrWithPath}};
  for (ShapePair& pair : polygonRouteShapePairs()) {
    SCOPED_TRACE(pair.name);
    const double tolerance = 2 * 0.01 * (length(pair.a) + length(pair.b));
    for (const auto& [curved, polygonal] : operations) {
      const double expected = pathoracles::evenOddArea(curved(pair.a, pair.b));
      EXPECT_NEAR(pathoracles::evenOddArea(polygonal(pair.a, pair.b)), expected, tolerance);
    }
    EXPECT_EQ(pair.a.flatness(), static_cast<double>(0.01f));
    EXPECT_EQ(pair.b.flatness(), static_cast<double>(0.01f));
  }
}

TEST(PathPolygons, AMillionElementPathGoesThrough) {
  BezierPath polygon;
  constexpr int kPoints = 1'000'000;
  for (int i = 0; i < kPoints; ++i) {
    const double angle = 2 * M_PI * i / kPoints;
    const Point p{1000 * std::cos(angle), 1000 * std::sin(angle)};
    i == 0 ? polygon.moveTo(p) : polygon.lineTo(p);
  }
  BezierPath rightHalf = BezierPath::rect(Rect(0, -2000, 4000, 4000));
  const BezierPath half = pathFromIntersectionWithPath(polygon, rightHalf);
  EXPECT_EQ(half.elementCount(), kPoints / 2 + 3);  // move, lines, close
  EXPECT_NEAR(pathoracles::evenOddArea(half), M_PI * 1000 * 1000 / 2, 0.1);
}

}  // namespace
