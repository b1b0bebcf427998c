// Drawing one layer object: display rectangle, cached and vector drawing, opacity and blend
// mode composited once, rotation, blur, masks and the image cache and its budget.

#include <gtest/gtest.h>

#include <cairo.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/CMCaches.h"
#include "drawing_test_support.h"
#include "platform/graphics/image.h"
#include "platform/graphics/rect_functions.h"
#include "../random_test_seed.h"

namespace {

using document_testing::DrawingCanvasTest;
using document_testing::PaintedLayer;
using document_testing::paintedRecord;
using platform::Dictionary;
using platform::Rect;

void expectPixel(const platform::testing::Pixel& pixel, int r, int g, int b, int a, int tolerance = 2) {
  EXPECT_NEAR(pixel.r, r, tolerance);
  EXPECT_NEAR(pixel.g, g, tolerance);
  EXPECT_NEAR(pixel.b, b, tolerance);
  EXPECT_NEAR(pixel.a, a, tolerance);
}

void expectClear(const platform::testing::Pixel& pixel) { expectPixel(pixel, 0, 0, 0, 0, 0); }

platform::DictRef shadowRecord(bool use, double blur, double dx, double dy) {
  return Dictionary::make({{"use", use}, {"blurRadius", blur}, {"offset_x", dx}, {"offset_y", dy}});
}

// ---- display rectangle ----

TEST(LayerDisplayRect, ShadowMarginBeatsTheStrokeAndScalesWithTheViewZoom) {
  PaintedLayer layer(paintedRecord(1, {10, 20, 30, 40}));
  layer.offset = 3;
  layer.data()->set("shape", Dictionary::make({{"shadow", shadowRecord(true, 4, 2, -6)}}));
  layer.setViewZoom(2);
  float margin = -1;
  const Rect display = layer.findDisplayRect(margin);
  // (2·4 + max(2, 6)) · 2: the stroke's 3 is the smaller.
  EXPECT_FLOAT_EQ(margin, 28);
  EXPECT_EQ(display, Rect(20, 40, 60 + 56, 80 + 56));
}

TEST(LayerDisplayRect, NumberedShadowsCountOnlyWhenUsed) {
  PaintedLayer layer(paintedRecord(1, {0, 0, 10, 10}));
  layer.offset = 5;
  layer.data()->set("shape", Dictionary::make({{"shadow", shadowRecord(false, 50, 0, 0)},
                                               {"shadow3", shadowRecord(true, 1, 7, 2)},
                                               {"shadow9", shadowRecord(true, 0, -4, 0)}}));
  float margin = 0;
  layer.findDisplayRect(margin);
  EXPECT_FLOAT_EQ(margin, 9);  // shadow3: 2 + 7
}

TEST(LayerDisplayRect, StrokeMarginAloneWhenNoShadowIsLarger) {
  PaintedLayer layer(paintedRecord(1, {0, 0, 10, 10}));
  layer.offset = 12;
  layer.data()->set("shape", Dictionary::make({{"shadow", shadowRecord(true, 1, 1, 1)}}));
  float margin = 0;
  EXPECT_EQ(layer.findDisplayRect(margin), Rect(0, 0, 34, 34));
  EXPECT_FLOAT_EQ(margin, 12);
}

TEST(LayerDisplayRect, MaskGetsNoMargin) {
  PaintedLayer layer(paintedRecord(1, {5, 5, 10, 10}));
  layer.offset = 3;
  layer.data()->set("shape", Dictionary::make({{"shadow", shadowRecord(true, 4, 2, -6)}}));
  layer.data()->set("ismask", true);
  float margin = -1;
  EXPECT_EQ(layer.findDisplayRect(margin), Rect(5, 5, 10, 10));
  EXPECT_FLOAT_EQ(margin, 0);
}

TEST(LayerDisplayRect, HostileShadowNumbersLeaveAFiniteMargin) {
  PaintedLayer layer(paintedRecord(1, {0, 0, 10, 10}));
  layer.data()->set("shape", Dictionary::make({{"shadow", shadowRecord(true, 1e38, 1e38, 0)}}));
  layer.setViewZoom(1e30f);
  float margin = -1;
  const Rect display = layer.findDisplayRect(margin);
  EXPECT_TRUE(std::isfinite(margin));
  EXPECT_GE(margin, 0);
  EXPECT_TRUE(std::isfinite(display.size.width));
}

// ---- what gets drawn ----

using LayerDrawingTest = DrawingCanvasTest;

TEST_F(LayerDrawingTest, OpaqueLayerPaintsExactlyItsFrame) {
  PaintedLayer layer(paintedRecord(1, {20, 30, 40, 20}));
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  expectPixel(at(20, 30), 255, 0, 0, 255);
  expectPixel(at(59, 49), 255, 0, 0, 255);
  expectClear(at(19, 30));
  expectClear(at(60, 40));
  expectClear(at(30, 50));
}

TEST_F(LayerDrawingTest, ContentKeepsItsOrientationInUpAndDownCanvases) {
  for (const bool flipped : {false, true}) {
    platform::testing::GraphicsCanvas canvas(kSide, kSide, flipped);
    const platform::CurrentContextScope current(canvas.context());
    for (const bool cached : {false, true}) {
      PaintedLayer layer(paintedRecord(1, {20, 20, 40, 40}));
      layer.pieces = {{0, 0, 40, 10}};  // the quarter at the layer's smallest y
      layer.setVectorViewMode(!cached);
      layer.setDesign(true);
      layer.draw(canvas.context(), {0, 0, kSide, kSide}, true);
      layer.draw(canvas.context(), {0, 0, kSide, kSide}, true);
      // Device rows count from the top: user y grows upward unflipped, downward flipped.
      const int nearRow = flipped ? 25 : kSide - 1 - 25;
      const int farRow = flipped ? 55 : kSide - 1 - 55;
      EXPECT_EQ(canvas.at(30, nearRow).r, 255) << flipped << cached;
      EXPECT_EQ(canvas.at(30, farRow).a, 0) << flipped << cached;
      CMCaches::sharedCaches().clean();
    }
  }
}

TEST_F(LayerDrawingTest, HiddenLayerAndLayerWithoutAlphaDrawNothing) {
  PaintedLayer hidden(paintedRecord(1, {20, 30, 40, 20}));
  hidden.setHidden(true);
  hidden.draw(context(), {0, 0, kSide, kSide}, false);
  EXPECT_EQ(hidden.renders, 0);

  PaintedLayer noAlpha(paintedRecord(2, {20, 30, 40, 20}));
  noAlpha.data()->remove("alpha");
  noAlpha.draw(context(), {0, 0, kSide, kSide}, false);
  expectClear(at(40, 40));
}

TEST_F(LayerDrawingTest, EmptyDisplayRectDrawsAndStoresNothing) {
  PaintedLayer layer(paintedRecord(1, {20, 30, 0, 20}));
  layer.setDesign(true);
  layer.draw(context(), {0, 0, kSide, kSide}, true);
  EXPECT_EQ(layer.renders, 0);
  EXPECT_EQ(CMCaches::sharedCaches().count(), 0u);
}

TEST_F(LayerDrawingTest, HalfAlphaWithBlendModeCompositesTheWholeImageOnce) {
  canvas().paintBackdrop(0.2, 0.2, 0.2, 1);
  PaintedLayer layer(paintedRecord(1, {20, 20, 45, 20}));
  layer.data()->set("alpha", 0.5);
  layer.data()->set("blending_mode", 2);  // screen
  layer.pieces = {{0, 0, 30, 20}, {15, 0, 30, 20}};
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  // Screen of red over 0.2 grey is (1, 0.2, 0.2); at half opacity over the grey: (0.6, 0.2, 0.2).
  expectPixel(at(25, 30), 153, 51, 51, 255);
  expectPixel(at(42, 30), 153, 51, 51, 255);  // where the two pieces overlap
  expectPixel(at(60, 30), 153, 51, 51, 255);
  expectPixel(at(70, 30), 51, 51, 51, 255);
}

TEST_F(LayerDrawingTest, HalfAlphaOverlapsStayUniformInNormalMode) {
  PaintedLayer layer(paintedRecord(1, {20, 20, 45, 20}));
  layer.data()->set("alpha", 0.5);
  layer.pieces = {{0, 0, 30, 20}, {15, 0, 30, 20}};
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  expectPixel(at(25, 30), 128, 0, 0, 128);
  expectPixel(at(42, 30), 128, 0, 0, 128);
}

TEST_F(LayerDrawingTest, RotationTurnsCounterClockwiseAboutTheFrameCentre) {
  // Frame (40, 40)–(80, 60), centre (60, 50), turned 30°: its corner (80, 60) lands at (72.3, 68.7).
  PaintedLayer layer(paintedRecord(1, {40, 40, 40, 20}));
  layer.data()->set("rotate", 30.0);
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  EXPECT_GT(at(70, 66).r, 200);  // just inside the turned corner
  EXPECT_LT(at(73, 70).a, 60);   // just beyond it
  EXPECT_LT(at(79, 48).a, 60);   // inside only had it turned clockwise
  EXPECT_LT(at(42, 58).a, 60);   // a corner of the unturned frame
  EXPECT_GT(at(60, 50).r, 200);
}

// Ink of a blurred square of side `side` at σ = radius: `distance` beyond its right edge, `offset` off its mid-height.
double blurredSquareAlpha(double distance, double sigma, double side = 20, double offset = 0.5) {
  const auto cdf = [](double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); };
  const double across = cdf(-distance / sigma) - cdf(-(distance + side) / sigma);
  const double along = cdf((side / 2 - offset) / sigma) - cdf((-side / 2 - offset) / sigma);
  return 255 * across * along;
}

class LayerBlurTest : public DrawingCanvasTest, public ::testing::WithParamInterface<double> {};

TEST_P(LayerBlurTest, InkSpreadsBeyondTheEdgeByAboutTheRadius) {
  const double amount = GetParam();
  const double radius = amount * 50;
  PaintedLayer layer(paintedRecord(1, {0, 0, 150, 150}));
  layer.pieces = {{60, 60, 20, 20}};
  layer.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", amount}})}}));
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  // Probe pixel centres at x + 0.5, mid-height y = 70.5.
  const int atRadius = 80 + static_cast<int>(radius);
  EXPECT_NEAR(at(atRadius, 70).a, blurredSquareAlpha(radius + 0.5, radius), 8);
  EXPECT_NEAR(at(81, 70).a, blurredSquareAlpha(1.5, radius), 8);
  EXPECT_LT(at(80 + static_cast<int>(4 * radius), 70).a, 2);
  EXPECT_LT(at(70, 70).a, 250);  // the middle gives some ink away
}

INSTANTIATE_TEST_SUITE_P(Amounts, LayerBlurTest, ::testing::Values(0.1, 0.2));

TEST_F(LayerDrawingTest, BlurSpreadsPastTheLayersOwnFrame) {
  // Content filling its frame: the blur is not cut at the frame's edge.
  PaintedLayer layer(paintedRecord(1, {40, 40, 40, 40}));
  layer.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", 0.1}})}}));
  layer.setDesign(true);
  layer.draw(context(), {0, 0, kSide, kSide}, true);
  canvas().paintBackdrop(0, 0, 0, 0);
  layer.draw(context(), {0, 0, kSide, kSide}, true);  // the second time from the cache
  EXPECT_EQ(layer.renders, 1);
  EXPECT_NEAR(at(84, 60).a, blurredSquareAlpha(4.5, 5, 40), 8);
  EXPECT_NEAR(at(35, 60).a, blurredSquareAlpha(4.5, 5, 40), 8);
  EXPECT_NEAR(at(60, 84).a, blurredSquareAlpha(4.5, 5, 40), 8);
  EXPECT_LT(at(60, 100).a, 2);
}

TEST_F(LayerDrawingTest, BlurAmountFromAFileIsHeldToThePanelsRange) {
  const auto probes = [&](double amount) {
    canvas().paintBackdrop(0, 0, 0, 0);
    PaintedLayer layer(paintedRecord(1, {0, 0, 150, 150}));
    layer.pieces = {{60, 60, 20, 20}};
    layer.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", amount}})}}));
    layer.draw(context(), {0, 0, kSide, kSide}, false);
    return std::vector<int>{at(70, 70).a, at(120, 70).a, at(150, 150).a};
  };
  const std::vector<int> full = probes(1);
  EXPECT_GT(full[0], 0);
  EXPECT_EQ(probes(1e6), full) << "a larger amount blurs as much as the largest the panel sets";
  EXPECT_EQ(probes(-3), probes(0));
}

// Blurs whose full-size picture would pass the image limits are drawn from a smaller copy: the edges are as soft as
// the same blur on a small layer would make them, never sharp.
TEST_F(LayerDrawingTest, BlurOfLayersTooLargeForAFullPictureIsStillDrawn) {
  // 4080 × 4080 at amount 0.1 (σ = 5), past the area limit: its left edge at x = 60, probed 2 px either side.
  PaintedLayer large(paintedRecord(1, {60, 0, 4080, 4080}));
  large.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", 0.1}})}}));
  large.draw(context(), {0, 0, kSide, kSide}, false);
  EXPECT_NEAR(at(61, 100).a, blurredSquareAlpha(-1.5, 5, 4080, 0), 12);
  EXPECT_NEAR(at(58, 100).a, blurredSquareAlpha(1.5, 5, 4080, 0), 12);
  EXPECT_NEAR(at(62, 100).a, blurredSquareAlpha(-2.5, 5, 4080, 0), 12);
  EXPECT_NEAR(at(57, 100).a, blurredSquareAlpha(2.5, 5, 4080, 0), 12);

  // 8100 × 8100 at the largest amount (σ = 50), past the side limit too: probed a radius either side of the edge.
  canvas().paintBackdrop(0, 0, 0, 0);
  PaintedLayer wide(paintedRecord(2, {60, 0, 8100, 8100}));
  wide.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", 1.0}})}}));
  wide.draw(context(), {0, 0, kSide, kSide}, false);
  EXPECT_NEAR(at(109, 100).a, blurredSquareAlpha(-49.5, 50, 8100, 0), 12);
  EXPECT_NEAR(at(10, 100).a, blurredSquareAlpha(49.5, 50, 8100, 0), 12);
}

// The largest blur of a layer far too large for a full-size picture draws from a picture of bounded size: the
// process grows by well under 100 MB, where the full picture would take gigabytes.
TEST_F(LayerDrawingTest, BlurOfAHugeLayerKeepsMemoryBounded) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    PaintedLayer layer(paintedRecord(1, {60, 0, 30000, 30000}));
    layer.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", 1.0}})}}));
    layer.draw(context(), {0, 0, kSide, kSide}, false);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    // Kilobytes; and the edge was blurred, not drawn sharp.
    const int outside = at(10, 100).a, inside = at(109, 100).a;
    _exit(after.ru_maxrss - before.ru_maxrss < 100 * 1024 && outside > 20 && inside < 235 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The picture a blur works on is at most 1024 × 1024 pixels in all, or else no finer than two pixels to the blur's
// radius and no larger than 2048 × 2048, whatever the layer's size and radius, so a blur's cost is bounded; its edge
// stays as soft as the Gaussian's.
struct BlurPictureCase {
  double side;
  double amount;
};

class BlurPictureTest : public DrawingCanvasTest, public ::testing::WithParamInterface<BlurPictureCase> {};

TEST_P(BlurPictureTest, PictureIsBoundedAndTheEdgeStillFollowsTheGaussian) {
  const auto [side, amount] = GetParam();
  const double radius = amount * 50;
  PaintedLayer layer(paintedRecord(1, {60, 0, side, side}));
  layer.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", amount}})}}));
  layer.setDesign(true);
  layer.draw(context(), {0, 0, kSide, kSide}, true);
  const CMCaches::KeptImage* kept = CMCaches::sharedCaches().findImage(layer.data(), true, 1);
  ASSERT_TRUE(kept);
  const std::shared_ptr<const platform::Image>& picture = kept->image;
  // The layer with three radii of room each side, at most two pixels a radius, plus a pixel of rounding each side.
  const double reach = side + 6 * radius;
  const double pixels = double(picture->pixelsWide()) * picture->pixelsHigh();
  EXPECT_TRUE(pixels <= 1025.0 * 1025.0 || picture->pixelsWide() <= std::min(2048.0, reach * 2 / radius) + 2)
      << picture->pixelsWide() << " x " << picture->pixelsHigh();
  EXPECT_LE(pixels, 2050.0 * 2050.0);
  // The left edge at x = 60, probed one and two radii either side where the canvas reaches.
  for (const double distance : {radius, 2 * radius}) {
    if (distance > 59) continue;
    const int outside = static_cast<int>(60 - distance), inside = static_cast<int>(60 + distance);
    EXPECT_NEAR(at(outside, 100).a, blurredSquareAlpha(distance - 0.5, radius, side, 0), 12) << distance;
    EXPECT_NEAR(at(inside, 100).a, blurredSquareAlpha(-distance - 0.5, radius, side, 0), 12) << distance;
  }
}

INSTANTIATE_TEST_SUITE_P(SidesAndRadii, BlurPictureTest,
                         ::testing::Values(BlurPictureCase{400, 0.1}, BlurPictureCase{1000, 0.1},
                                           BlurPictureCase{1000, 0.4}, BlurPictureCase{4000, 0.06},
                                           BlurPictureCase{3000, 1.0}));

TEST_F(LayerDrawingTest, WithoutBlurNothingCrossesTheEdge) {
  PaintedLayer layer(paintedRecord(1, {0, 0, 150, 150}));
  layer.pieces = {{60, 60, 20, 20}};
  layer.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", 0.0}})}}));
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  expectClear(at(81, 70));
  expectPixel(at(79, 70), 255, 0, 0, 255);
}

TEST_F(LayerDrawingTest, MaskClipKeepsOnlyTheMaskedPart) {
  PaintedLayer layer(paintedRecord(1, {20, 20, 60, 60}));
  layer.addClipPath(platform::BezierPath::rect({30, 30, 10, 10}));
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  expectPixel(at(35, 35), 255, 0, 0, 255);
  expectClear(at(25, 25));
  expectClear(at(50, 50));
  // The clip ends with the layer.
  PaintedLayer after(paintedRecord(2, {100, 100, 10, 10}));
  after.draw(context(), {0, 0, kSide, kSide}, false);
  expectPixel(at(105, 105), 255, 0, 0, 255);
}

TEST_F(LayerDrawingTest, MarginLeavesRoomAroundTheContent) {
  // Content drawn beyond the frame by up to the margin is kept, not cut at the frame.
  PaintedLayer layer(paintedRecord(1, {50, 50, 20, 20}));
  layer.offset = 5;
  layer.pieces = {{-4, -4, 28, 28}};
  layer.draw(context(), {0, 0, kSide, kSide}, false);
  expectPixel(at(46.5, 46.5), 255, 0, 0, 255);
  expectPixel(at(73.5, 73.5), 255, 0, 0, 255);
  expectClear(at(44.5, 60));
}

// ---- caching ----

class LayerCacheTest : public DrawingCanvasTest {
 protected:
  LayerCacheTest() : layer_(paintedRecord(7, {20, 20, 40, 40})) { layer_.setDesign(true); }

  void drawCached() { layer_.draw(context(), {0, 0, kSide, kSide}, true); }
  std::vector<unsigned char> pixels() {
    cairo_surface_t* surface = canvas().surface();
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    return {data, data + static_cast<std::ptrdiff_t>(cairo_image_surface_get_stride(surface)) * kSide};
  }

  PaintedLayer layer_;
};

TEST_F(LayerCacheTest, CanvasDrawingStoresTheImageAndReusesIt) {
  drawCached();
  drawCached();
  EXPECT_EQ(layer_.renders, 1);
  EXPECT_EQ(CMCaches::sharedCaches().count(), 1u);
  EXPECT_FALSE(layer_.data()->get("dirty").boolValue());
  expectPixel(at(30, 30), 255, 0, 0, 255);
}

TEST_F(LayerCacheTest, IsDirtyForcesARenderAndIsConsumed) {
  drawCached();
  layer_.data()->set("isDirty", true);
  layer_.ink = platform::Color(0, 1, 0, 1);
  drawCached();
  EXPECT_EQ(layer_.renders, 2);
  EXPECT_EQ(layer_.data()->get("isDirty").intValue(), 0);
  expectPixel(at(30, 30), 0, 255, 0, 255);
  drawCached();
  EXPECT_EQ(layer_.renders, 2);
}

TEST_F(LayerCacheTest, DirtyRecordOrDirtyLayerIsRenderedAnew) {
  drawCached();
  layer_.data()->set("dirty", true);
  drawCached();
  EXPECT_EQ(layer_.renders, 2);
  EXPECT_FALSE(layer_.data()->get("dirty").boolValue());
  layer_.setDirty(true);
  drawCached();
  EXPECT_EQ(layer_.renders, 3);
  EXPECT_FALSE(layer_.dirty());
  drawCached();
  EXPECT_EQ(layer_.renders, 3);
}

TEST_F(LayerCacheTest, VectorDrawingNeitherLooksUpNorConsumesIsDirty) {
  drawCached();
  layer_.setVectorViewMode(true);
  layer_.data()->set("isDirty", true);
  drawCached();
  EXPECT_EQ(layer_.renders, 2);
  EXPECT_TRUE(layer_.data()->get("isDirty").boolValue());
}

TEST_F(LayerCacheTest, AnImageRenderedAtAnotherViewZoomIsNotReused) {
  layer_.setVectorViewMode(true);
  layer_.setViewZoom(2);
  drawCached();
  layer_.setVectorViewMode(false);  // back to view zoom 1
  canvas().paintBackdrop(0, 0, 0, 0);
  drawCached();
  EXPECT_EQ(layer_.renders, 2);
  expectPixel(at(59, 59), 255, 0, 0, 255);
  expectClear(at(61, 61));
}

TEST_F(LayerCacheTest, OutputDrawingNeverUsesOrFillsTheCanvasCache) {
  layer_.designMark = Rect{0, 0, 10, 10};
  drawCached();
  expectPixel(at(25, 25), 0, 0, 255, 255);

  canvas().paintBackdrop(0, 0, 0, 0);
  PaintedLayer output(layer_.data());
  output.designMark = Rect{0, 0, 10, 10};
  output.draw(context(), {0, 0, kSide, kSide}, true);
  EXPECT_EQ(output.renders, 1);
  expectPixel(at(25, 25), 255, 0, 0, 255);
  // The canvas's image is still the one in the cache.
  EXPECT_NE(CMCaches::sharedCaches().findImage(layer_.data(), true, 1), nullptr);
  EXPECT_EQ(CMCaches::sharedCaches().findImage(layer_.data(), false, 1), nullptr);
}

// A layer moved by whole pixels is drawn from its kept image; moved by a fraction of one it is rendered anew, and
// shows exactly what a layer never drawn before shows there, instead of its old picture shifted or stretched. A
// zoom change that lands the layer on the same grid renders anew too, the picture being of another scale: at 63/64
// its 40 units from 64 cover 39.375 pixels from 63, in a picture of 40 with the content at its corner, as at 1 from
// 20 before and from 63 after.
TEST_F(LayerCacheTest, AMoveKeepsTheImageOnlyWhereItLiesOnThePixelGridAsBefore) {
  struct Move {
    double x;
    double y;
    int renders;
    float zoom = 1;
  };
  layer_.pieces = {{0, 0, 13.25, 40}, {0, 0, 40, 7.5}};  // edges inside pixels
  drawCached();
  for (const Move move : {Move{23, 20, 1}, Move{23.5, 20, 2}, Move{24.5, 21, 2}, Move{24.75, 21, 3},
                          Move{24.75, 21.25, 4}, Move{20, 20, 5}, Move{64, 64, 6, 63.0f / 64}, Move{63, 63, 7}}) {
    SCOPED_TRACE(std::to_string(move.x) + ", " + std::to_string(move.y) + " at " + std::to_string(move.zoom));
    layer_.data()->set("x", move.x);
    layer_.data()->set("y", move.y);
    layer_.setViewZoom(move.zoom);
    canvas().paintBackdrop(0, 0, 0, 0);
    drawCached();
    EXPECT_EQ(layer_.renders, move.renders);
    const std::vector<unsigned char> drawn = pixels();
    PaintedLayer fresh(paintedRecord(8, {move.x, move.y, 40, 40}));
    fresh.setViewZoom(move.zoom);
    fresh.pieces = layer_.pieces;
    canvas().paintBackdrop(0, 0, 0, 0);
    fresh.draw(context(), {0, 0, kSide, kSide}, false);
    EXPECT_TRUE(drawn == pixels());
  }
}

// ---- layers too large for one image ----

TEST_F(LayerDrawingTest, HugeLayerAtHighZoomStillDrawsInVectorMode) {
  // 3000 units at 1200 % are 36,000 pixels a side: past what one image surface can hold.
  PaintedLayer layer(paintedRecord(1, {0, 0, 3000, 3000}));
  layer.setVectorViewMode(true);
  layer.setViewZoom(12);
  layer.setDesign(true);
  layer.pieces = {{100, 100, 10, 10}};  // view (1200, 1200)–(1320, 1320)
  context().translateCTM(-1150, -1150);
  layer.draw(context(), {1150, 1150, kSide, kSide}, true);
  expectPixel(at(60, 60), 255, 0, 0, 255);
  expectPixel(at(169, 169), 255, 0, 0, 255);
  expectClear(at(45, 60));
  expectClear(at(171, 100));
  EXPECT_EQ(CMCaches::sharedCaches().count(), 0u);
}

TEST_F(LayerDrawingTest, MagnifiedLayerRendersItsVisiblePartWithTheBlurRight) {
  PaintedLayer layer(paintedRecord(1, {0, 0, 300, 300}));
  layer.setVectorViewMode(true);
  layer.setViewZoom(12);
  layer.setDesign(true);
  layer.pieces = {{100, 100, 10, 10}};  // view (1200, 1200)–(1320, 1320)
  layer.data()->set("shape", Dictionary::make({{"blur", Dictionary::make({{"amount", 0.1}})}}));
  context().translateCTM(-1150, -1150);
  layer.draw(context(), {1150, 1150, kSide, kSide}, true);
  // Mid-height of the magnified square is view y 1260, canvas 110; 4.5 beyond its right edge is canvas 174.5.
  EXPECT_NEAR(at(174, 109).a, blurredSquareAlpha(4.5, 5, 120), 8);
  EXPECT_NEAR(at(45, 109).a, blurredSquareAlpha(4.5, 5, 120), 8);
  EXPECT_GT(at(110, 110).r, 240);
  EXPECT_EQ(CMCaches::sharedCaches().count(), 0u);  // a part of the layer is no image of it
}

TEST_F(LayerDrawingTest, LayerTooLargeForAnImageIsDrawnDirectlyWithItsOpacity) {
  canvas().paintBackdrop(0.2, 0.2, 0.2, 1);
  PaintedLayer layer(paintedRecord(1, {0, 0, 40000, 60}));  // wider than any image surface
  layer.setDesign(true);
  layer.data()->set("alpha", 0.5);
  layer.data()->set("blending_mode", 2);
  layer.pieces = {{0, 0, 120, 60}, {60, 0, 120, 60}};
  layer.draw(context(), {0, 0, kSide, kSide}, true);
  expectPixel(at(30, 30), 153, 51, 51, 255);
  expectPixel(at(90, 30), 153, 51, 51, 255);
  expectPixel(at(150, 30), 153, 51, 51, 255);
  expectPixel(at(190, 30), 51, 51, 51, 255);
  EXPECT_EQ(layer.renders, 1);
  EXPECT_EQ(CMCaches::sharedCaches().count(), 0u);
}

// Layers of several sizes drawn on the canvas in a random order under a budget of a few of their pictures: the cache
// never holds more pixels than the budget, keeps exactly the pictures of the most recently drawn layers that fit, and
// a layer whose picture made way is rendered again, drawn as before.
TEST_F(DrawingCanvasTest, TheCacheKeepsTheMostRecentlyUsedPicturesWithinItsBudget) {
  const std::uint32_t seed = randomTestSeed("TheCacheKeepsTheMostRecentlyUsedPicturesWithinItsBudget");
  std::mt19937 random(seed);
  std::vector<std::unique_ptr<PaintedLayer>> layers;
  std::vector<std::size_t> bytes;
  for (int id = 1; id <= 8; ++id) {
    const int width = 10 * id, height = 30 + 5 * (id % 3);
    layers.push_back(std::make_unique<PaintedLayer>(paintedRecord(id, {5, 5, double(width), double(height)})));
    layers.back()->setDesign(true);
    bytes.push_back(std::size_t(cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width)) * std::size_t(height));
  }
  CMCaches& caches = CMCaches::sharedCaches();
  struct Restore {
    ~Restore() { CMCaches::sharedCaches().setBudget(CMCaches::kDefaultBudget); }
  } restore;
  caches.setBudget(3 * bytes[4]);
  std::vector<std::size_t> recent;  // the model: indexes of kept pictures, the most recently used first
  std::vector<int> renders(layers.size(), 0);
  for (int draw = 0; draw < 300; ++draw) {
    const std::size_t index = std::uniform_int_distribution<std::size_t>(0, layers.size() - 1)(random);
    const auto kept = std::find(recent.begin(), recent.end(), index);
    if (kept == recent.end()) ++renders[index];
    else recent.erase(kept);
    recent.insert(recent.begin(), index);
    std::size_t total = 0;
    for (const std::size_t i : recent) total += bytes[i];
    while (total > caches.budget() && recent.size() > 1) total -= bytes[recent.back()], recent.pop_back();

    canvas().paintBackdrop(0, 0, 0, 0);
    layers[index]->draw(context(), {0, 0, kSide, kSide}, true);
    ASSERT_EQ(layers[index]->renders, renders[index]) << "draw " << draw << ", layer " << index + 1;
    ASSERT_EQ(caches.bytes(), total) << "draw " << draw;
    ASSERT_LE(caches.bytes(), caches.budget());
    ASSERT_EQ(caches.count(), recent.size());
    expectPixel(at(5 + 10 * (index + 1) - 1, 10), 255, 0, 0, 255);
    expectClear(at(5 + 10 * (index + 1) + 1, 10));
  }
  // A budget of less than one picture keeps only the picture drawn last.
  caches.setBudget(1);
  EXPECT_EQ(caches.count(), 1u);
}

}  // namespace
