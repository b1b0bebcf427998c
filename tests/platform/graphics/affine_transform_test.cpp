#include "platform/graphics/affine_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "platform/graphics/bezier_path.h"

namespace platform {
namespace {

void expectNear(Point actual, Point expected, double tolerance = 1e-12) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
}

TEST(AffineTransform, PositiveAnglesTurnCounterClockwiseWithYUp) {
  AffineTransform t;
  t.rotateByDegrees(90);
  expectNear(t.transformPoint({1, 0}), {0, 1});
  expectNear(t.transformPoint({0, 1}), {-1, 0});
  AffineTransform r;
  r.rotateByRadians(-std::numbers::pi / 6);
  expectNear(r.transformPoint({2, 0}), {2 * std::cos(std::numbers::pi / 6), -1});
}

TEST(AffineTransform, EachCallActsBeforeTheTransformBuiltSoFar) {
  AffineTransform t;
  t.translate(10, 0);
  t.scaleBy(2);
  // Scale first, then translate.
  expectNear(t.transformPoint({1, 1}), {12, 2});
  AffineTransform u;
  u.scaleXBy(3, -1);
  u.translate(1, 1);
  expectNear(u.transformPoint({0, 0}), {3, -1});
}

TEST(AffineTransform, TranslateRotateTranslateBackTurnsAboutThePoint) {
  const Point pivot{5, -3};
  const double degrees = 30;
  AffineTransform t;
  t.translate(pivot.x, pivot.y);
  t.rotateByDegrees(degrees);
  t.translate(-pivot.x, -pivot.y);
  expectNear(t.transformPoint(pivot), pivot);
  const Point q{8, 1};
  const double a = degrees * std::numbers::pi / 180, dx = q.x - pivot.x, dy = q.y - pivot.y;
  expectNear(t.transformPoint(q),
             {pivot.x + dx * std::cos(a) - dy * std::sin(a), pivot.y + dx * std::sin(a) + dy * std::cos(a)});
}

TEST(AffineTransform, AppendActsAfterAndPrependActsBefore) {
  AffineTransform a;
  a.rotateByDegrees(45);
  a.translate(1, 2);
  AffineTransform b;
  b.scaleXBy(2, 0.5);
  b.translate(-3, 7);
  const Point p{1.5, -4};

  AffineTransform appended = a;
  appended.appendTransform(b);
  expectNear(appended.transformPoint(p), b.transformPoint(a.transformPoint(p)));

  AffineTransform prepended = a;
  prepended.prependTransform(b);
  expectNear(prepended.transformPoint(p), a.transformPoint(b.transformPoint(p)));
}

TEST(AffineTransform, InverseOfComposedTransformMapsPointsBack) {
  AffineTransform t;
  t.translate(40, -12);
  t.rotateByDegrees(33);
  t.scaleXBy(2.5, -0.75);
  t.translate(-1, 3);
  AffineTransform inverse = t;
  ASSERT_TRUE(inverse.invert());
  for (const Point p : {Point{0, 0}, Point{1, 2}, Point{-300, 17.25}})
    expectNear(inverse.transformPoint(t.transformPoint(p)), p, 1e-9);
  AffineTransform roundTrip = t;
  roundTrip.appendTransform(inverse);
  expectNear(roundTrip.transformPoint({9, 9}), {9, 9}, 1e-9);
}

TEST(AffineTransform, SingularOrNonFiniteTransformDoesNotInvert) {
  AffineTransform flat;
  flat.scaleXBy(1, 0);
  const AffineTransform before = flat;
  EXPECT_FALSE(flat.invert());
  EXPECT_EQ(flat, before);
  AffineTransform broken;
  broken.tX = std::nan("");
  EXPECT_FALSE(broken.invert());
}

TEST(AffineTransform, SizesIgnoreTranslation) {
  AffineTransform t;
  t.translate(100, 100);
  t.rotateByDegrees(90);
  const Size s = t.transformSize({2, 0});
  EXPECT_NEAR(s.width, 0, 1e-12);
  EXPECT_NEAR(s.height, 2, 1e-12);
}

TEST(AffineTransform, PathTransformMovesControlPointsToo) {
  BezierPath path;
  path.moveTo({0, 0});
  path.curveTo({3, 0}, {1, 1}, {2, -1});
  path.closePath();
  AffineTransform t;
  t.translate(10, 20);
  t.scaleBy(2);
  const BezierPath moved = t.transformBezierPath(path);
  ASSERT_EQ(moved.elementCount(), 3);
  Point points[3];
  EXPECT_EQ(moved.elementAt(1, points), PathElement::Curve);
  expectNear(points[0], {12, 22});
  expectNear(points[1], {14, 18});
  expectNear(points[2], {16, 20});
  EXPECT_EQ(moved.elementAt(2), PathElement::Close);
}

struct CairoDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};

TEST(AffineTransform, ConcatActsBeforeTheContextTransform) {
  const std::unique_ptr<cairo_surface_t, CairoDeleter> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4));
  const std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
  cairo_scale(cr.get(), 2, 2);
  AffineTransform t;
  t.translate(3, 1);
  t.rotateByDegrees(90);
  t.concat(cr.get());
  double x = 1, y = 0;
  cairo_user_to_device(cr.get(), &x, &y);
  const Point expected = t.transformPoint({1, 0});
  EXPECT_NEAR(x, 2 * expected.x, 1e-12);
  EXPECT_NEAR(y, 2 * expected.y, 1e-12);
}

TEST(AffineTransform, SingularConcatLeavesTheContextUsable) {
  const std::unique_ptr<cairo_surface_t, CairoDeleter> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4));
  const std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
  AffineTransform t;
  t.scaleBy(0);
  t.concat(cr.get());
  EXPECT_EQ(cairo_status(cr.get()), CAIRO_STATUS_SUCCESS);
  double x = 5, y = 6;
  cairo_user_to_device(cr.get(), &x, &y);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 6);
}

}  // namespace
}  // namespace platform
