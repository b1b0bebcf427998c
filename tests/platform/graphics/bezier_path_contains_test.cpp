#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "curve_sampling.h"
#include "platform/graphics/bezier_path.h"

namespace platform {
namespace {

BezierPath ring(bool holeRunsTheSameWay, WindingRule rule) {
  BezierPath path = BezierPath::ovalInRect(Rect(-10, -10, 20, 20));
  const BezierPath hole = BezierPath::ovalInRect(Rect(-5, -5, 10, 10));
  path.appendPath(holeRunsTheSameWay ? hole : hole.bezierPathByReversingPath());
  path.setWindingRule(rule);
  return path;
}

TEST(BezierPathContains, RingUnderBothWindingRules) {
  for (const bool sameWay : {true, false}) {
    for (const WindingRule rule : {WindingRule::NonZero, WindingRule::EvenOdd}) {
      const BezierPath path = ring(sameWay, rule);
      SCOPED_TRACE(::testing::Message() << "same way " << sameWay << " rule " << static_cast<int>(rule));
      EXPECT_TRUE(path.containsPoint({7.5, 0}));
      EXPECT_TRUE(path.containsPoint({-5.2, -5.2}));
      EXPECT_FALSE(path.containsPoint({7.2, 7.2}));
      EXPECT_FALSE(path.containsPoint({11, 0}));
      const bool holeFilled = sameWay && rule == WindingRule::NonZero;
      EXPECT_EQ(path.containsPoint({0, 0}), holeFilled);
      EXPECT_EQ(path.containsPoint({2, -3}), holeFilled);
    }
  }
}

TEST(BezierPathContains, CurvedEdgesAreFollowedClosely) {
  const BezierPath circle = BezierPath::ovalInRect(Rect(-100, -100, 200, 200));
  for (int degrees = 0; degrees < 360; degrees += 7) {
    const double a = degrees * std::numbers::pi / 180;
    // The cubic quarter circle bulges out by at most 0.03 here; 0.1 clears it and the 0.01 flattening.
    EXPECT_TRUE(circle.containsPoint({99.9 * std::cos(a), 99.9 * std::sin(a)})) << degrees;
    EXPECT_FALSE(circle.containsPoint({100.1 * std::cos(a), 100.1 * std::sin(a)})) << degrees;
  }
}

TEST(BezierPathContains, OpenSubpathIsClosedImplicitly) {
  // A "C": three sides of a square, open on the right.
  BezierPath c;
  c.moveTo({10, 0});
  c.lineTo({0, 0});
  c.lineTo({0, 10});
  c.lineTo({10, 10});
  EXPECT_TRUE(c.containsPoint({5, 5}));
  EXPECT_TRUE(c.containsPoint({9.9, 5}));
  EXPECT_FALSE(c.containsPoint({10.1, 5}));
  EXPECT_FALSE(c.containsPoint({5, 10.1}));
  // An open curve is closed by the chord between its ends.
  BezierPath arch;
  arch.moveTo({0, 0});
  arch.curveTo({100, 0}, {0, 100}, {100, 100});
  EXPECT_TRUE(arch.containsPoint({50, 50}));
  EXPECT_FALSE(arch.containsPoint({50, -1}));
  EXPECT_FALSE(arch.containsPoint({50, 76}));
}

TEST(BezierPathContains, SharedEdgeBelongsToExactlyOneOfTwoNeighbours) {
  const BezierPath left = BezierPath::rect(Rect(0, 0, 10, 10));
  const BezierPath right = BezierPath::rect(Rect(10, 0, 10, 10));
  const BezierPath below = BezierPath::rect(Rect(0, -10, 10, 10));
  for (const Point p : {Point{10, 5}, Point{10, 0.25}}) EXPECT_NE(left.containsPoint(p), right.containsPoint(p));
  for (const Point p : {Point{5, 0}, Point{0.5, 0}}) EXPECT_NE(left.containsPoint(p), below.containsPoint(p));
}

TEST(BezierPathContains, EmptyPathsAndNonFinitePointsContainNothing) {
  EXPECT_FALSE(BezierPath().containsPoint({0, 0}));
  const BezierPath square = BezierPath::rect(Rect(0, 0, 10, 10));
  EXPECT_FALSE(square.containsPoint({std::nan(""), 5}));
  EXPECT_FALSE(square.containsPoint({5, INFINITY}));
}

// A self-crossing star of curves and lines, against winding numbers counted by angle sums
// on a finely flattened copy; points within 0.05 of an edge are skipped.
TEST(BezierPathContains, AgreesWithAnAngleSumOnASelfCrossingShape) {
  BezierPath shape;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-50, 50);
  shape.moveTo({0, 40});
  for (int i = 0; i < 12; ++i) {
    const Point end{coordinate(random), coordinate(random)};
    if (i % 3 == 0) {
      shape.lineTo(end);
    } else {
      shape.curveTo(end, {coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)});
    }
    if (i == 6) shape.moveTo({-20, -20});
  }
  BezierPath fine = shape;
  fine.setFlatness(1e-3);
  const auto rings = testing::ringsOfFlatPath(fine.bezierPathByFlatteningPath());

  int checked = 0, inside = 0, overlapped = 0;
  for (int i = 0; i < 3000; ++i) {
    const Point p{coordinate(random), coordinate(random)};
    bool nearEdge = false;
    for (const auto& r : rings) {
      for (size_t k = 0; k < r.size() && !nearEdge; ++k)
        nearEdge = testing::distanceToSegment(p, r[k], r[(k + 1) % r.size()]) < 0.05;
    }
    if (nearEdge) continue;
    const int winding = testing::windingByAngles(p, rings);
    shape.setWindingRule(WindingRule::NonZero);
    EXPECT_EQ(shape.containsPoint(p), winding != 0) << p.x << ", " << p.y;
    shape.setWindingRule(WindingRule::EvenOdd);
    EXPECT_EQ(shape.containsPoint(p), winding % 2 != 0) << p.x << ", " << p.y;
    ++checked;
    inside += winding != 0;
    overlapped += std::abs(winding) >= 2;
  }
  EXPECT_GT(checked, 2000);
  // Enough covered and doubly covered points for both rules to be exercised.
  EXPECT_GT(inside, 100);
  EXPECT_GT(overlapped, 20);
}

}  // namespace
}  // namespace platform
