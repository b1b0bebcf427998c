#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "curve_sampling.h"
#include "platform/graphics/bezier_path.h"

namespace platform {
namespace {

using testing::Cubic;
using testing::deCasteljau;

// The box of the path sampled densely: lines by their end points, curves at many parameters.
Rect sampledBox(const BezierPath& path) {
  double x0 = std::numeric_limits<double>::infinity(), y0 = x0, x1 = -x0, y1 = -x0;
  const auto add = [&](Point p) {
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  };
  Point points[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    const PathElement kind = path.elementAt(i, points);
    if (kind == PathElement::Move || kind == PathElement::Line) add(points[0]);
  }
  for (const Cubic& c : testing::curvesOf(path)) {
    for (int i = 0; i <= 100000; ++i) add(deCasteljau(c, i / 100000.0));
  }
  return Rect(x0, y0, x1 - x0, y1 - y0);
}

void expectRectNear(const Rect& actual, const Rect& expected, double tolerance) {
  EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
  EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
  EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
  EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

TEST(BezierPathBounds, EmptyPathGivesZeroRectangles) {
  const BezierPath empty;
  EXPECT_EQ(empty.bounds(), Rect());
  EXPECT_EQ(empty.controlPointBounds(), Rect());
}

TEST(BezierPathBounds, BulgingCurveIsTighterThanItsControlPoints) {
  BezierPath path;
  path.moveTo({0, 0});
  path.curveTo({100, 0}, {-30, 100}, {130, 100});
  const Rect tight = path.bounds();
  const Rect loose = path.controlPointBounds();
  EXPECT_EQ(loose, Rect(-30, 0, 160, 100));
  EXPECT_GT(tight.origin.x, loose.origin.x);
  EXPECT_LT(tight.size.width, loose.size.width);
  EXPECT_LT(tight.size.height, loose.size.height);
  // The sampled box can only be smaller, and by less than the sampling step moves the curve.
  expectRectNear(tight, sampledBox(path), 1e-6);
  EXPECT_NEAR(tight.size.height, 75, 1e-12) << "B_y(1/2) = 3/4 of the control height";
}

TEST(BezierPathBounds, CurvesWithTwoExtremaPerAxisAndLinesMatchSampling) {
  BezierPath path;
  path.moveTo({-3, 7});
  path.curveTo({0, 0}, {40, -20}, {-40, 25});  // loops past both ends
  path.lineTo({15, -4});
  path.curveTo({20, 30}, {15, -4}, {20, 30});  // degenerate: a straight curve
  path.closePath();
  path.moveTo({-100, 3});  // a lone move still counts
  expectRectNear(path.bounds(), sampledBox(path), 1e-6);
  EXPECT_EQ(path.bounds().origin.x, -100);
}

TEST(BezierPathBounds, OvalBoundsEqualItsRectangle) {
  for (const Rect r : {Rect(0, 0, 1, 1), Rect(-37.5, 12.25, 200, 3), Rect(1e4, -1e4, 0.01, 500)}) {
    expectRectNear(BezierPath::ovalInRect(r).bounds(), r, 1e-9);
  }
}

TEST(BezierPathBounds, ControlPointBoundsIncludeEveryPoint) {
  BezierPath path;
  path.moveTo({5, 5});
  path.curveTo({6, 6}, {-1, 20}, {9, -3});
  path.closePath();
  EXPECT_EQ(path.controlPointBounds(), Rect(-1, -3, 10, 23));
}

}  // namespace
}  // namespace platform
