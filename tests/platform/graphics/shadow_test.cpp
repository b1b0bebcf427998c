#include "platform/graphics/shadow.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics_test_canvas.h"
#include "platform/graphics/graphics_context.h"

namespace platform {
namespace {

using testing::GraphicsCanvas;
using testing::Pixel;

const Shadow kHardShadowUp{{0, 5}, 0, Color(0, 0, 0, 1)};

// A white square whose device pixels are columns 8–11, rows 8–11 in every case below.
void expectShadowAboveSquare(const GraphicsCanvas& canvas) {
  EXPECT_EQ(canvas.at(9, 9).r, 255);  // the square itself
  EXPECT_EQ(canvas.at(9, 4).a, 255);  // its shadow, five pixels higher on screen
  EXPECT_EQ(canvas.at(9, 4).r, 0);
  EXPECT_EQ(canvas.at(9, 3).a, 255);
  EXPECT_EQ(canvas.at(9, 2).a, 0);
  EXPECT_EQ(canvas.at(9, 13).a, 0);  // nothing below
  EXPECT_EQ(canvas.at(13, 9).a, 0);  // nor beside
}

TEST(ShadowOffset, PositiveHeightMovesUpInYUpSpace) {
  GraphicsCanvas canvas(20, 20);
  GraphicsContext& gc = canvas.context();
  gc.setShadow(kHardShadowUp);
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.fillPath(BezierPath::rect({8, 8, 4, 4}));
  expectShadowAboveSquare(canvas);
}

TEST(ShadowOffset, PositiveHeightStillMovesUpOnScreenInAFlippedContext) {
  GraphicsCanvas canvas(20, 20, true);
  GraphicsContext& gc = canvas.context();
  gc.setShadow(kHardShadowUp);
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.fillPath(BezierPath::rect({8, 8, 4, 4}));
  expectShadowAboveSquare(canvas);
}

TEST(ShadowOffset, IgnoresTheCTM) {
  GraphicsCanvas canvas(20, 20);
  GraphicsContext& gc = canvas.context();
  gc.scaleCTM(2, -2);  // scaled and turned over: the shadow must not follow
  gc.translateCTM(0, -10);
  gc.setShadow(kHardShadowUp);
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.fillPath(BezierPath::rect({4, 4, 2, 2}));
  expectShadowAboveSquare(canvas);
}

TEST(ShadowOffset, WidthMovesRight) {
  GraphicsCanvas canvas(20, 20);
  GraphicsContext& gc = canvas.context();
  gc.setShadow(Shadow{{5, 0}, 0, Color(0, 0, 0, 1)});
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.fillPath(BezierPath::rect({8, 8, 4, 4}));
  EXPECT_EQ(canvas.at(14, 9).a, 255);
  EXPECT_EQ(canvas.at(14, 9).r, 0);
  EXPECT_EQ(canvas.at(6, 9).a, 0);
}

TEST(ShadowOffset, ContentOutsideTheClipStillCastsIntoIt) {
  GraphicsCanvas canvas(20, 20);
  GraphicsContext& gc = canvas.context();
  gc.clipToRect({0, 0, 10, 20});
  gc.setShadow(Shadow{{-6, 0}, 0, Color(0, 0, 0, 1)});
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.fillPath(BezierPath::rect({12, 8, 4, 4}));
  EXPECT_EQ(canvas.at(8, 9).a, 255);   // shadow of x 12–16 lands at 6–10
  EXPECT_EQ(canvas.at(13, 9).a, 0);    // the square itself is clipped away
}

// Offsets and blurs from a foreign file can lie far past any integer: the shadow then simply lands nowhere.
TEST(ShadowOffset, FarBeyondTheIntegersCastsNothingVisible) {
  const Color black(0, 0, 0, 1);
  for (const Shadow& shadow :
       {Shadow{{1e300, -1e300}, 0, black}, Shadow{{-1e300, 1e300}, 1e300, black}, Shadow{{3, 3}, 1e300, black}}) {
    GraphicsCanvas canvas(20, 20);
    GraphicsContext& gc = canvas.context();
    gc.setShadow(shadow);
    gc.setFillColor(Color(1, 1, 1, 1));
    gc.fillPath(BezierPath::rect({8, 8, 4, 4}));
    EXPECT_EQ(canvas.at(9, 9).r, 255);
    EXPECT_EQ(canvas.at(2, 2).a, 0);
    EXPECT_EQ(canvas.at(17, 17).a, 0);
  }
}

// A canvas redraws what changed in small parts; shapes outside a part still cast their blurred shadows into it, and
// the parts together must be the picture drawn at once, to the last bit.
TEST(ShadowOffset, ShadowsDrawnInTilesAreTheShadowsDrawnWhole) {
  constexpr int kWidth = 150;
  constexpr int kHeight = 110;
  const auto drawShapes = [](GraphicsContext& gc) {
    const struct {
      Shadow shadow;
      Rect oval;
    } shapes[] = {{Shadow{{9, -6}, 4, Color(0, 0, 0.5, 0.8)}, {10, 12, 40, 30}},
                  {Shadow{{-12, 7}, 11, Color(0.6, 0, 0, 1)}, {70, 40, 35, 50}},
                  {Shadow{{20, 15}, 29, Color(0, 0, 0, 0.7)}, {100, 5, 30, 25}},
                  {Shadow{{3, 3}, 60, Color(0, 0.3, 0, 1)}, {30, 70, 50, 20}}};
    for (const auto& shape : shapes) {
      gc.saveGraphicsState();
      gc.setShadow(shape.shadow);
      gc.setFillColor(Color(1, 0.8, 0.2, 1));
      gc.fillPath(BezierPath::ovalInRect(shape.oval));
      gc.restoreGraphicsState();
    }
  };
  GraphicsCanvas whole(kWidth, kHeight);
  drawShapes(whole.context());
  GraphicsCanvas tiled(kWidth, kHeight);
  for (int y = 0; y < kHeight; y += 13) {
    for (int x = 0; x < kWidth; x += 17) {
      tiled.context().saveGraphicsState();
      tiled.context().clipToRect({double(x), double(y), 17, 13});
      drawShapes(tiled.context());
      tiled.context().restoreGraphicsState();
    }
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Pixel a = tiled.at(x, y);
      const Pixel b = whole.at(x, y);
      ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a) << "at " << x << ", " << y;
    }
  }
}

TEST(ShadowSpread, FollowsAGaussianOfHalfTheBlurRadius) {
  constexpr double kBlurRadius = 8, kSigma = kBlurRadius / 2;
  GraphicsCanvas canvas(60, 20);
  GraphicsContext& gc = canvas.context();
  gc.setShadow(Shadow{{0, 0}, kBlurRadius, Color(0, 0, 0, 1)});
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.fillPath(BezierPath::rect({-100, -100, 130, 300}));  // right edge at x = 30, no other edge in view
  for (int k : {0, 1, 2, 4, 6, 9}) {
    const double distance = k + 0.5;
    const double expected = 0.5 * std::erfc(distance / (kSigma * std::sqrt(2.0)));
    EXPECT_NEAR(canvas.at(30 + k, 10).a / 255.0, expected, 0.03 + 1 / 255.0) << "distance " << distance;
    EXPECT_EQ(canvas.at(30 + k, 10).r, 0);
  }
  EXPECT_EQ(canvas.at(29, 10).r, 255);
  EXPECT_EQ(canvas.at(59, 10).a, 0);
}

TEST(ShadowSpread, BlurRadiusIsInDeviceSpace) {
  // The same shadow under a 3× CTM spreads the same number of pixels.
  GraphicsCanvas plain(60, 20), scaled(60, 20);
  for (GraphicsCanvas* canvas : {&plain, &scaled}) {
    GraphicsContext& gc = canvas->context();
    if (canvas == &scaled) gc.scaleCTM(3, 3);
    const double unit = canvas == &scaled ? 1.0 / 3 : 1;
    gc.setShadow(Shadow{{0, 0}, 6, Color(0, 0, 0, 1)});
    gc.fillPath(BezierPath::rect({-100 * unit, -100 * unit, 130 * unit, 300 * unit}));
  }
  for (int x = 30; x < 40; ++x) EXPECT_NEAR(plain.at(x, 10).a, scaled.at(x, 10).a, 1) << x;
}

TEST(ShadowColour, TintsAndScalesWithAlpha) {
  GraphicsCanvas canvas(20, 20);
  GraphicsContext& gc = canvas.context();
  gc.setAlpha(0.5);
  gc.setShadow(Shadow{{0, 5}, 0, Color(0, 0, 1, 0.5)});
  gc.fillPath(BezierPath::rect({8, 8, 4, 4}));
  const auto shadow = canvas.at(9, 4);
  EXPECT_NEAR(shadow.a, 64, 1);
  EXPECT_NEAR(shadow.b, 64, 1);
  EXPECT_EQ(shadow.r, 0);
}

TEST(ShadowColour, DefaultsToOneThirdBlack) {
  const Shadow shadow;
  EXPECT_EQ(shadow.color, Color(0, 0, 0, 1.0 / 3.0));
  EXPECT_EQ(shadow.offset, Size{});
  EXPECT_EQ(shadow.blurRadius, 0);
}

}  // namespace
}  // namespace platform
