#include "geometry/quartz_path_conversion.h"

#include <gtest/gtest.h>

#include "../platform/graphics/graphics_test_canvas.h"
#include "geometry/quartz_path_context.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::QuartzElement;
using platform::QuartzPathBuilder;

namespace {

BezierPath openPolyline() {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({10, 0});
  path.lineTo({10, 10});
  return path;
}

TEST(QuartzPathConversion, EmptyPathGivesNoQuartzPath) {
  EXPECT_FALSE(quartzPath(BezierPath()).has_value());
  EXPECT_FALSE(mutableQuartzPath(BezierPath()).has_value());
}

TEST(QuartzPathConversion, OpenSubpathStaysOpenBothWays) {
  const auto quartz = quartzPath(openPolyline());
  ASSERT_TRUE(quartz.has_value());
  ASSERT_EQ(quartz->elementCount(), 3);
  for (const auto& element : quartz->elements()) EXPECT_NE(element.kind, QuartzElement::Close);

  const BezierPath back = bezierPathWithCGPath(*quartz);
  ASSERT_EQ(back.elementCount(), 3);
  EXPECT_EQ(back.elementAt(0), PathElement::Move);
  EXPECT_EQ(back.elementAt(1), PathElement::Line);
  EXPECT_EQ(back.elementAt(2), PathElement::Line);
  Point points[3];
  back.elementAt(2, points);
  EXPECT_EQ(points[0], (Point{10, 10}));
}

TEST(QuartzPathConversion, CurvesKeepControlOrderAndClosesSurvive) {
  BezierPath path;
  path.moveTo({0, 0});
  path.curveTo({30, 0}, {10, 20}, {20, 20});
  path.closePath();
  const auto quartz = quartzPath(path);
  ASSERT_TRUE(quartz.has_value());
  ASSERT_EQ(quartz->elementCount(), 3);
  const auto& cubic = quartz->elements()[1];
  EXPECT_EQ(cubic.kind, QuartzElement::Cubic);
  EXPECT_EQ(cubic.points[0], (Point{10, 20}));
  EXPECT_EQ(cubic.points[1], (Point{20, 20}));
  EXPECT_EQ(cubic.points[2], (Point{30, 0}));
  EXPECT_EQ(quartz->elements()[2].kind, QuartzElement::Close);
  EXPECT_EQ(bezierPathWithCGPath(*quartz), BezierPath(path));
}

TEST(QuartzPathConversion, QuadraticBecomesCubicWithBothControlsOnItsControlPoint) {
  QuartzPathBuilder builder;
  builder.moveTo({0, 0});
  builder.quadCurveTo({10, 10}, {20, 0});
  const BezierPath path = bezierPathWithCGPath(builder.copy());
  ASSERT_EQ(path.elementCount(), 2);
  Point points[3];
  ASSERT_EQ(path.elementAt(1, points), PathElement::Curve);
  EXPECT_EQ(points[0], (Point{10, 10}));
  EXPECT_EQ(points[1], (Point{10, 10}));
  EXPECT_EQ(points[2], (Point{20, 0}));
}

TEST(QuartzPathContext, PathReadsBackFromTheContext) {
  platform::testing::GraphicsCanvas canvas(20, 20);
  BezierPath path = openPolyline();
  path.closePath();
  setQuartzPathInContext(path, canvas.context(), true);
  EXPECT_EQ(bezierPathWithPathFromContext(canvas.context()), BezierPath(path));

  // Without a new path the elements add to what the context holds.
  setQuartzPathInContext(openPolyline(), canvas.context(), false);
  EXPECT_EQ(bezierPathWithPathFromContext(canvas.context()).elementCount(), path.elementCount() + 3);
}

TEST(QuartzPathContext, StrokeAttributesReachTheContext) {
  platform::testing::GraphicsCanvas canvas(20, 20);
  BezierPath path = openPolyline();
  path.setLineWidth(3);
  path.setLineCapStyle(platform::LineCap::Round);
  path.setLineJoinStyle(platform::LineJoin::Bevel);
  path.setMiterLimit(4);
  const double dash[] = {5, 2, 1};
  path.setLineDash(dash, 3, 1.5);
  setQuartzPathInContext(path, canvas.context(), true);
  cairo_t* cr = canvas.context().cairo();
  EXPECT_EQ(cairo_get_line_width(cr), 3);
  EXPECT_EQ(cairo_get_line_cap(cr), CAIRO_LINE_CAP_ROUND);
  EXPECT_EQ(cairo_get_line_join(cr), CAIRO_LINE_JOIN_BEVEL);
  EXPECT_EQ(cairo_get_miter_limit(cr), 4);
  ASSERT_EQ(cairo_get_dash_count(cr), 3);
  double pattern[3];
  double phase = 0;
  cairo_get_dash(cr, pattern, &phase);
  EXPECT_EQ(pattern[0], 5);
  EXPECT_EQ(pattern[2], 1);
  EXPECT_EQ(phase, 1.5);

  // A path without a dash clears it; a dash Cairo would reject does too, and the context stays usable.
  setQuartzPathInContext(openPolyline(), canvas.context(), true);
  EXPECT_EQ(cairo_get_dash_count(cr), 0);
  const double negative[] = {4, -1};
  path.setLineDash(negative, 2, 0);
  setQuartzPathInContext(path, canvas.context(), true);
  EXPECT_EQ(cairo_get_dash_count(cr), 0);
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
}

TEST(QuartzPathContext, LongDashesAreCarriedWhole) {
  platform::testing::GraphicsCanvas canvas(20, 20);
  BezierPath path = openPolyline();
  std::vector<double> dash(40);
  for (std::size_t i = 0; i < dash.size(); ++i) dash[i] = static_cast<double>(i + 1);
  path.setLineDash(dash.data(), static_cast<int>(dash.size()), 0);
  setQuartzPathInContext(path, canvas.context(), true);
  cairo_t* cr = canvas.context().cairo();
  ASSERT_EQ(cairo_get_dash_count(cr), 40);
  std::vector<double> read(40);
  double phase = 0;
  cairo_get_dash(cr, read.data(), &phase);
  EXPECT_EQ(read, dash);
}

TEST(QuartzPathContext, SetQuartzPathNeedsACurrentContext) {
  EXPECT_EQ(setQuartzPath(openPolyline()), nullptr);
  platform::testing::GraphicsCanvas canvas(20, 20);
  platform::CurrentContextScope scope(canvas.context());
  EXPECT_EQ(setQuartzPath(openPolyline()), &canvas.context());
  EXPECT_EQ(bezierPathWithPathFromContext(canvas.context()).elementCount(), 3);
}

}  // namespace
