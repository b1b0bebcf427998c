#include "platform/graphics/gradient.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics_test_canvas.h"
#include "platform/graphics/graphics_context.h"

namespace platform {
namespace {

using testing::GraphicsCanvas;

const GradientStop kRed{0, 1, 0, 0, 1};
const GradientStop kBlue{1, 0, 0, 1, 1};

TEST(GradientStops, SortedByLocationWithEqualLocationsInTheOrderGiven) {
  const Gradient g({{0.5, 0, 0, 1, 1}, {1, 1, 1, 1, 1}, {0.5, 1, 0, 0, 1}, {0, 0, 0, 0, 1}});
  ASSERT_EQ(g.stops().size(), 4u);
  EXPECT_EQ(g.stops()[0].location, 0);
  EXPECT_EQ(g.stops()[1].blue, 1);  // the first given at 0.5
  EXPECT_EQ(g.stops()[2].red, 1);   // the second given at 0.5
  EXPECT_EQ(g.stops()[3].location, 1);
}

TEST(GradientStops, HostileStopsAreClampedOrDropped) {
  const Gradient g({{NAN, 1, 1, 1, 1}, {-3, 2, -1, NAN, 0.5}, {INFINITY, 0, 0, 0, 1}, {9, 0, 1, 0, 1}});
  ASSERT_EQ(g.stops().size(), 2u);
  EXPECT_EQ(g.stops()[0], (GradientStop{0, 1, 0, 0, 0.5}));
  EXPECT_EQ(g.stops()[1], (GradientStop{1, 0, 1, 0, 1}));
}

TEST(GradientLinear, PadsBeforeTheStartAndAfterTheEnd) {
  GraphicsCanvas canvas(20, 4);
  const Gradient g({kRed, kBlue});
  g.drawLinear(canvas.context(), {5, 0}, {15, 0});
  EXPECT_EQ(canvas.at(0, 1).r, 255);
  EXPECT_EQ(canvas.at(0, 1).b, 0);
  EXPECT_EQ(canvas.at(19, 1).b, 255);
  EXPECT_EQ(canvas.at(19, 1).r, 0);
  // Pixel 9's centre is 4.5/10 of the way along.
  EXPECT_NEAR(canvas.at(9, 1).r, 0.55 * 255, 2);
  EXPECT_NEAR(canvas.at(9, 1).b, 0.45 * 255, 2);
}

TEST(GradientLinear, EqualLocationsMakeAHardEdgeInOrder) {
  GraphicsCanvas canvas(20, 4);
  // Black to red up to the middle, then blue to white: the order at 0.5 decides each side.
  const Gradient g({{0, 0, 0, 0, 1}, {0.5, 1, 0, 0, 1}, {0.5, 0, 0, 1, 1}, {1, 1, 1, 1, 1}});
  g.drawLinear(canvas.context(), {0, 0}, {20, 0});
  const auto left = canvas.at(9, 1), right = canvas.at(10, 1);
  EXPECT_NEAR(left.r, 9.5 / 10 * 255, 2);
  EXPECT_EQ(left.b, 0);
  EXPECT_EQ(right.b, 255);
  EXPECT_NEAR(right.r, 0.5 / 10 * 255, 2);
}

TEST(GradientLinear, PaintsOnlyWithinTheClip) {
  GraphicsCanvas canvas(10, 10);
  canvas.context().clipToRect({0, 0, 10, 5});
  Gradient({kRed, kBlue}).drawLinear(canvas.context(), {0, 0}, {10, 0});
  EXPECT_EQ(canvas.at(5, 7).a, 255);  // y-up 2
  EXPECT_EQ(canvas.at(5, 2).a, 0);    // y-up 7
}

TEST(GradientRadial, CentreColourInsideAndPadOutside) {
  GraphicsCanvas canvas(21, 21);
  Gradient({kRed, kBlue}).drawRadial(canvas.context(), {10.5, 10.5}, 0, {10.5, 10.5}, 6);
  EXPECT_GT(canvas.at(10, 10).r, 240);
  EXPECT_EQ(canvas.at(0, 0).b, 255);  // beyond the end circle: padded
  // 4 px from the centre along a row: two thirds of the way.
  EXPECT_NEAR(canvas.at(14, 10).b, 4.0 / 6 * 255, 2);
}

TEST(GradientRadial, NegativeOrNonFiniteRadiiDrawNothing) {
  GraphicsCanvas canvas(4, 4);
  const Gradient g({kRed, kBlue});
  g.drawRadial(canvas.context(), {2, 2}, -1, {2, 2}, 3);
  g.drawRadial(canvas.context(), {2, 2}, 0, {2, 2}, NAN);
  g.drawLinear(canvas.context(), {NAN, 0}, {1, 1});
  EXPECT_EQ(canvas.at(2, 2).a, 0);
  EXPECT_EQ(cairo_status(canvas.context().cairo()), CAIRO_STATUS_SUCCESS);
}

TEST(GradientInRect, AngleNinetyRunsBottomToTopInYUpSpace) {
  GraphicsCanvas canvas(10, 20);
  Gradient(Color(1, 0, 0, 1), Color(0, 0, 1, 1)).drawInRect(canvas.context(), {0, 5, 10, 10}, 90);
  EXPECT_GT(canvas.at(5, 14).r, 240);  // y-up 5.5: bottom of the rect, first colour
  EXPECT_GT(canvas.at(5, 5).b, 240);   // y-up 14.5: top, last colour
  EXPECT_EQ(canvas.at(5, 17).a, 0);    // outside the rect
  EXPECT_EQ(canvas.at(5, 2).a, 0);
}

TEST(GradientInRect, DiagonalAngleReachesTheCorners) {
  GraphicsCanvas canvas(10, 10);
  Gradient(Color(1, 0, 0, 1), Color(0, 0, 1, 1)).drawInRect(canvas.context(), {0, 0, 10, 10}, 45);
  // Bottom-left corner pixel's centre sits 0.5·√2 along a 10·√2 axis: 5 % of the way.
  EXPECT_NEAR(canvas.at(0, 9).r, 0.95 * 255, 2);
  EXPECT_NEAR(canvas.at(9, 0).b, 0.95 * 255, 2);
  EXPECT_NEAR(canvas.at(9, 9).r, canvas.at(0, 0).r, 1);  // the other diagonal is the midline
}

TEST(GradientInPath, PaintsInsideThePathOnly) {
  GraphicsCanvas canvas(20, 20);
  const BezierPath oval = BezierPath::ovalInRect({0, 0, 20, 20});
  Gradient(Color(1, 0, 0, 1), Color(0, 0, 1, 1)).drawInBezierPath(canvas.context(), oval, 0);
  EXPECT_EQ(canvas.at(0, 0).a, 0);
  EXPECT_EQ(canvas.at(10, 10).a, 255);
  EXPECT_GT(canvas.at(1, 10).r, 220);
  EXPECT_GT(canvas.at(18, 10).b, 220);
}

}  // namespace
}  // namespace platform
