#include <gtest/gtest.h>

#include "document/CMGradient.h"
#include "document/VDGradientDraw.h"
#include "geometry/quartz_path_conversion.h"
#include "style_canvas.h"

using platform::Array;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;

namespace {

// Red at the start, blue at the end.
DictRef redToBlue(int type) {
  return Dictionary::make(
      {{"type", type},
       {"markers", Array::make({Dictionary::make({{"pos", 0}, {"red", 1}, {"green", 0}, {"blue", 0}}),
                                Dictionary::make({{"pos", 1}, {"red", 0}, {"green", 0}, {"blue", 1}})})}});
}

class GradientPaint : public document_testing::StyleCanvasTest {};

TEST_F(GradientPaint, FillRunsAcrossThePathsBoundsInsideThePath) {
  CMGradient::fillGradientPath(context(), BezierPath::rect({50, 0, 100, 50}), redToBlue(0), 1);
  EXPECT_GT(at(55, 25).r, 230);
  EXPECT_LT(at(55, 25).b, 25);
  EXPECT_GT(at(145, 25).b, 230);
  EXPECT_NEAR(at(100, 25).r, 128, 4);
  EXPECT_EQ(at(45, 25).a, 0);
  EXPECT_EQ(at(100, 55).a, 0);
}

TEST_F(GradientPaint, FillAlphaReachesEveryStop) {
  CMGradient::fillGradientPath(context(), BezierPath::rect({0, 0, 200, 100}), redToBlue(0), 0.5f);
  EXPECT_NEAR(at(2, 50).a, 128, 2);
  EXPECT_NEAR(at(198, 50).a, 128, 2);
}

TEST_F(GradientPaint, FillClipsNonZero) {
  // Two squares wound the same way: non-zero fills the inner one too.
  BezierPath path = BezierPath::rect({0, 0, 100, 100});
  path.appendRect({25, 25, 50, 50});
  path.setWindingRule(platform::WindingRule::EvenOdd);
  CMGradient::fillGradientPath(context(), path, redToBlue(0), 1);
  EXPECT_EQ(at(50, 50).a, 255);
}

TEST_F(GradientPaint, RadialIsStretchedWithTheBox) {
  CMGradient::fillGradientPath(context(), BezierPath::rect({0, 0, 200, 100}), redToBlue(1), 1);
  EXPECT_GT(at(100, 50).r, 240);
  // Equal distances from the centre along the ellipse's axes show the same colour.
  EXPECT_NEAR(at(150, 50).r, at(100, 75).r, 6);
  EXPECT_GT(at(150, 50).r, at(100, 90).r);
}

TEST_F(GradientPaint, StrokeSpansTheWidthOfTheStroke) {
  BezierPath line;
  line.moveTo({0, 50});
  line.lineTo({200, 50});
  line.setLineWidth(10);
  CMGradient::strokeGradientPath(context(), line, redToBlue(2), 1);
  EXPECT_GT(at(3, 50).r, 240);
  EXPECT_GT(at(196, 50).b, 240);
  EXPECT_EQ(at(100, 53).a, 255);
  EXPECT_EQ(at(100, 57).a, 0);
}

TEST_F(GradientPaint, UnknownTypeAndMissingStopsPaintNothing) {
  CMGradient::fillGradientPath(context(), BezierPath::rect({0, 0, 200, 100}), redToBlue(7), 1);
  CMGradient::fillGradientPath(context(), BezierPath::rect({0, 0, 200, 100}), Dictionary::make({{"type", 1}}), 1);
  CMGradient::fillGradientPath(context(), BezierPath::rect({0, 0, 0, 100}), redToBlue(1), 1);
  EXPECT_EQ(at(100, 50).a, 0);
  // The clip is gone afterwards.
  context().fillPath(BezierPath::rect({0, 0, 200, 100}));
  EXPECT_EQ(at(199, 99).a, 255);
}

TEST_F(GradientPaint, GradientCastsNoShadowOfItsOwn) {
  context().setShadow(platform::Shadow{{20, -20}, 0, platform::Color(0, 0, 0, 1)});
  CMGradient::fillGradientPath(context(), BezierPath::rect({20, 40, 40, 40}), redToBlue(0), 1);
  EXPECT_EQ(at(50, 50).a, 255);
  EXPECT_EQ(at(70, 30).a, 0);
}

TEST_F(GradientPaint, SwatchFillsTheRectangleOnly) {
  VDGradientDraw::drawGradient(context(), {0, 0, 100, 100}, redToBlue(1), true);
  // Swatches put a midpoint on the first stop (no "mix" counts as 0): an even blend from the start.
  EXPECT_NEAR(at(1, 50).r, 127, 3);
  EXPECT_NEAR(at(1, 50).b, 127, 3);
  EXPECT_GT(at(98, 50).b, 240);
  EXPECT_EQ(at(50, 2).r, at(50, 97).r);  // drawn left to right, not radially
  EXPECT_EQ(at(150, 50).a, 0);
}

TEST_F(GradientPaint, DrawPathClipsToTheGivenPath) {
  const auto path = quartzPath(BezierPath::rect({0, 0, 100, 100}));
  ASSERT_TRUE(path.has_value());
  CMGradient::drawPath(context(), {0, 0, 200, 100}, *path, CMGradient::createGradient(redToBlue(0)), redToBlue(0));
  EXPECT_NEAR(at(99, 50).r, 128, 6);
  EXPECT_EQ(at(150, 50).a, 0);
}

}  // namespace
