#include "document/CMImagePlacement.h"

#include <gtest/gtest.h>

using platform::AffineTransform;
using platform::Point;

namespace {

// Where the image's corners land.
void expectCorners(const AffineTransform& t, Point imageSize, Point lowerLeft, Point upperRight) {
  const Point a = t.transformPoint({0, 0});
  const Point b = t.transformPoint(imageSize);
  EXPECT_NEAR(a.x, lowerLeft.x, 1e-9);
  EXPECT_NEAR(a.y, lowerLeft.y, 1e-9);
  EXPECT_NEAR(b.x, upperRight.x, 1e-9);
  EXPECT_NEAR(b.y, upperRight.y, 1e-9);
}

TEST(ImagePlacement, StretchFillsTheBox) {
  expectCorners(imagePlacement(0, {200, 100}, {50, 40}), {50, 40}, {0, 0}, {200, 100});
}

TEST(ImagePlacement, CentreKeepsTheNaturalSize) {
  expectCorners(imagePlacement(1, {100, 100}, {40, 20}), {40, 20}, {30, 40}, {70, 60});
  // An image larger than the box overhangs it evenly.
  expectCorners(imagePlacement(1, {10, 10}, {30, 20}), {30, 20}, {-10, -5}, {20, 15});
}

TEST(ImagePlacement, FitLiesAgainstTheFarCorner) {
  const AffineTransform t = imagePlacement(2, {200, 100}, {50, 50});
  EXPECT_EQ(t.m11, 2);
  EXPECT_EQ(t.m22, 2);
  EXPECT_EQ(t.tX, 100);
  EXPECT_EQ(t.tY, 0);
  expectCorners(imagePlacement(2, {100, 300}, {50, 50}), {50, 50}, {0, 200}, {100, 300});
}

TEST(ImagePlacement, FitScaleIsSinglePrecision) {
  const float s = static_cast<float>(30.0 / 7.0);
  const AffineTransform t = imagePlacement(2, {100, 30}, {7, 7});
  EXPECT_EQ(t.m11, static_cast<double>(s));
  EXPECT_NE(t.m11, 30.0 / 7.0);
  EXPECT_EQ(t.tX, 100 - 7 * static_cast<double>(s));
}

TEST(ImagePlacement, TileAndUnknownTypesLeaveTheImageAlone) {
  EXPECT_EQ(imagePlacement(3, {200, 100}, {50, 50}), AffineTransform::identity());
  EXPECT_EQ(imagePlacement(9, {200, 100}, {50, 50}), AffineTransform::identity());
  EXPECT_EQ(imagePlacement(-1, {200, 100}, {50, 50}), AffineTransform::identity());
}

}  // namespace
