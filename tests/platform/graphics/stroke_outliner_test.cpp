#include "platform/graphics/stroke_outliner.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace platform {
namespace {

// A path written once and traced twice: into a BezierPath for the outliner and
// straight into Cairo for the reference stroke, so the reference does not lean
// on BezierPath at all.
struct Step {
  PathElement kind;
  Point a{}, b{}, c{};  // a move or line uses a; a curve is control a, control b, end c
};
using Shape = std::vector<Step>;

Shape polyline(std::initializer_list<Point> points, bool closed = false) {
  Shape shape;
  for (Point p : points) shape.push_back({shape.empty() ? PathElement::Move : PathElement::Line, p});
  if (closed) shape.push_back({PathElement::Close});
  return shape;
}

Shape withCurve(Shape shape, Point control1, Point control2, Point end) {
  shape.push_back({PathElement::Curve, control1, control2, end});
  return shape;
}

Shape joined(Shape first, const Shape& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// An ellipse from four quarter-turn cubics.
Shape ellipse(Point center, double rx, double ry) {
  constexpr double k = 0.5522847498;
  Shape shape{{PathElement::Move, {center.x + rx, center.y}}};
  const Point ends[4] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};
  Point from{1, 0};
  for (Point to : ends) {
    shape.push_back({PathElement::Curve,
                     {center.x + rx * (from.x + k * to.x), center.y + ry * (from.y + k * to.y)},
                     {center.x + rx * (to.x + k * from.x), center.y + ry * (to.y + k * from.y)},
                     {center.x + rx * to.x, center.y + ry * to.y}});
    from = to;
  }
  shape.push_back({PathElement::Close});
  return shape;
}

BezierPath bezierOf(const Shape& shape) {
  BezierPath path;
  for (const Step& step : shape) {
    switch (step.kind) {
      case PathElement::Move: path.moveTo(step.a); break;
      case PathElement::Line: path.lineTo(step.a); break;
      case PathElement::Curve: path.curveTo(step.c, step.a, step.b); break;
      case PathElement::Close: path.closePath(); break;
    }
  }
  return path;
}

void trace(cairo_t* cr, const Shape& shape) {
  for (const Step& step : shape) {
    switch (step.kind) {
      case PathElement::Move: cairo_move_to(cr, step.a.x, step.a.y); break;
      case PathElement::Line: cairo_line_to(cr, step.a.x, step.a.y); break;
      case PathElement::Curve: cairo_curve_to(cr, step.a.x, step.a.y, step.b.x, step.b.y, step.c.x, step.c.y); break;
      case PathElement::Close: cairo_close_path(cr); break;
    }
  }
}

void trace(cairo_t* cr, const BezierPath& path) {
  Point p[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    switch (path.elementAt(i, p)) {
      case PathElement::Move: cairo_move_to(cr, p[0].x, p[0].y); break;
      case PathElement::Line: cairo_line_to(cr, p[0].x, p[0].y); break;
      case PathElement::Curve: cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y); break;
      case PathElement::Close: cairo_close_path(cr); break;
    }
  }
}

// Coverage of one drawing in an A8 image, device pixel = `scale` units.
struct Raster {
  int width = 0;
  int height = 0;
  std::vector<int> alpha;  // 0..255, row by row
};

Raster rasterise(const std::function<void(cairo_t*)>& draw, double scale, int width = 400, int height = 300,
                 Point shift = {}) {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_A8, width, height), cairo_surface_destroy);
  {
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
    cairo_scale(cr.get(), scale, scale);
    cairo_translate(cr.get(), shift.x, shift.y);
    draw(cr.get());
    EXPECT_EQ(cairo_status(cr.get()), CAIRO_STATUS_SUCCESS);
  }
  cairo_surface_flush(surface.get());
  Raster raster{width, height, {}};
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) raster.alpha.push_back(data[y * stride + x]);
  }
  return raster;
}

Raster cairoStroke(const Shape& shape, const StrokeStyle& style, double scale) {
  return rasterise(
      [&](cairo_t* cr) {
        trace(cr, shape);
        cairo_set_line_width(cr, style.width);
        cairo_set_line_cap(cr, static_cast<cairo_line_cap_t>(style.cap));
        cairo_set_line_join(cr, static_cast<cairo_line_join_t>(style.join));
        cairo_set_miter_limit(cr, style.miterLimit);
        cairo_set_dash(cr, style.dash.data(), static_cast<int>(style.dash.size()), style.dashPhase);
        cairo_stroke(cr);
      },
      scale);
}

Raster outlineFill(const BezierPath& outline, double scale, int width = 400, int height = 300, Point shift = {}) {
  return rasterise(
      [&](cairo_t* cr) {
        trace(cr, outline);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
      },
      scale, width, height, shift);
}

long paintedPixels(const Raster& raster) {
  return std::count_if(raster.alpha.begin(), raster.alpha.end(), [](int a) { return a > 0; });
}

// Area covered in units², from coverage summed over the image.
double coveredArea(const Raster& raster, double scale) {
  double sum = 0;
  for (int a : raster.alpha) sum += a / 255.0;
  return sum / (scale * scale);
}

// Both sides anti-alias the same edges, which may sit apart by Cairo's own
// tolerance (0.1 px) plus the outliner's 0.05 units (0.1 px at 2 px per unit).
// Such a shift changes a pixel's coverage by well under a half, and touches only
// a thin rim of edge pixels. A missing join, cap or dash moves whole pixels by
// the full 255, so both limits catch real faults.
constexpr int kNoticeable = 26;        // a tenth of full coverage
constexpr int kAntiAliasLimit = 128;   // half of full coverage
constexpr double kDifferingShare = 0.005;

void expectSameCoverage(const Raster& expected, const Raster& actual) {
  ASSERT_EQ(expected.alpha.size(), actual.alpha.size());
  long differing = 0;
  int worst = 0;
  for (std::size_t i = 0; i < expected.alpha.size(); ++i) {
    const int difference = std::abs(expected.alpha[i] - actual.alpha[i]);
    if (difference > kNoticeable) ++differing;
    worst = std::max(worst, difference);
  }
  EXPECT_LE(static_cast<double>(differing) / static_cast<double>(expected.alpha.size()), kDifferingShare)
      << differing << " pixels differ noticeably";
  EXPECT_LE(worst, kAntiAliasLimit);
}

// --- Against Cairo's own stroke ---

struct CairoCase {
  std::string name;
  Shape shape;
  StrokeStyle style;
};

std::ostream& operator<<(std::ostream& os, const CairoCase& c) { return os << c.name; }

StrokeStyle style(double width, LineCap cap, LineJoin join, double miterLimit = 10, std::vector<double> dash = {},
                  double phase = 0) {
  return {width, cap, join, miterLimit, std::move(dash), phase};
}

// Interior angles 26° (miter ratio 4.4), 20° (5.8), 11° (10.7) and 78° (1.6):
// under limit 1 all bevel, under 4 only the last is mitred, under 10 all but the third.
const Shape kSharpZigzag = polyline({{20, 115}, {40, 30}, {60, 115}, {70, 30}, {76, 115}, {180, 85}});
// Turns of 15° to 30°.
const Shape kShallowZigzag = polyline({{15, 80}, {60, 70}, {100, 80}, {140, 60}, {185, 75}});
const Shape kSCurve = withCurve(polyline({{20, 120}}), {80, -40}, {120, 190}, {180, 30});
const Shape kRectangle = polyline({{40, 30}, {160, 30}, {160, 120}, {40, 120}}, true);
const Shape kOval = ellipse({100, 75}, 70, 45);

std::vector<CairoCase> cairoCases() {
  std::vector<CairoCase> cases = {
      {"LineButt", polyline({{20, 75}, {180, 75}}), style(10, LineCap::Butt, LineJoin::Miter)},
      {"LineRoundCaps", polyline({{20, 40}, {180, 110}}), style(14, LineCap::Round, LineJoin::Miter)},
      {"DiagonalSquareCaps", polyline({{30, 20}, {170, 130}}), style(12, LineCap::Square, LineJoin::Miter)},
      {"UTurnRound", polyline({{30, 60}, {170, 60}, {40, 90}}), style(16, LineCap::Butt, LineJoin::Round)},
      {"UTurnBevel", polyline({{30, 60}, {170, 60}, {30, 60.5}}), style(16, LineCap::Square, LineJoin::Bevel)},
      {"CurveRoundJoins", kSCurve, style(9, LineCap::Round, LineJoin::Round)},
      {"CurveMiterJoins", kSCurve, style(9, LineCap::Butt, LineJoin::Miter)},
      {"TightCurveWideStroke", withCurve(polyline({{60, 110}}), {200, 0}, {0, 0}, {140, 110}),
       style(30, LineCap::Butt, LineJoin::Bevel)},
      // A right angle's miter ratio is √2 ≈ 1.414: just either side of it.
      {"RightAngleJustWithinMiterLimit", polyline({{30, 30}, {170, 30}, {170, 130}}),
       style(20, LineCap::Butt, LineJoin::Miter, 1.42)},
      {"RightAngleJustBeyondMiterLimit", polyline({{30, 30}, {170, 30}, {170, 130}}),
       style(20, LineCap::Butt, LineJoin::Miter, 1.41)},
      {"RectangleMiter", kRectangle, style(12, LineCap::Butt, LineJoin::Miter)},
      {"RectangleRound", kRectangle, style(12, LineCap::Round, LineJoin::Round)},
      {"RectangleBevel", kRectangle, style(12, LineCap::Square, LineJoin::Bevel)},
      {"Oval", kOval, style(8, LineCap::Butt, LineJoin::Miter)},
      {"TwoSubpaths", joined(polyline({{20, 20}, {90, 130}}), polyline({{110, 130}, {180, 20}, {180, 100}}, true)),
       style(7, LineCap::Round, LineJoin::Miter)},
      {"DashedPolylineWithPhase", kShallowZigzag, style(6, LineCap::Butt, LineJoin::Miter, 10, {12, 5, 3, 5}, 7)},
      {"DashedCurveRoundCaps", kSCurve, style(6, LineCap::Round, LineJoin::Round, 10, {15, 10}, 22)},
      {"DashedOddPattern", kSharpZigzag, style(4, LineCap::Square, LineJoin::Bevel, 10, {9}, 2)},
      {"DashedNegativePhase", kShallowZigzag, style(6, LineCap::Butt, LineJoin::Round, 10, {20, 6}, -31)},
      // The dash is on through the start corner, so the piece crossing the close turns there with a miter.
      {"DashAcrossCloseMiter", kRectangle, style(10, LineCap::Butt, LineJoin::Miter, 10, {50, 20}, 30)},
      {"DashAcrossCloseRound", kOval, style(10, LineCap::Round, LineJoin::Round, 10, {40, 25}, 15)},
      {"DashLongerThanRectangle", kRectangle, style(10, LineCap::Butt, LineJoin::Miter, 10, {1000, 10})},
      // The phase lands exactly where the first dash ends: no dot of it is left at the start.
      {"DashPhaseOnEntryBoundary", polyline({{20, 75}, {180, 75}}),
       style(10, LineCap::Round, LineJoin::Miter, 10, {10, 15}, 10)},
      // A dash starts exactly at the open end: none of its length shows, but its caps make a dot.
      {"DashStartingAtOpenEnd", polyline({{20, 75}, {180, 75}}),
       style(10, LineCap::Round, LineJoin::Miter, 10, {20, 20})},
      {"DashRestartsAtEachSubpath", joined(polyline({{20, 40}, {180, 40}}), polyline({{30, 110}, {180, 110}})),
       style(10, LineCap::Butt, LineJoin::Miter, 10, {15, 10}, 5)},
      {"RoundDots", kSCurve, style(8, LineCap::Round, LineJoin::Miter, 10, {0, 14})},
      {"RoundDotsOnRectangle", kRectangle, style(10, LineCap::Round, LineJoin::Miter, 10, {0, 30}, 5)},
      {"SquareDotsAlongDiagonal", polyline({{30, 20}, {170, 130}}), style(10, LineCap::Square, LineJoin::Miter, 10,
                                                                            {0, 20})},
      {"ZeroLengthSubpathRound", polyline({{100, 75}, {100, 75}}), style(30, LineCap::Round, LineJoin::Miter)},
      {"MoveThenCloseRound", polyline({{100, 75}}, true), style(30, LineCap::Round, LineJoin::Bevel)},
  };
  const std::pair<const char*, Shape> zigzags[] = {{"Sharp", kSharpZigzag}, {"Shallow", kShallowZigzag}};
  for (const auto& [zigzagName, shape] : zigzags) {
    for (double limit : {1.0, 4.0, 10.0}) {
      cases.push_back({std::string(zigzagName) + "MiterLimit" + std::to_string(static_cast<int>(limit)), shape,
                       style(6, LineCap::Butt, LineJoin::Miter, limit)});
    }
    cases.push_back({std::string(zigzagName) + "Round", shape, style(6, LineCap::Round, LineJoin::Round)});
    cases.push_back({std::string(zigzagName) + "Bevel", shape, style(6, LineCap::Square, LineJoin::Bevel)});
  }
  return cases;
}

class StrokeOutlineMatchesCairo : public testing::TestWithParam<CairoCase> {};

TEST_P(StrokeOutlineMatchesCairo, FilledNonZeroCoversWhatCairoStrokes) {
  const CairoCase& c = GetParam();
  constexpr double scale = 2;
  const Raster expected = cairoStroke(c.shape, c.style, scale);
  ASSERT_GT(paintedPixels(expected), 100) << "the case must paint something to compare";
  expectSameCoverage(expected, outlineFill(strokedOutline(bezierOf(c.shape), c.style), scale));
}

INSTANTIATE_TEST_SUITE_P(Shapes, StrokeOutlineMatchesCairo, testing::ValuesIn(cairoCases()),
                         [](const testing::TestParamInfo<CairoCase>& info) { return info.param.name; });

TEST(StrokeOutline, UsesThePathsOwnAttributes) {
  BezierPath path = bezierOf(kSharpZigzag);
  path.setLineWidth(7);
  path.setLineCapStyle(LineCap::Round);
  path.setLineJoinStyle(LineJoin::Miter);
  path.setMiterLimit(4);
  const double dash[] = {25, 8};
  path.setLineDash(dash, 2, 4);
  const StrokeStyle expectedStyle = style(7, LineCap::Round, LineJoin::Miter, 4, {25, 8}, 4);
  expectSameCoverage(cairoStroke(kSharpZigzag, expectedStyle, 2), outlineFill(strokedOutline(path), 2));
}

// --- Exact areas and bounds ---

TEST(StrokeOutlineArea, ButtLineIsItsRectangle) {
  const BezierPath outline = strokedOutline(bezierOf(polyline({{0, 0}, {100, 0}})), style(4, LineCap::Butt,
                                                                                        LineJoin::Miter));
  EXPECT_EQ(outline.bounds(), Rect(0, -2, 100, 4));
  EXPECT_EQ(outline.windingRule(), WindingRule::NonZero);
  // Shifted into view at 4 px per unit; every edge falls on a pixel boundary.
  EXPECT_NEAR(coveredArea(outlineFill(outline, 4, 420, 100, {2, 10}), 4), 400, 0.5);
}

TEST(StrokeOutlineArea, MitredSquareIsTheDifferenceOfTwoSquares) {
  for (double w : {2.0, 6.0, 20.0}) {
    const double s = 50;
    const BezierPath outline =
        strokedOutline(bezierOf(polyline({{20, 20}, {20 + s, 20}, {20 + s, 20 + s}, {20, 20 + s}}, true)),
                       style(w, LineCap::Butt, LineJoin::Miter));
    const double expected = (s + w) * (s + w) - (s - w) * (s - w);
    EXPECT_NEAR(coveredArea(outlineFill(outline, 4, 400, 400), 4), expected, expected * 1e-3) << "width " << w;
    EXPECT_EQ(outline.bounds(), Rect(20 - w / 2, 20 - w / 2, s + w, s + w));
  }
}

// Cairo leaves a zero-length subpath with square caps out altogether, so the
// axis-aligned square is checked here rather than against Cairo.
TEST(StrokeOutlineArea, ZeroLengthSubpathsFollowTheCap) {
  const Shape dot = polyline({{50, 40}, {50, 40}});
  const BezierPath disc = strokedOutline(bezierOf(dot), style(40, LineCap::Round, LineJoin::Miter));
  EXPECT_NEAR(coveredArea(outlineFill(disc, 4), 4), std::numbers::pi * 20 * 20, 2);
  const BezierPath square = strokedOutline(bezierOf(dot), style(40, LineCap::Square, LineJoin::Round));
  EXPECT_EQ(square.bounds(), Rect(30, 20, 40, 40));
  EXPECT_NEAR(coveredArea(outlineFill(square, 4), 4), 1600, 1);
  EXPECT_TRUE(strokedOutline(bezierOf(dot), style(40, LineCap::Butt, LineJoin::Round)).isEmpty());
  // A move closed straight away is zero-length too.
  BezierPath closed;
  closed.moveTo({50, 40});
  closed.closePath();
  EXPECT_EQ(strokedOutline(closed, style(40, LineCap::Square, LineJoin::Miter)).bounds(), Rect(30, 20, 40, 40));
}

TEST(StrokeOutlineArea, SquareDotsTurnWithThePath) {
  // A zero-length dash on a 45° line: a square of side 10 turned 45° spans 10√2.
  const BezierPath outline = strokedOutline(bezierOf(polyline({{0, 0}, {100, 100}})),
                                            style(10, LineCap::Square, LineJoin::Miter, 10, {0, 1000}));
  const Rect box = outline.bounds();
  EXPECT_NEAR(box.size.width, 10 * std::numbers::sqrt2, 1e-9);
  EXPECT_NEAR(box.origin.x, -5 * std::numbers::sqrt2, 1e-9);
}

// --- Winding ---

double signedArea(const std::vector<Point>& contour) {
  double twice = 0;
  for (std::size_t i = 0; i < contour.size(); ++i) {
    const Point a = contour[i];
    const Point b = contour[(i + 1) % contour.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2;
}

TEST(StrokeOutlineWinding, EveryPieceRunsCounterClockwise) {
  // Joins turning both ways, caps, dots and dash ends, all in one outline.
  const Shape shape = joined(joined(kSharpZigzag, kSCurve), polyline({{150, 20}, {150, 20}}));
  for (LineJoin join : {LineJoin::Miter, LineJoin::Round, LineJoin::Bevel}) {
    for (LineCap cap : {LineCap::Butt, LineCap::Round, LineCap::Square}) {
      const BezierPath flat = strokedOutline(bezierOf(shape), style(6, cap, join, 10, {20, 5, 0, 5})).
                              bezierPathByFlatteningPath();
      std::vector<Point> contour;
      int contours = 0;
      Point p[3];
      for (int i = 0; i < flat.elementCount(); ++i) {
        const PathElement kind = flat.elementAt(i, p);
        if (kind == PathElement::Close) {
          EXPECT_GE(signedArea(contour), -1e-9) << "contour " << contours;
          ++contours;
          contour.clear();
        } else {
          contour.push_back(p[0]);
        }
      }
      EXPECT_GT(contours, 20);
      EXPECT_TRUE(contour.empty()) << "every piece is closed";
    }
  }
}

// --- Degenerate and hostile input ---

TEST(StrokeOutlineDegenerate, NothingToStrokeGivesAnEmptyPath) {
  const BezierPath line = bezierOf(polyline({{0, 0}, {10, 0}}));
  EXPECT_TRUE(strokedOutline(BezierPath(), style(5, LineCap::Round, LineJoin::Round)).isEmpty());
  for (double width : {0.0, -3.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    EXPECT_TRUE(strokedOutline(line, style(width, LineCap::Round, LineJoin::Round)).isEmpty()) << width;
  }
  BezierPath loneMoves;
  loneMoves.moveTo({5, 5});
  loneMoves.moveTo({9, 9});
  EXPECT_TRUE(strokedOutline(loneMoves, style(5, LineCap::Round, LineJoin::Round)).isEmpty());
}

TEST(StrokeOutlineDegenerate, UnusableDashesStrokeSolid) {
  const BezierPath path = bezierOf(kShallowZigzag);
  const BezierPath solid = strokedOutline(path, style(6, LineCap::Round, LineJoin::Round));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const std::vector<double>& dash : std::vector<std::vector<double>>{
           {5, -1}, {0, 0, 0}, {nan, 4}, {1e-9, 1e-9}, {std::numeric_limits<double>::infinity(), 2}}) {
    EXPECT_EQ(strokedOutline(path, style(6, LineCap::Round, LineJoin::Round, 10, dash, 3)), solid) << dash[0];
  }
  // And solid is what Cairo paints without a dash.
  expectSameCoverage(cairoStroke(kShallowZigzag, style(6, LineCap::Round, LineJoin::Round), 2), outlineFill(solid, 2));
}

TEST(StrokeOutlineDegenerate, RepeatedAndNonFinitePointsLeaveNoNaN) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  BezierPath path;
  path.moveTo({10, 10});
  path.lineTo({10, 10});
  path.lineTo({60, 10});
  path.lineTo({60, 10});
  path.lineTo({nan, 5});
  path.curveTo({60, 10}, {60, 10}, {60, 10});
  path.lineTo({60, 60});
  path.closePath();
  for (LineJoin join : {LineJoin::Miter, LineJoin::Round, LineJoin::Bevel}) {
    const BezierPath outline = strokedOutline(path, style(4, LineCap::Round, join, 1e300));
    ASSERT_FALSE(outline.isEmpty());
    Point p[3];
    for (int i = 0; i < outline.elementCount(); ++i) {
      if (outline.elementAt(i, p) == PathElement::Close) continue;
      for (Point q : p) EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y)) << "element " << i;
    }
    // The triangle (10,10)-(60,10)-(60,60) stroked 4 wide stays within 2 units of
    // it, apart from the miter at its 45° corners (2/sin(22.5°) ≈ 5.3 units).
    const Rect box = outline.bounds();
    EXPECT_GE(box.origin.x, 10 - 5.3);
    EXPECT_LE(box.origin.x + box.size.width, 62 + 1e-9);
  }
}

TEST(StrokeOutlineDegenerate, SubnormalSegmentsKeepTheirDirection) {
  // Lengths near 1e-308: the reciprocal of such a length overflows.
  const double unit = std::ldexp(1.0, -1070);
  const BezierPath outline = strokedOutline(bezierOf(polyline({{0, 0}, {5 * unit, 0}, {5 * unit, 3 * unit}})),
                                            style(1, LineCap::Butt, LineJoin::Bevel));
  // Half a unit on each side of both segments, which are too short to show at this width.
  EXPECT_EQ(outline.bounds(), Rect(-0.5, -0.5, 1, 1));
}

}  // namespace
}  // namespace platform
