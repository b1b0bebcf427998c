#include "platform/graphics/image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "argb_test_image.h"
#include "platform/graphics/graphics_context.h"

namespace platform {
namespace {

using testing::Argb;
using testing::makeArgbSurface;
using testing::pixelAt;
using testing::setPixel;
using testing::SurfacePtr;

const Argb kRed{255, 255, 0, 0}, kGreen{255, 0, 255, 0}, kBlue{255, 0, 0, 255}, kWhite{255, 255, 255, 255};

// A 2 × 2 image whose pixel rows, top first, are red green / blue white.
Image quadrants() {
  std::shared_ptr<cairo_surface_t> pixels(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2), cairo_surface_destroy);
  setPixel(pixels.get(), 0, 0, kRed);
  setPixel(pixels.get(), 1, 0, kGreen);
  setPixel(pixels.get(), 0, 1, kBlue);
  setPixel(pixels.get(), 1, 1, kWhite);
  return Image(pixels);
}

// Scaled images are filtered, so probes sit in the outer half of each image pixel's cell, where the edge padding
// keeps the colour pure.
struct Canvas {
  SurfacePtr surface = makeArgbSurface(40, 40);
  Argb at(int x, int y) const { return pixelAt(surface.get(), x, y); }
};

TEST(Image, DrawnIntoAnUnflippedContextItShowsUpright) {
  // User space is y-up with the origin at the surface's bottom-left: the rectangle (10, 10)–(30, 30) covers device
  // rows 10…29 counted from the top. AppKit puts the image's top row at the rectangle's top (max y), so on the
  // surface red is top-left and white bottom-right, as in the image.
  Canvas canvas;
  GraphicsContext context(canvas.surface.get(), 40, false);
  CurrentContextScope focus(context);
  quadrants().drawInRect({10, 10, 20, 20}, {}, CompositingOperation::SourceOver, 1);
  EXPECT_EQ(canvas.at(12, 12), kRed);
  EXPECT_EQ(canvas.at(27, 12), kGreen);
  EXPECT_EQ(canvas.at(12, 27), kBlue);
  EXPECT_EQ(canvas.at(27, 27), kWhite);
  EXPECT_EQ(canvas.at(5, 5), Argb{});
  EXPECT_EQ(canvas.at(35, 35), Argb{});
}

TEST(Image, DrawnIntoAFlippedContextItShowsUpsideDown) {
  // User space runs down from the top-left. The rectangle (4, 2)–(24, 22) covers device rows 2…21 and the image's
  // top row still goes to the rectangle's max y, which is now its bottom on the surface: blue and white on top.
  Canvas canvas;
  GraphicsContext context(canvas.surface.get(), 40, true);
  CurrentContextScope focus(context);
  quadrants().drawInRect({4, 2, 20, 20}, {}, CompositingOperation::SourceOver, 1);
  EXPECT_EQ(canvas.at(6, 4), kBlue);
  EXPECT_EQ(canvas.at(21, 4), kWhite);
  EXPECT_EQ(canvas.at(6, 19), kRed);
  EXPECT_EQ(canvas.at(21, 19), kGreen);
  EXPECT_EQ(canvas.at(9, 23), Argb{});

  // Code written for AppKit flips the CTM about the rectangle to show the image upright again.
  Canvas compensated;
  GraphicsContext flipped(compensated.surface.get(), 40, true);
  CurrentContextScope focusFlipped(flipped);
  flipped.translateCTM(0, 2 + 22);
  flipped.scaleCTM(1, -1);
  quadrants().drawInRect({4, 2, 20, 20}, {}, CompositingOperation::SourceOver, 1);
  EXPECT_EQ(compensated.at(6, 4), kRed);
  EXPECT_EQ(compensated.at(21, 19), kWhite);
}

TEST(Image, SourceRectangleIsInTheImagesYUpPoints) {
  // fromRect (0, 0, 1, 1) is the image's bottom-left point: its bottom row, left pixel, blue.
  Canvas canvas;
  GraphicsContext context(canvas.surface.get(), 40, false);
  CurrentContextScope focus(context);
  const Image image = quadrants();
  image.drawInRect({0, 0, 10, 10}, {0, 0, 1, 1}, CompositingOperation::SourceOver, 1);
  image.drawInRect({20, 0, 10, 10}, {1, 1, 1, 1}, CompositingOperation::SourceOver, 1);
  image.drawAtPoint({0, 20}, {}, CompositingOperation::SourceOver, 1);
  EXPECT_EQ(canvas.at(5, 35), kBlue);
  EXPECT_EQ(canvas.at(25, 35), kGreen);
  EXPECT_EQ(canvas.at(0, 18), kRed) << "drawn at its own size, bottom-left at (0, 20)";
  EXPECT_EQ(canvas.at(1, 19), kWhite);
  EXPECT_EQ(canvas.at(2, 18), Argb{});
}

TEST(Image, FractionAndOperationApply) {
  Canvas canvas;
  GraphicsContext context(canvas.surface.get(), 40, false);
  CurrentContextScope focus(context);
  const Image image = quadrants();
  image.drawInRect({0, 0, 20, 20}, {}, CompositingOperation::SourceOver, 0.5);
  const Argb half = canvas.at(2, 22);
  EXPECT_NEAR(half.a, 128, 1);
  EXPECT_NEAR(half.r, 128, 1);
  // Destination-out with the opaque image erases what is under it.
  image.drawInRect({0, 0, 10, 10}, {}, CompositingOperation::DestinationOut, 1);
  EXPECT_EQ(canvas.at(5, 35), Argb{});
  EXPECT_NEAR(canvas.at(15, 35).a, 128, 1);
  // Nothing happens for a zero fraction, an empty rectangle or one that is not finite.
  image.drawInRect({20, 20, 10, 10}, {}, CompositingOperation::SourceOver, 0);
  image.drawInRect({20, 20, 0, 10}, {}, CompositingOperation::SourceOver, 1);
  image.drawInRect({20, std::numeric_limits<double>::quiet_NaN(), 10, 10}, {}, CompositingOperation::SourceOver, 1);
  EXPECT_EQ(canvas.at(25, 15), Argb{});
}

TEST(Image, ExtremeRectanglesAndFractionsDrawSafely) {
  Canvas canvas;
  GraphicsContext context(canvas.surface.get(), 40, false);
  CurrentContextScope focus(context);
  const Image image = quadrants();
  const double inf = std::numeric_limits<double>::infinity();
  const Rect rects[] = {{0, 0, 1e300, 1e300}, {-1e308, -1e308, 1e-300, 1e-300}, {0, 0, inf, 10}, {1e15, 1e15, 5, 5}};
  for (const Rect& rect : rects) image.drawInRect(rect, {}, CompositingOperation::SourceOver, 1);
  image.drawInRect({0, 0, 10, 10}, {1e300, 0, 1, 1}, CompositingOperation::SourceOver, 1);
  image.drawInRect({0, 0, 10, 10}, {0, 0, 1e-300, 1e-300}, CompositingOperation::SourceOver, 1);
  image.drawInRect({0, 0, 10, 10}, {}, CompositingOperation::SourceOver, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(cairo_status(context.cairo()), CAIRO_STATUS_SUCCESS);
  // An unknown operation and a fraction above 1 draw as source-over at full opacity.
  Canvas fresh;
  GraphicsContext freshContext(fresh.surface.get(), 40, false);
  CurrentContextScope freshFocus(freshContext);
  image.drawInRect({0, 0, 10, 10}, {}, static_cast<CompositingOperation>(99), inf);
  EXPECT_EQ(fresh.at(1, 38), kBlue);
  EXPECT_EQ(fresh.at(1, 31), kRed);
  EXPECT_EQ(fresh.at(12, 38), Argb{});
}

// Magnified millions of times, each image pixel is a cell of its own colour, wherever the view looks into it and
// however the context is turned.
TEST(Image, HugelyMagnifiedPixelsShowTheirOwnColours) {
  const Image image = quadrants();
  for (const double radians : {0.0, 0.5}) {
    Canvas canvas;
    GraphicsContext context(canvas.surface.get(), 40, false);
    CurrentContextScope focus(context);
    context.translateCTM(20, 20);
    context.rotateCTM(radians);
    // The image's middle falls at x 10 (from the canvas's centre): red left of it, green right, both in the top row.
    image.drawInRect({-4e6 + 10, -4e6, 8e6, 8e6}, {}, CompositingOperation::SourceOver, 1);
    EXPECT_EQ(cairo_status(context.cairo()), CAIRO_STATUS_SUCCESS);
    if (radians == 0) {
      EXPECT_EQ(canvas.at(20, 15), kRed);
      EXPECT_EQ(canvas.at(35, 15), kGreen);
      EXPECT_EQ(canvas.at(20, 25), kBlue);
      EXPECT_EQ(canvas.at(35, 25), kWhite);
    } else {  // away from the cells' edges, which cross the canvas's centre
      for (const auto& [x, y] : {std::pair{0, 0}, {39, 0}, {0, 39}, {39, 39}}) {
        const Argb shown = canvas.at(x, y);
        EXPECT_TRUE(shown == kRed || shown == kGreen || shown == kBlue || shown == kWhite) << x << "," << y;
      }
    }
  }
}

TEST(Image, DrawingCastsTheContextsShadow) {
  Canvas canvas;
  GraphicsContext context(canvas.surface.get(), 40, false);
  CurrentContextScope focus(context);
  context.setShadow(Shadow{{6, -6}, 0, Color(0, 0, 0, 1)});
  quadrants().drawInRect({10, 20, 10, 10}, {}, CompositingOperation::SourceOver, 1);
  // Offset right and down (negative height in y-up space): the shadow shows beside the image's bottom-right.
  EXPECT_EQ(canvas.at(18, 18).a, 255);
  EXPECT_EQ(canvas.at(23, 25), (Argb{255, 0, 0, 0}));
  EXPECT_EQ(canvas.at(5, 5), Argb{});
}

TEST(Image, LockFocusMakesTheImageTheCurrentYUpContext) {
  SurfacePtr other = makeArgbSurface(4, 4);
  GraphicsContext outer(other.get(), 4, true);
  CurrentContextScope focus(outer);
  Image image(Size{20, 10});
  EXPECT_EQ(image.pixelsWide(), 20);
  EXPECT_EQ(image.pixelsHigh(), 10);
  image.lockFocus();
  GraphicsContext* current = GraphicsContext::current();
  ASSERT_NE(current, &outer);
  ASSERT_NE(current, nullptr);
  EXPECT_FALSE(current->isFlipped());
  current->setFillColor(Color(0, 0, 1, 1));
  current->fillPath(BezierPath::rect({0, 0, 5, 4}));
  image.unlockFocus();
  EXPECT_EQ(GraphicsContext::current(), &outer);
  // (0, 0)–(5, 4) in y-up points is the bottom-left corner: pixel rows 6…9.
  EXPECT_EQ(pixelAt(image.surface().get(), 0, 9), kBlue);
  EXPECT_EQ(pixelAt(image.surface().get(), 4, 6), kBlue);
  EXPECT_EQ(pixelAt(image.surface().get(), 0, 5), Argb{});
  EXPECT_EQ(pixelAt(image.surface().get(), 5, 9), Argb{});
}

TEST(Image, SizesThatCannotBeMadeGiveNoPixels) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Size size : {Size{nan, 10}, Size{-5, 10}, Size{40000, 1}, Size{20000, 20000}}) {
    Image image(size);
    EXPECT_EQ(image.pixelsWide() * image.pixelsHigh(), 0) << size.width << "×" << size.height;
    image.lockFocus();
    image.unlockFocus();
  }
  const Image fractional(Size{2.5, 3.2});
  EXPECT_EQ(fractional.pixelsWide(), 3);
  EXPECT_EQ(fractional.pixelsHigh(), 4);
  EXPECT_EQ(fractional.size(), (Size{2.5, 3.2}));
}

TEST(Image, FilesAndDataRoundTrip) {
  const Image image = quadrants();
  const Expected<Bytes> png = image.representation(ImageFileType::Png);
  ASSERT_TRUE(png.ok());
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "draftwork-image-test.png";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.value().data()), static_cast<std::streamsize>(png.value().size()));
  }
  Expected<Image> read = Image::fromFile(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.value().size(), (Size{2, 2}));
  EXPECT_EQ(pixelAt(read.value().surface().get(), 1, 0), kGreen);
  EXPECT_FALSE(Image::fromFile(path).ok()) << "gone";
  EXPECT_FALSE(Image::fromData(Bytes{1, 2, 3}).ok());
}

}  // namespace
}  // namespace platform
