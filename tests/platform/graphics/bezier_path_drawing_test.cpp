#include "platform/graphics/bezier_path_drawing.h"

#include <gtest/gtest.h>

#include "cairo_test_surface.h"

namespace platform {
namespace {

using testing::TestSurface;

BezierPath horizontalLine(double y, double x0, double x1) {
  BezierPath line;
  line.moveTo({x0, y});
  line.lineTo({x1, y});
  return line;
}

TEST(BezierPathDrawing, FillUsesThePathsWindingRuleAndRestoresTheContexts) {
  BezierPath ring = BezierPath::rect(Rect(2, 2, 36, 36));
  ring.appendRect(Rect(12, 12, 16, 16));  // same direction as the outer square
  for (const WindingRule rule : {WindingRule::NonZero, WindingRule::EvenOdd}) {
    TestSurface surface(40, 40);
    cairo_set_fill_rule(surface.cr(), CAIRO_FILL_RULE_EVEN_ODD);
    ring.setWindingRule(rule);
    fill(ring, surface.cr());
    EXPECT_EQ(surface.alphaAt(5, 5), 255);
    EXPECT_EQ(surface.alphaAt(20, 20), rule == WindingRule::NonZero ? 255 : 0);
    EXPECT_EQ(surface.alphaAt(0, 0), 0);
    EXPECT_EQ(cairo_get_fill_rule(surface.cr()), CAIRO_FILL_RULE_EVEN_ODD);
  }
}

TEST(BezierPathDrawing, StrokeUsesWidthAndCapAndLeavesContextAttributes) {
  BezierPath line = horizontalLine(20, 10, 30);
  line.setLineWidth(6);
  for (const LineCap cap : {LineCap::Butt, LineCap::Square}) {
    TestSurface surface(40, 40);
    cairo_set_line_width(surface.cr(), 0.5);
    line.setLineCapStyle(cap);
    stroke(line, surface.cr());
    EXPECT_EQ(surface.alphaAt(20, 17), 255) << "within half the width";
    EXPECT_EQ(surface.alphaAt(20, 23), 0) << "beyond half the width";
    EXPECT_EQ(surface.alphaAt(31, 20), cap == LineCap::Square ? 255 : 0) << "square caps extend by half the width";
    EXPECT_EQ(cairo_get_line_width(surface.cr()), 0.5);
    EXPECT_EQ(cairo_get_line_cap(surface.cr()), CAIRO_LINE_CAP_BUTT);
  }
}

TEST(BezierPathDrawing, DashLeavesGapsWithThePhaseApplied) {
  BezierPath line = horizontalLine(5.5, 0, 40);
  line.setLineWidth(3);
  const double dash[] = {4, 6};
  line.setLineDash(dash, 2, 2);  // on 0..2, off 2..8, on 8..12, ...
  TestSurface surface(40, 10);
  stroke(line, surface.cr());
  EXPECT_EQ(surface.alphaAt(1, 5), 255);
  EXPECT_EQ(surface.alphaAt(5, 5), 0);
  EXPECT_EQ(surface.alphaAt(10, 5), 255);
  EXPECT_EQ(surface.alphaAt(15, 5), 0);
  EXPECT_EQ(cairo_get_dash_count(surface.cr()), 0) << "the context's own dash is untouched";
}

TEST(BezierPathDrawing, DashCairoWouldRejectStrokesSolid) {
  const double negative[] = {4, -1};
  const double zeros[] = {0, 0};
  for (const double* dash : {negative, zeros}) {
    BezierPath line = horizontalLine(5.5, 0, 40);
    line.setLineWidth(3);
    line.setLineDash(dash, 2, 0);
    TestSurface surface(40, 10);
    stroke(line, surface.cr());
    EXPECT_EQ(cairo_status(surface.cr()), CAIRO_STATUS_SUCCESS);
    for (int x = 0; x < 40; x += 3) EXPECT_EQ(surface.alphaAt(x, 5), 255) << x;
  }
}

TEST(BezierPathDrawing, ZeroWidthIsOneDevicePixelWhateverTheScale) {
  BezierPath line = horizontalLine(2.05, 0.5, 3.5);
  line.setLineWidth(0);
  TestSurface surface(40, 40);
  cairo_scale(surface.cr(), 10, 10);
  stroke(line, surface.cr());
  // A 30 device-pixel line one pixel thick: about 30 pixels touched, not 300.
  const int painted = surface.paintedPixels();
  EXPECT_GE(painted, 25);
  EXPECT_LE(painted, 70);
  EXPECT_EQ(surface.alphaAt(20, 20), 255);
}

TEST(BezierPathDrawing, AddClipIntersectsWithTheExistingClip) {
  TestSurface surface(40, 40);
  addClip(BezierPath::rect(Rect(0, 0, 20, 40)), surface.cr());
  addClip(BezierPath::ovalInRect(Rect(10, 10, 20, 20)), surface.cr());
  cairo_paint(surface.cr());
  EXPECT_EQ(surface.alphaAt(15, 20), 255);
  EXPECT_EQ(surface.alphaAt(25, 20), 0) << "inside the oval, outside the first clip";
  EXPECT_EQ(surface.alphaAt(5, 5), 0) << "inside the first clip, outside the oval";
}

TEST(BezierPathDrawing, RectangleConveniences) {
  TestSurface surface(40, 40);
  fillRect(Rect(4, 4, 8, 8), surface.cr());
  strokeRect(Rect(20.5, 20.5, 10, 10), surface.cr());
  EXPECT_EQ(surface.alphaAt(8, 8), 255);
  EXPECT_EQ(surface.alphaAt(25, 20), 255) << "one-unit outline on the edge";
  EXPECT_EQ(surface.alphaAt(25, 25), 0) << "a stroked rectangle is hollow";
}

}  // namespace
}  // namespace platform
