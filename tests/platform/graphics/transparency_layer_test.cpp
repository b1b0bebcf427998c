#include <gtest/gtest.h>

#include "graphics_test_canvas.h"
#include "platform/graphics/graphics_context.h"

namespace platform {
namespace {

using testing::GraphicsCanvas;

// Two overlapping opaque squares: (1,1)–(6,6) and (4,4)–(9,9) in y-up space.
void drawOverlappingSquares(GraphicsContext& gc) {
  gc.fillPath(BezierPath::rect({1, 1, 5, 5}));
  gc.fillPath(BezierPath::rect({4, 4, 5, 5}));
}

TEST(TransparencyLayer, AlphaAppliesOnceToTheWholeGroup) {
  GraphicsCanvas canvas(10, 10);
  GraphicsContext& gc = canvas.context();
  gc.setAlpha(0.5);
  gc.setFillColor(Color(1, 0, 0, 1));
  gc.beginTransparencyLayer();
  EXPECT_EQ(gc.alpha(), 1);
  drawOverlappingSquares(gc);
  gc.endTransparencyLayer();
  EXPECT_EQ(gc.alpha(), 0.5);
  // Device rows count down: y-up (2,2) is pixel (2,7); the overlap (5,5) is pixel (5,4).
  const int single = canvas.at(2, 7).a;
  const int overlap = canvas.at(5, 4).a;
  EXPECT_NEAR(single, 128, 1);
  EXPECT_EQ(single, overlap);
  EXPECT_EQ(canvas.at(8, 1).a, single);
  EXPECT_EQ(canvas.at(0, 0).a, 0);
}

TEST(TransparencyLayer, WithoutALayerTheOverlapDarkens) {
  // The contrast that makes the layer test meaningful: each fill takes the alpha separately.
  GraphicsCanvas canvas(10, 10);
  GraphicsContext& gc = canvas.context();
  gc.setAlpha(0.5);
  drawOverlappingSquares(gc);
  EXPECT_NEAR(canvas.at(2, 7).a, 128, 1);
  EXPECT_NEAR(canvas.at(5, 4).a, 191, 1);
}

TEST(TransparencyLayer, InsideIsNormalBlendingWithoutShadow) {
  GraphicsCanvas canvas(10, 10);
  canvas.paintBackdrop(0.5, 0.5, 0.5, 1);
  GraphicsContext& gc = canvas.context();
  gc.setBlendMode(BlendMode::Multiply);
  gc.setShadow(Shadow{{0, -3}, 0, Color(0, 0, 0, 1)});
  gc.beginTransparencyLayer();
  EXPECT_EQ(gc.blendMode(), BlendMode::Normal);
  EXPECT_FALSE(gc.shadow().has_value());
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.fillPath(BezierPath::rect({0, 5, 10, 5}));  // top half, white
  gc.setShadow(Shadow{{0, -1}, 0, Color(0, 0, 0, 1)});
  gc.endTransparencyLayer();
  EXPECT_EQ(gc.blendMode(), BlendMode::Multiply);
  ASSERT_TRUE(gc.shadow().has_value());
  EXPECT_EQ(gc.shadow()->offset.height, -3);  // state from inside the layer does not leak out
  // Multiplied at the end: white × grey stays grey, the shadow (black) multiplies to black three rows below.
  EXPECT_NEAR(canvas.at(5, 2).r, 128, 1);
  EXPECT_EQ(canvas.at(5, 7).r, 0);   // y-up 2: under the shadow of the top half moved down by 3
  EXPECT_NEAR(canvas.at(5, 9).r, 128, 1);  // y-up 0: below the shadow
}

TEST(TransparencyLayer, CastsOneShadowAtItsEnd) {
  GraphicsCanvas canvas(12, 12);
  GraphicsContext& gc = canvas.context();
  gc.setShadow(Shadow{{3, 0}, 0, Color(0, 0, 0, 0.5)});
  gc.setFillColor(Color(1, 1, 1, 1));
  gc.beginTransparencyLayer();
  gc.fillPath(BezierPath::rect({0, 0, 4, 12}));
  gc.fillPath(BezierPath::rect({2, 0, 4, 12}));
  gc.endTransparencyLayer();
  // Shadow of the union (x 0–6) moved right by 3 shows at x 6–9 at a single 50 % strength.
  EXPECT_NEAR(canvas.at(7, 6).a, 128, 1);
  EXPECT_EQ(canvas.at(7, 6).r, 0);
  EXPECT_EQ(canvas.at(10, 6).a, 0);
  EXPECT_EQ(canvas.at(4, 6).r, 255);  // the content itself, above its shadow
}

TEST(TransparencyLayer, ClipInForceAtBeginBoundsTheResult) {
  GraphicsCanvas canvas(10, 10);
  GraphicsContext& gc = canvas.context();
  gc.saveGraphicsState();
  gc.clipToRect({0, 0, 5, 10});
  gc.beginTransparencyLayer();
  gc.fillPath(BezierPath::rect({0, 0, 10, 10}));
  gc.endTransparencyLayer();
  gc.restoreGraphicsState();
  EXPECT_EQ(canvas.at(2, 5).a, 255);
  EXPECT_EQ(canvas.at(7, 5).a, 0);
  EXPECT_EQ(gc.clipBoundingBox(), Rect(0, 0, 10, 10));
}

TEST(TransparencyLayer, NestsAndToleratesUnbalancedCalls) {
  GraphicsCanvas canvas(10, 10);
  GraphicsContext& gc = canvas.context();
  gc.endTransparencyLayer();  // nothing to end
  gc.setAlpha(0.5);
  gc.beginTransparencyLayer();
  gc.setAlpha(0.5);
  gc.beginTransparencyLayer();
  gc.saveGraphicsState();  // never restored: ends with the layer
  gc.translateCTM(100, 100);
  drawOverlappingSquares(gc);  // off the surface: checks the translation was undone below
  gc.restoreGraphicsState();
  gc.restoreGraphicsState();  // would reach past the layer: ignored
  gc.saveGraphicsState();
  gc.endTransparencyLayer();
  EXPECT_EQ(gc.alpha(), 0.5);  // as it was when the inner layer began
  gc.setAlpha(1);
  drawOverlappingSquares(gc);
  gc.endTransparencyLayer();
  EXPECT_EQ(cairo_status(gc.cairo()), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(gc.currentTransform(), AffineTransform::identity());
  // The inner layer's content was off the surface; the outer holds the squares at 0.5 × 1.
  EXPECT_NEAR(canvas.at(2, 7).a, 128, 1);
  EXPECT_EQ(canvas.at(5, 4).a, canvas.at(2, 7).a);
}

}  // namespace
}  // namespace platform
