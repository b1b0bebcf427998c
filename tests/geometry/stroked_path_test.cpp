#include "geometry/stroked_path.h"

#include <gtest/gtest.h>

#include <cmath>

using platform::BezierPath;
using platform::Rect;

namespace {

BezierPath line(platform::Point from, platform::Point to, double width) {
  BezierPath path;
  path.moveTo(from);
  path.lineTo(to);
  path.setLineWidth(width);
  return path;
}

TEST(StrokedPath, HorizontalLineGivesAClosedBandOfItsWidth) {
  const auto outline = strokedPath(line({0, 0}, {100, 0}, 4));
  ASSERT_TRUE(outline.has_value());
  ASSERT_FALSE(outline->isEmpty());
  EXPECT_EQ(outline->elementAt(outline->elementCount() - 1), platform::PathElement::Close);
  const Rect box = outline->bounds();
  EXPECT_NEAR(box.origin.x, 0, 1e-9);
  EXPECT_NEAR(box.origin.y, -2, 1e-9);
  EXPECT_NEAR(box.size.width, 100, 1e-9);
  EXPECT_NEAR(box.size.height, 4, 1e-9);
  EXPECT_EQ(outline->windingRule(), platform::WindingRule::NonZero);
  EXPECT_TRUE(outline->containsPoint({50, 1.9}));
  EXPECT_TRUE(outline->containsPoint({0.1, -1.9}));
  EXPECT_FALSE(outline->containsPoint({50, 2.1}));
  EXPECT_FALSE(outline->containsPoint({-0.1, 0}));
  EXPECT_FALSE(outline->containsPoint({100.1, 0}));
}

TEST(StrokedPath, DashedPathGivesTheOutlinesOfItsDashes) {
  BezierPath path = line({0, 0}, {100, 0}, 2);
  const double dash[] = {10, 10};
  path.setLineDash(dash, 2, 0);
  const auto outline = strokedPath(path);
  ASSERT_TRUE(outline.has_value());
  EXPECT_TRUE(outline->containsPoint({5, 0}));
  EXPECT_FALSE(outline->containsPoint({15, 0}));
  EXPECT_TRUE(outline->containsPoint({25, 0}));
}

TEST(StrokedPath, NothingToStrokeGivesNoOutline) {
  EXPECT_FALSE(strokedPath(line({0, 0}, {100, 0}, 0)).has_value());
  EXPECT_FALSE(strokedPath(line({0, 0}, {0, 100}, 0)).has_value());
  EXPECT_FALSE(strokedPath(line({0, 0}, {100, 0}, std::nan(""))).has_value());
  // A box that is not empty with width 0 strokes nothing, but is not nothing to stroke.
  const auto square = strokedPath(line({0, 0}, {100, 100}, 0));
  ASSERT_TRUE(square.has_value());
  EXPECT_TRUE(square->isEmpty());
}

TEST(StrokedPath, EmptyPathWithAWidthGivesAnEmptyOutline) {
  BezierPath empty;
  empty.setLineWidth(3);
  const auto outline = strokedPath(empty);
  ASSERT_TRUE(outline.has_value());
  EXPECT_TRUE(outline->isEmpty());
}

TEST(StrokedPath, NewWidthStaysOnThePath) {
  BezierPath path = line({0, 0}, {100, 0}, 1);
  const auto outline = strokedPathWithStrokeWidth(path, 10);
  EXPECT_EQ(path.lineWidth(), 10);
  ASSERT_TRUE(outline.has_value());
  EXPECT_NEAR(outline->bounds().size.height, 10, 1e-9);
}

TEST(StrokedPath, OutlineStaysInThePathsCoordinates) {
  const auto outline = strokedPath(line({5000, -300}, {5010, -300}, 2));
  ASSERT_TRUE(outline.has_value());
  EXPECT_TRUE(outline->containsPoint({5005, -300.5}));
  EXPECT_NEAR(outline->bounds().origin.x, 5000, 1e-9);
}

}  // namespace
