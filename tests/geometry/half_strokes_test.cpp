#include "geometry/half_strokes.h"

#include <gtest/gtest.h>

#include "../platform/graphics/graphics_test_canvas.h"
#include "geometry/inverse_clip.h"

using platform::BezierPath;
using platform::Rect;
using platform::testing::GraphicsCanvas;

namespace {

constexpr int kSize = 100;

// A 60 × 60 square at (20, 20) stroked 10 wide: the centred band spans 15 to 25 on each side.
BezierPath square() {
  BezierPath path = BezierPath::rect({20, 20, 60, 60});
  path.setLineWidth(10);
  return path;
}

class HalfStrokes : public ::testing::Test {
 protected:
  HalfStrokes() : canvas_(kSize, kSize), scope_(canvas_.context()) {
    canvas_.context().setStrokeColor(platform::Color(1, 0, 0, 1));
    canvas_.context().setFillColor(platform::Color(0, 0, 1, 1));
  }

  // Alpha at user point (x, y) of the y-up canvas.
  int alphaAt(double x, double y) const {
    return canvas_.at(static_cast<int>(x), kSize - 1 - static_cast<int>(y)).a;
  }

  GraphicsCanvas canvas_;
  platform::CurrentContextScope scope_;
};

TEST_F(HalfStrokes, InsideBandLiesInsideThePath) {
  strokeInside(square());
  EXPECT_EQ(alphaAt(25, 50), 255);  // the inner band, 20 to 30
  EXPECT_EQ(alphaAt(75, 50), 255);
  EXPECT_EQ(alphaAt(15, 50), 0);    // where a centred stroke would reach
  EXPECT_EQ(alphaAt(35, 50), 0);
  EXPECT_EQ(alphaAt(50, 50), 0);
}

TEST_F(HalfStrokes, OutsideBandLiesOutsideThePath) {
  strokeOutside(square());
  EXPECT_EQ(alphaAt(15, 50), 255);  // the outer band, 10 to 20
  EXPECT_EQ(alphaAt(50, 85), 255);
  EXPECT_EQ(alphaAt(25, 50), 0);
  EXPECT_EQ(alphaAt(5, 50), 0);
}

TEST_F(HalfStrokes, PathAndContextAreLeftAsTheyWere) {
  const BezierPath path = square();
  canvas_.context().clipToRect({0, 0, 50, 100});
  const Rect clipBefore = canvas_.context().clipBoundingBox();
  strokeInside(path);
  strokeOutside(path);
  EXPECT_EQ(path.lineWidth(), 10);
  EXPECT_EQ(canvas_.context().clipBoundingBox(), clipBefore);
  canvas_.context().fillPath(BezierPath::rect({0, 0, kSize, kSize}));
  EXPECT_EQ(alphaAt(40, 50), 255);  // left half, inside the earlier clip
  EXPECT_EQ(alphaAt(90, 50), 0);
}

TEST_F(HalfStrokes, EarlierClipStillHolds) {
  canvas_.context().clipToRect({0, 0, 50, 100});
  strokeInside(square());
  strokeOutside(square());
  EXPECT_EQ(alphaAt(25, 50), 255);
  EXPECT_EQ(alphaAt(15, 50), 255);
  EXPECT_EQ(alphaAt(75, 50), 0);
  EXPECT_EQ(alphaAt(85, 50), 0);
}

TEST_F(HalfStrokes, RectangleNarrowsTheDrawing) {
  strokeInsideWithinRect(square(), {0, 0, kSize, 50});
  EXPECT_EQ(alphaAt(25, 40), 255);
  EXPECT_EQ(alphaAt(25, 60), 0);
  // The zero rectangle adds no clip.
  strokeOutsideWithinRect(square(), Rect{});
  EXPECT_EQ(alphaAt(15, 60), 255);
}

TEST_F(HalfStrokes, InverseClipKeepsOnlyTheOutsideWithinTheOldClip) {
  canvas_.context().clipToRect({0, 0, 50, 100});
  addInverseClip(square());
  canvas_.context().fillPath(BezierPath::rect({0, 0, kSize, kSize}));
  EXPECT_EQ(alphaAt(10, 50), 255);
  EXPECT_EQ(alphaAt(30, 50), 0);  // inside the square
  EXPECT_EQ(alphaAt(90, 50), 0);  // outside the earlier clip
  EXPECT_EQ(alphaAt(90, 10), 0);
}

}  // namespace
