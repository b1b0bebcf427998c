#include "document/CMInnerShadow.h"

#include <gtest/gtest.h>

#include "style_canvas.h"

using platform::BezierPath;

namespace {

class InnerShadow : public document_testing::StyleCanvasTest {};

TEST_F(InnerShadow, FallsInsideThePathOnTheOffsetSide) {
  // Offset down by 5: the edge above casts a 5-unit band inside the top of the square.
  fillWithInnerShadow(BezierPath::rect({20, 20, 60, 60}), platform::Shadow{{0, -5}, 0, platform::Color(0, 0, 0, 1)});
  EXPECT_EQ(at(50, 77).a, 255);
  EXPECT_EQ(at(50, 73).a, 0);
  EXPECT_EQ(at(50, 22).a, 0);
  EXPECT_EQ(at(50, 85).a, 0);  // nothing outside the path
  EXPECT_EQ(at(50, 10).a, 0);
}

TEST_F(InnerShadow, SideOffsetShadesTheOtherSide) {
  fillWithInnerShadow(BezierPath::rect({20, 20, 60, 60}), platform::Shadow{{4, 0}, 0, platform::Color(0, 0, 0, 1)});
  EXPECT_EQ(at(22, 50).a, 255);
  EXPECT_EQ(at(26, 50).a, 0);
  EXPECT_EQ(at(78, 50).a, 0);
}

TEST_F(InnerShadow, ContextIsLeftAsItWas) {
  context().setFillColor(platform::Color(0, 0, 1, 1));
  fillWithInnerShadow(BezierPath::rect({20, 20, 60, 60}), platform::Shadow{{0, -5}, 2, platform::Color(0, 0, 0, 1)});
  EXPECT_FALSE(context().shadow().has_value());
  context().fillPath(BezierPath::rect({150, 0, 50, 100}));
  EXPECT_EQ(at(175, 50).b, 255);
}

TEST(InnerShadowFlipped, FollowsTheFlippedCoordinates) {
  platform::testing::GraphicsCanvas canvas(100, 100, true);
  platform::CurrentContextScope scope(canvas.context());
  // Offset down in the base space; in a flipped view, device row 0 is user y 0 (the top).
  fillWithInnerShadow(BezierPath::rect({20, 20, 60, 60}), platform::Shadow{{0, -5}, 0, platform::Color(0, 0, 0, 1)});
  EXPECT_EQ(canvas.at(50, 22).a, 255);
  EXPECT_EQ(canvas.at(50, 27).a, 0);
  EXPECT_EQ(canvas.at(50, 77).a, 0);
}

}  // namespace
