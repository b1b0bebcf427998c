#include <gtest/gtest.h>

#include <vector>

#include "curve_sampling.h"
#include "platform/graphics/bezier_path.h"

namespace platform {
namespace {

struct Element {
  PathElement kind;
  std::vector<Point> points;
  friend bool operator==(const Element&, const Element&) = default;
};

std::vector<Element> elementsOf(const BezierPath& path) {
  std::vector<Element> out;
  Point p[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    const PathElement kind = path.elementAt(i, p);
    const int count = kind == PathElement::Curve ? 3 : kind == PathElement::Close ? 0 : 1;
    out.push_back({kind, std::vector<Point>(p, p + count)});
  }
  return out;
}

const Point a0{0, 0}, a1{10, 0}, a2{20, 10}, ac1{12, 0}, ac2{20, 5};
const Point b0{0, 50}, b1{5, 55};
const Point c0{100, 100}, c1{110, 100}, c2{110, 110};

BezierPath twoOpenOneClosed() {
  BezierPath path;
  path.moveTo(a0);
  path.lineTo(a1);
  path.curveTo(a2, ac1, ac2);
  path.moveTo(b0);
  path.lineTo(b1);
  path.moveTo(c0);
  path.lineTo(c1);
  path.lineTo(c2);
  path.closePath();
  return path;
}

TEST(BezierPathReverse, ReversesSubpathOrderAndEachSubpath) {
  BezierPath path = twoOpenOneClosed();
  path.setLineWidth(6);
  const BezierPath reversed = path.bezierPathByReversingPath();
  const std::vector<Element> expected = {
      // The closed triangle keeps its start, runs the other way and closes.
      {PathElement::Move, {c0}},
      {PathElement::Line, {c2}},
      {PathElement::Line, {c1}},
      {PathElement::Close, {}},
      {PathElement::Move, {b1}},
      {PathElement::Line, {b0}},
      // The curve comes back with its controls swapped.
      {PathElement::Move, {a2}},
      {PathElement::Curve, {ac2, ac1, a1}},
      {PathElement::Line, {a0}},
  };
  EXPECT_EQ(elementsOf(reversed), expected);
  EXPECT_EQ(reversed.lineWidth(), 6);
}

TEST(BezierPathReverse, ReversingTwiceGivesTheOriginal) {
  BezierPath shapes = twoOpenOneClosed();
  shapes.appendPath(BezierPath::ovalInRect(Rect(0, 0, 8, 4)));
  shapes.appendPath(BezierPath::roundedRect(Rect(30, 30, 10, 10), 2, 2));
  shapes.moveTo({7, 7});
  EXPECT_EQ(shapes.bezierPathByReversingPath().bezierPathByReversingPath(), shapes);
}

TEST(BezierPathReverse, ClosedSubpathsTurnTheOtherWay) {
  const BezierPath oval = BezierPath::ovalInRect(Rect(0, 0, 20, 10)).bezierPathByFlatteningPath();
  const BezierPath reversed =
      BezierPath::ovalInRect(Rect(0, 0, 20, 10)).bezierPathByReversingPath().bezierPathByFlatteningPath();
  const double forward = testing::signedArea(testing::ringsOfFlatPath(oval));
  const double backward = testing::signedArea(testing::ringsOfFlatPath(reversed));
  EXPECT_GT(forward, 150);
  EXPECT_NEAR(backward, -forward, 1e-9);
}

TEST(BezierPathReverse, ExplicitClosingSegmentAndLoneMovesSurvive) {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({4, 0});
  path.lineTo({0, 4});
  path.lineTo({0, 0});
  path.closePath();
  path.moveTo({9, 9});
  const std::vector<Element> expected = {
      {PathElement::Move, {{9, 9}}}, {PathElement::Move, {{0, 0}}}, {PathElement::Line, {{0, 4}}},
      {PathElement::Line, {{4, 0}}}, {PathElement::Line, {{0, 0}}}, {PathElement::Close, {}},
  };
  EXPECT_EQ(elementsOf(path.bezierPathByReversingPath()), expected);
  EXPECT_EQ(path.bezierPathByReversingPath().bezierPathByReversingPath(), path);
  EXPECT_TRUE(BezierPath().bezierPathByReversingPath().isEmpty());
}

}  // namespace
}  // namespace platform
