#include "platform/graphics/color.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics_test_canvas.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/shadow.h"

namespace platform {
namespace {

using testing::GraphicsCanvas;
using testing::Pixel;

TEST(ColorComponents, ClampedAndNonFiniteReadsAsZero) {
  const Color c(1.5, -0.2, NAN, INFINITY);
  EXPECT_EQ(c.red(), 1);
  EXPECT_EQ(c.green(), 0);
  EXPECT_EQ(c.blue(), 0);
  EXPECT_EQ(c.alpha(), 0);
}

TEST(ColorComponents, NamedColoursAndWhiteForms) {
  EXPECT_EQ(Color::white(0.25, 0.5), Color(0.25, 0.25, 0.25, 0.5));
  EXPECT_EQ(Color::blackColor(), Color(0, 0, 0, 1));
  EXPECT_EQ(Color::whiteColor(), Color(1, 1, 1, 1));
  EXPECT_EQ(Color::clearColor().alpha(), 0);
  EXPECT_EQ(Color::calibrated(0.1, 0.2, 0.3, 0.4), Color::device(0.1, 0.2, 0.3, 0.4));
  EXPECT_EQ(Color::generic(0.1, 0.2, 0.3, 0.4), Color(0.1, 0.2, 0.3, 0.4));
  EXPECT_EQ(Color(0.1, 0.2, 0.3, 0.4).usingRGBSpace(), Color(0.1, 0.2, 0.3, 0.4));
}

// A 2×2 tile: red and green on the top row, blue and white below.
std::shared_ptr<cairo_surface_t> checkerTile() {
  std::shared_ptr<cairo_surface_t> tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2), cairo_surface_destroy);
  cairo_surface_flush(tile.get());
  auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(tile.get()));
  const int stride = cairo_image_surface_get_stride(tile.get()) / 4;
  data[0] = 0xFFFF0000;
  data[1] = 0xFF00FF00;
  data[stride] = 0xFF0000FF;
  data[stride + 1] = 0xFFFFFFFF;
  cairo_surface_mark_dirty(tile.get());
  return tile;
}

bool isColour(const Pixel& p, int r, int g, int b) { return p.r == r && p.g == g && p.b == b && p.a == 255; }

TEST(ColorPattern, HasNoComponentSpaceAndRejectsBadImages) {
  const Color pattern = Color::pattern(checkerTile());
  EXPECT_TRUE(pattern.isPattern());
  EXPECT_FALSE(pattern.usingRGBSpace().has_value());
  EXPECT_FALSE(Color::pattern(nullptr).isPattern());
  EXPECT_EQ(Color::pattern(nullptr).alpha(), 0);
}

TEST(ColorPattern, TilesFromTheBaseOriginUnscaledByTheCTM) {
  constexpr int kSize = 8;
  for (bool flipped : {false, true}) {
    GraphicsCanvas canvas(kSize, kSize, flipped);
    GraphicsContext& gc = canvas.context();
    gc.scaleCTM(3, 3);
    gc.translateCTM(0.7, 0.3);
    gc.setFillColor(Color::pattern(checkerTile()));
    gc.fillPath(BezierPath::rect({-10, -10, 40, 40}));
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        // Base space is y-up from the bottom-left: the tile's bottom row (blue, white) sits on base y 0.
        const int baseRow = kSize - 1 - y;
        const bool topRowOfTile = baseRow % 2 == 1;
        const bool left = x % 2 == 0;
        const Pixel p = canvas.at(x, y);
        const bool ok = topRowOfTile ? (left ? isColour(p, 255, 0, 0) : isColour(p, 0, 255, 0))
                                     : (left ? isColour(p, 0, 0, 255) : isColour(p, 255, 255, 255));
        EXPECT_TRUE(ok) << "pixel " << x << "," << y << (flipped ? " flipped" : "");
      }
    }
  }
}

TEST(ColorPattern, KeepsItsAnchoringThroughTheOffscreenPath) {
  // Global alpha and a shadow send the fill through an offscreen image: the tiles must not move.
  GraphicsCanvas plain(8, 8), effected(8, 8);
  for (GraphicsCanvas* canvas : {&plain, &effected}) {
    GraphicsContext& gc = canvas->context();
    gc.scaleCTM(2, 2);
    if (canvas == &effected) {
      gc.setAlpha(0.5);
      gc.setShadow(Shadow{{40, 40}, 0, Color(0, 0, 0, 1)});  // cast far off the surface
    }
    gc.setFillColor(Color::pattern(checkerTile()));
    gc.fillPath(BezierPath::rect({0, 0, 4, 4}));
  }
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_NEAR(effected.at(x, y).r, plain.at(x, y).r / 2.0, 1) << x << "," << y;
      EXPECT_NEAR(effected.at(x, y).b, plain.at(x, y).b / 2.0, 1) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace platform
