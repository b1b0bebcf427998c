#include "platform/graphics/graphics_context.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics_test_canvas.h"

namespace platform {
namespace {

using testing::GraphicsCanvas;

TEST(GraphicsContextOrientation, UnflippedOriginIsBottomLeftWithYUp) {
  GraphicsCanvas canvas(10, 10);
  canvas.context().fillPath(BezierPath::rect({0, 0, 2, 3}));
  EXPECT_EQ(canvas.at(0, 9).a, 255);  // bottom-left device pixel
  EXPECT_EQ(canvas.at(1, 7).a, 255);
  EXPECT_EQ(canvas.at(1, 6).a, 0);  // y = 3 is the top edge, three rows up
  EXPECT_EQ(canvas.at(0, 0).a, 0);
  EXPECT_FALSE(canvas.context().isFlipped());
  EXPECT_EQ(canvas.context().currentTransform(), AffineTransform::identity());
}

TEST(GraphicsContextOrientation, FlippedOriginIsTopLeftWithYDown) {
  GraphicsCanvas canvas(10, 10, true);
  canvas.context().fillPath(BezierPath::rect({0, 0, 2, 3}));
  EXPECT_EQ(canvas.at(0, 0).a, 255);
  EXPECT_EQ(canvas.at(1, 2).a, 255);
  EXPECT_EQ(canvas.at(1, 3).a, 0);
  EXPECT_EQ(canvas.at(0, 9).a, 0);
  EXPECT_TRUE(canvas.context().isFlipped());
  // User space is base space turned over about the surface's height.
  EXPECT_EQ(canvas.context().currentTransform(), (AffineTransform{1, 0, 0, -1, 0, 10}));
}

TEST(GraphicsContextOrientation, AdoptedContextBuildsOnItsExistingTransform) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, 10, 0);  // a window handing over its right half
  {
    GraphicsContext gc(cr, 20);
    gc.fillPath(BezierPath::rect({0, 0, 1, 1}));
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
  const int stride = cairo_image_surface_get_stride(surface) / 4;
  EXPECT_EQ(data[19 * stride + 10] >> 24, 255u);
  EXPECT_EQ(data[19 * stride + 0] >> 24, 0u);
  cairo_surface_destroy(surface);
}

TEST(GraphicsContextStack, PushPopAndScopeTrackTheCurrentContext) {
  GraphicsCanvas a(2, 2), b(2, 2);
  EXPECT_EQ(GraphicsContext::current(), nullptr);
  GraphicsContext::push(a.context());
  {
    CurrentContextScope scope(b.context());
    EXPECT_EQ(GraphicsContext::current(), &b.context());
  }
  EXPECT_EQ(GraphicsContext::current(), &a.context());
  GraphicsContext::pop();
  EXPECT_EQ(GraphicsContext::current(), nullptr);
  GraphicsContext::pop();  // an extra pop is harmless
  EXPECT_EQ(GraphicsContext::current(), nullptr);
}

TEST(GraphicsContextStack, ADestroyedContextLeavesTheStack) {
  GraphicsCanvas outer(2, 2);
  CurrentContextScope scope(outer.context());
  {
    GraphicsCanvas inner(2, 2);
    GraphicsContext::push(inner.context());
    EXPECT_EQ(GraphicsContext::current(), &inner.context());
  }
  EXPECT_EQ(GraphicsContext::current(), &outer.context());
}

TEST(GraphicsContextStack, ColourAndShadowSetIntoTheCurrentContext) {
  GraphicsCanvas canvas(2, 2);
  Color(1, 0, 0, 1).set();  // no current context: nothing happens
  CurrentContextScope scope(canvas.context());
  Color(0, 1, 0, 1).set();
  EXPECT_EQ(canvas.context().fillColor(), Color(0, 1, 0, 1));
  EXPECT_EQ(canvas.context().strokeColor(), Color(0, 1, 0, 1));
  Color(0, 0, 1, 1).setStroke();
  EXPECT_EQ(canvas.context().fillColor(), Color(0, 1, 0, 1));
  EXPECT_EQ(canvas.context().strokeColor(), Color(0, 0, 1, 1));
  Color(1, 1, 0, 1).setFill();
  EXPECT_EQ(canvas.context().fillColor(), Color(1, 1, 0, 1));
  const Shadow shadow{{2, -3}, 4, Color(0, 0, 0, 0.5)};
  shadow.set();
  EXPECT_EQ(canvas.context().shadow(), shadow);
}

TEST(GraphicsContextState, SaveAndRestoreRoundTripEveryPiece) {
  GraphicsCanvas canvas(10, 10);
  GraphicsContext& gc = canvas.context();
  gc.saveGraphicsState();
  gc.setFillColor(Color(1, 0, 0, 1));
  gc.setStrokeColor(Color(0, 1, 0, 0.5));
  gc.setShadow(Shadow{{1, 1}, 2, Color(0, 0, 1, 1)});
  gc.setBlendMode(BlendMode::Multiply);
  gc.setAlpha(0.25);
  gc.setShouldAntialias(false);
  gc.translateCTM(3, 4);
  gc.clipToRect({0, 0, 2, 2});
  EXPECT_EQ(cairo_get_antialias(gc.cairo()), CAIRO_ANTIALIAS_NONE);
  EXPECT_EQ(gc.clipBoundingBox(), Rect(0, 0, 2, 2));

  gc.saveGraphicsState();
  gc.setFillColor(Color(0, 0, 1, 1));
  gc.setBlendMode(BlendMode::Screen);
  gc.scaleCTM(2, 2);
  gc.restoreGraphicsState();
  EXPECT_EQ(gc.fillColor(), Color(1, 0, 0, 1));
  EXPECT_EQ(gc.blendMode(), BlendMode::Multiply);
  EXPECT_EQ(gc.currentTransform(), (AffineTransform{1, 0, 0, 1, 3, 4}));

  gc.restoreGraphicsState();
  EXPECT_EQ(gc.fillColor(), Color(0, 0, 0, 1));
  EXPECT_EQ(gc.strokeColor(), Color(0, 0, 0, 1));
  EXPECT_FALSE(gc.shadow().has_value());
  EXPECT_EQ(gc.blendMode(), BlendMode::Normal);
  EXPECT_EQ(gc.alpha(), 1);
  EXPECT_TRUE(gc.shouldAntialias());
  EXPECT_EQ(cairo_get_antialias(gc.cairo()), CAIRO_ANTIALIAS_DEFAULT);
  EXPECT_EQ(gc.currentTransform(), AffineTransform::identity());
  EXPECT_EQ(gc.clipBoundingBox(), Rect(0, 0, 10, 10));
}

TEST(GraphicsContextState, UnbalancedRestoreDoesNothing) {
  GraphicsCanvas canvas(4, 4);
  GraphicsContext& gc = canvas.context();
  gc.setAlpha(0.5);
  gc.restoreGraphicsState();
  EXPECT_EQ(gc.alpha(), 0.5);
  EXPECT_EQ(cairo_status(gc.cairo()), CAIRO_STATUS_SUCCESS);
}

TEST(GraphicsContextState, HostileValuesNeverReachCairo) {
  GraphicsCanvas canvas(4, 4);
  GraphicsContext& gc = canvas.context();
  const double nan = std::nan("");
  gc.translateCTM(nan, 1);
  gc.scaleCTM(0, 1);
  gc.scaleCTM(INFINITY, 1);
  gc.rotateCTM(nan);
  gc.concatCTM(AffineTransform{0, 0, 0, 0, 1, 1});
  gc.setAlpha(nan);
  EXPECT_EQ(gc.alpha(), 1);
  gc.setAlpha(7);
  EXPECT_EQ(gc.alpha(), 1);
  gc.setAlpha(-1);
  EXPECT_EQ(gc.alpha(), 0);
  gc.setAlpha(1);
  gc.setShadow(Shadow{{nan, 1}, INFINITY, Color(0, 0, 0, 1)});
  BezierPath bad;
  bad.moveTo({0, 0});
  bad.lineTo({nan, 3});
  bad.lineTo({3, 3});
  gc.fillPath(bad);
  gc.strokePath(bad);
  gc.rectFill({0, 0, nan, 2});
  gc.fillPath(BezierPath::rect({0, 0, 1, 1}));
  EXPECT_EQ(cairo_status(gc.cairo()), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(gc.currentTransform(), AffineTransform::identity());
  EXPECT_EQ(canvas.at(0, 3).a, 255);  // drawing still works afterwards
  gc.clipToPath(bad);                 // encloses nothing
  EXPECT_EQ(cairo_status(gc.cairo()), CAIRO_STATUS_SUCCESS);
  gc.fillPath(BezierPath::rect({0, 0, 4, 4}));
  EXPECT_EQ(canvas.at(3, 0).a, 0);
}

TEST(GraphicsContextClip, EvenOddAndNonZeroDifferOnARing) {
  BezierPath ring = BezierPath::rect({0, 0, 10, 10});
  ring.appendPath(BezierPath::rect({3, 3, 4, 4}));  // same direction: a hole only under even-odd
  for (WindingRule rule : {WindingRule::NonZero, WindingRule::EvenOdd}) {
    GraphicsCanvas canvas(10, 10);
    GraphicsContext& gc = canvas.context();
    gc.clipToPath(ring, rule);
    gc.fillPath(BezierPath::rect({0, 0, 10, 10}));
    EXPECT_EQ(canvas.at(1, 1).a, 255);
    EXPECT_EQ(canvas.at(5, 5).a, rule == WindingRule::EvenOdd ? 0 : 255);
  }
}

// Far past Cairo's fixed-point range a clip path never reaches Cairo's clipper: nothing is drawn, and the
// context stays usable once the state is restored.
TEST(GraphicsContextClip, PathFarOffTheSurfaceClipsEverythingAway) {
  GraphicsCanvas canvas(10, 10);
  GraphicsContext& gc = canvas.context();
  gc.saveGraphicsState();
  gc.translateCTM(-3.7e19, 0);
  gc.clipToPath(BezierPath::rect({0, 0, 10, 10}));
  gc.translateCTM(3.7e19, 0);
  gc.fillPath(BezierPath::rect({0, 0, 10, 10}));
  EXPECT_EQ(canvas.at(5, 5).a, 0);
  gc.restoreGraphicsState();
  EXPECT_EQ(cairo_status(gc.cairo()), CAIRO_STATUS_SUCCESS);
  gc.clipToPath(BezierPath::rect({0, 0, 4, 10}));
  gc.fillPath(BezierPath::rect({0, 0, 10, 10}));
  EXPECT_EQ(canvas.at(2, 5).a, 255);
  EXPECT_EQ(canvas.at(7, 5).a, 0);
}

TEST(GraphicsContextClip, BoundingBoxIsInUserSpace) {
  GraphicsCanvas canvas(20, 20);
  GraphicsContext& gc = canvas.context();
  gc.clipToRect({2, 4, 6, 8});
  gc.scaleCTM(2, 2);
  EXPECT_EQ(gc.clipBoundingBox(), Rect(1, 2, 3, 4));
}

TEST(GraphicsContextFill, RectFillCopiesInsteadOfBlending) {
  GraphicsCanvas canvas(4, 4);
  canvas.paintBackdrop(1, 1, 1, 1);
  GraphicsContext& gc = canvas.context();
  gc.setFillColor(Color(1, 0, 0, 0.5));
  gc.rectFill({0, 0, 2, 4});
  const auto left = canvas.at(0, 0);
  EXPECT_EQ(left.a, 128);
  EXPECT_EQ(left.r, 128);
  EXPECT_EQ(left.g, 0);
  EXPECT_EQ(canvas.at(3, 0).a, 255);  // outside the rectangle: untouched
  EXPECT_EQ(canvas.at(3, 0).g, 255);
}

TEST(GraphicsContextFill, AntialiasingOffGivesHardEdges) {
  for (bool antialias : {true, false}) {
    GraphicsCanvas canvas(4, 4);
    GraphicsContext& gc = canvas.context();
    gc.setShouldAntialias(antialias);
    gc.fillPath(BezierPath::rect({0.5, 0, 3, 4}));
    const int edge = canvas.at(0, 1).a;
    if (antialias) {
      EXPECT_NEAR(edge, 128, 1);
    } else {
      EXPECT_TRUE(edge == 0 || edge == 255) << edge;
    }
  }
}

TEST(GraphicsContextFill, StrokeUsesTheStrokeColourAndTheFillTheFillColour) {
  GraphicsCanvas canvas(12, 12);
  GraphicsContext& gc = canvas.context();
  gc.setFillColor(Color(0, 0, 1, 1));
  gc.setStrokeColor(Color(1, 0, 0, 1));
  BezierPath square = BezierPath::rect({2, 2, 8, 8});
  square.setLineWidth(2);
  gc.fillPath(square);
  gc.strokePath(square);
  EXPECT_EQ(canvas.at(6, 6).b, 255);  // interior
  EXPECT_EQ(canvas.at(6, 6).r, 0);
  EXPECT_EQ(canvas.at(6, 2).r, 255);  // on the top edge line (y = 10 in y-up space)
  EXPECT_EQ(canvas.at(6, 0).a, 0);
}

TEST(GraphicsContextFill, GlobalAlphaScalesEveryDraw) {
  GraphicsCanvas canvas(4, 4);
  GraphicsContext& gc = canvas.context();
  gc.setAlpha(0.5);
  gc.fillPath(BezierPath::rect({0, 0, 4, 4}));
  EXPECT_NEAR(canvas.at(2, 2).a, 128, 1);
}

}  // namespace
}  // namespace platform
