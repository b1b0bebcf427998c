#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>

#include "geometry/partcode_editing.h"
#include "geometry/partcode_hit_testing.h"
#include "geometry/partcodes.h"
#include "geometry/path_cleanup.h"
#include "geometry/subpath_queries.h"
#include "path_test_support.h"
#include "platform/graphics/graphics_context.h"

using platform::BezierPath;
using platform::Point;

namespace {

constexpr double kDegree = M_PI / 180;

}  // namespace

TEST(PartcodeEditing, PartcodesNameElementPoints) {
  BezierPath path = polyline({{0, 0}, {10, 0}});
  path.curveTo({30, 0}, {15, 5}, {25, 5});
  EXPECT_EQ(partcodeForElementAndPoint(0, 0), 4);
  EXPECT_EQ(partcodeForElementAndPoint(2, 2), 14);
  EXPECT_EQ(controlPointForPartcode(path, 14), (Point{30, 0}));
  EXPECT_EQ(controlPointForPartcode(path, 13), (Point{25, 5}));
  EXPECT_FALSE(isOnPathPartcode(path, 12));
  EXPECT_FALSE(isOnPathPartcode(path, 13));
  EXPECT_TRUE(isOnPathPartcode(path, 14));
  EXPECT_EQ(partcodeHitByPoint(path, {25.2, 4.9}, 1, 1), 13);
  EXPECT_EQ(partcodeHitByPoint(path, {30, 0.3}, 1, 1), 14);
  EXPECT_EQ(partcodeHitByPoint(path, {10.2, 0}, 1, 1), 8);
  EXPECT_EQ(partcodeHitByPoint(path, {10, 0}, -1, 1), 0);
  EXPECT_EQ(pointInPointArray({0, 0}, {}, 5), -1);
}

TEST(PartcodeEditing, ConstrainedMovesSnapToTheAngleStep) {
  for (const auto& [degrees, snapped] : {std::pair{10.0, 15.0}, {5.0, 0.0}, {-10.0, 0.0}, {50.0, 45.0}}) {
    BezierPath path = polyline({{0, 0}, {10, 0}, {20, 0}});
    moveControlPointPartcode(path, 12, {10 + 10 * std::cos(degrees * kDegree), 10 * std::sin(degrees * kDegree)}, false,
                             false, true);
    const Point moved = controlPointForPartcode(path, 12);
    EXPECT_NEAR(std::atan2(moved.y, moved.x - 10) / kDegree, snapped, 1e-4) << degrees;
    EXPECT_NEAR(std::hypot(moved.x - 10, moved.y), 10, 1e-4) << degrees;
  }
  // The path's first point has nothing to snap about.
  BezierPath path = polyline({{0, 0}, {10, 0}});
  moveControlPointPartcode(path, 4, {3, 1}, false, false, true);
  EXPECT_EQ(controlPointForPartcode(path, 4), (Point{3, 1}));
}

TEST(PartcodeEditing, AConstraintAngleOfZeroOrNotFiniteConstrainsNothing) {
  struct RestoreDefault {
    ~RestoreDefault() { setConstraintAngle(0.2617994f); }
  } restore;
  for (const float step : {0.0f, -0.0f, NAN, INFINITY, -INFINITY}) {
    setConstraintAngle(step);
    BezierPath path = polyline({{0, 0}, {10, 0}});
    path.curveTo({30, 0}, {15, 5}, {25, 5});
    moveControlPointPartcode(path, 8, {13, 4}, false, false, true);
    moveControlPointPartcode(path, 12, {17, 9}, true, false, true);
    EXPECT_EQ(shape(path), "M 0 0 L 13 4 C 17 9 25 5 30 0") << step;
  }
}

TEST(PartcodeEditing, MovesBeyondSinglePrecisionLeaveThePathAlone) {
  BezierPath path = polyline({{0, 0}, {1e300, 0}});
  path.curveTo({1e300, 10}, {1e300, 5}, {1e300, 8});
  const BezierPath before = path;
  moveControlPointPartcode(path, 8, {0, 0}, false, false, false);  // the curve's handle would move by −1e300
  EXPECT_EQ(path, before);
  moveControlPointPartcode(path, 8, {1e300, 3}, false, false, true);  // snapping measures 1e300 in single precision
  EXPECT_EQ(path, before);
  moveControlPointPartcode(path, 8, {1e300, 3}, false, false, false);
  EXPECT_EQ(controlPointForPartcode(path, 8), (Point{1e300, 3}));
  EXPECT_EQ(controlPointForPartcode(path, 12), (Point{1e300, 8}));
}

TEST(PartcodeEditing, MovingTheMoveOfASubpathClosedWithoutClose) {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({100, 0});
  path.curveTo({0, 0}, {100, 100}, {10, 50});
  moveControlPointPartcode(path, 4, {5, 5}, false, false, false);
  EXPECT_EQ(shape(path), "M 5 5 L 100 0 C 100 100 15 55 5 5");
  moveControlPointPartcode(path, 14, {7, 7}, false, false, false);
  EXPECT_EQ(shape(path), "M 5 5 L 100 0 C 100 100 17 57 7 7");

  // Decision: only the element's own subpath counts as closed.
  BezierPath twoSubpaths = polyline({{0, 0}, {10, 0}, {10, 10}});
  twoSubpaths.moveTo({20, 0});
  twoSubpaths.lineTo({30, 0});
  twoSubpaths.lineTo({30, 10});
  twoSubpaths.closePath();
  for (int e = 0; e < 7; ++e) EXPECT_EQ(subpathContainingElementIsClosed(twoSubpaths, e), e >= 3) << e;
  moveControlPointPartcode(twoSubpaths, 4, {1, 1}, false, false, false);
  EXPECT_EQ(controlPointForPartcode(twoSubpaths, 12), (Point{10, 10}));
}

TEST(PartcodeEditing, ColinearMovesMirrorTheOppositeHandle) {
  BezierPath path;
  path.moveTo({0, 0});
  path.curveTo({10, 0}, {2, 5}, {8, 5});
  path.curveTo({20, 0}, {12, -5}, {18, -5});
  moveControlPointPartcode(path, 9, {10, 3}, true, true, false);
  EXPECT_EQ(shape(path), "M 0 0 C 2 5 10 3 10 0 C 10 -3 18 -5 20 0");
  moveControlPointPartcode(path, 9, {10, 10}, true, false, false);
  EXPECT_EQ(shape(path), "M 0 0 C 2 5 10 10 10 0 C 10 -3 18 -5 20 0");
}

TEST(PartcodeEditing, DeletingAndInsertingPoints) {
  const BezierPath abc = polyline({{0, 0}, {10, 0}, {10, 10}});
  EXPECT_EQ(shape(deleteControlPointForPartcode(abc, 4)), "M 10 0 L 10 10");
  EXPECT_EQ(shape(deleteControlPointForPartcode(abc, 8)), "M 0 0 L 10 10");
  BezierPath curves;
  curves.moveTo({0, 0});
  curves.curveTo({10, 0}, {1, 5}, {9, 5});
  curves.curveTo({20, 0}, {11, -5}, {19, -5});
  EXPECT_EQ(shape(deleteControlPointForPartcode(curves, 10)), "M 0 0 C 1 5 19 -5 20 0");
  EXPECT_EQ(deleteControlPointForPartcode(curves, 9), curves);

  const BezierPath line = polyline({{0, 0}, {100, 0}});
  EXPECT_EQ(shape(*insertControlPointAtPoint(line, {50, 0.5}, 1, 0)), "M 0 0 L 50 0 L 100 0");
  EXPECT_EQ(shape(*insertControlPointAtPoint(line, {50, 0.5}, 1, 2)), "M 0 0 C 12.5 0 37.5 0 50 0 C 62.5 0 87.5 0 100 0");
  EXPECT_FALSE(insertControlPointAtPoint(line, {50, 5}, 1, 0));
  BezierPath square = polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  square.closePath();
  EXPECT_EQ(shape(*insertControlPointAtPoint(square, {0.5, 5}, 1, 0)), "M 0 0 L 10 0 L 10 10 L 0 10 L 0 5 L 0 0 Z");
}

TEST(PartcodeEditing, StrippingAndTrimmingCopies) {
  BezierPath path = polyline({{0, 0}, {0, 0}, {10, 0}});
  path.curveTo({10, 0}, {10, 0}, {10, 0});
  path.closePath();
  path.moveTo({5, 5});
  path.setLineWidth(3);
  const BezierPath stripped = bezierPathByStrippingRedundantElements(path);
  EXPECT_EQ(shape(stripped), "M 0 0 L 10 0 Z");
  EXPECT_EQ(stripped.lineWidth(), 3);
  EXPECT_EQ(shape(bezierPathByRemovingTrailingElements(path, 2)), "M 0 0 L 0 0 L 10 0 C 10 0 10 0 10 0");
  EXPECT_EQ(subpathEndingElementForElement(path, 0), 4);
  EXPECT_EQ(subpathEndingElementForElement(path, 5), 5);
}

TEST(PartcodeEditing, ElementHitsTakeTheNearestCandidate) {
  BezierPath path;
  path.moveTo({0, 0});
  path.curveTo({100, 0}, {0, 100}, {100, 100});
  path.lineTo({50, 30});
  float t = -1;
  EXPECT_EQ(elementHitByPoint(path, {75, 15}, 1, &t), 2);
  EXPECT_FLOAT_EQ(t, 0.5f);
  EXPECT_EQ(elementHitByPoint(polyline({{0, 0}, {100, 0}}), {0.5, 0}, 1, &t), 1);
  EXPECT_FLOAT_EQ(t, 0.995f);
  EXPECT_EQ(elementHitByPoint(path, {75, 15}, NAN, &t), -1);
  EXPECT_EQ(boundingBoxesForPartcode(path, 8), (std::vector<platform::Rect>{{0, 0, 100, 100}, {}}));
}

TEST(PartcodeEditing, ColineariseVertexAcrossTheHalfTurn) {
  const Point points[3] = {{10, 0.1}, {0, 0}, {-10, 0.1}};
  Point a, b;
  colineariseVertex(points, &a, &b);
  EXPECT_GT(a.x, 9.9);
  EXPECT_LT(b.x, -9.9);
  EXPECT_NEAR(a.y, -b.y, 1e-5);
}

TEST(PartcodeEditing, BoundingBoxesDrawOneDevicePixelInRed) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 40);
  {
    platform::GraphicsContext context(surface, 40);
    platform::CurrentContextScope scope(context);
    drawElementsBoundingBoxes(polyline({{10.5, 10.5}, {30.5, 30.5}}));
  }
  cairo_surface_flush(surface);
  const auto pixel = [&](int x, int yUp) {
    const unsigned char* row = cairo_image_surface_get_data(surface) + (39 - yUp) * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const std::uint32_t*>(row)[x];
  };
  EXPECT_EQ(pixel(10, 20), 0xFFFF0000u);  // on the box's left edge
  EXPECT_EQ(pixel(9, 20), 0u);
  EXPECT_EQ(pixel(11, 20), 0u);
  EXPECT_EQ(pixel(20, 20), 0u);
  EXPECT_EQ(BezierPath::defaultLineWidth(), 1);
  cairo_surface_destroy(surface);
}
