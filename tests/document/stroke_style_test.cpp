#include "document/CMStroke.h"

#include <gtest/gtest.h>

#include "style_canvas.h"

using platform::Array;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::LineDash;

namespace {

DictRef redStroke(std::initializer_list<std::pair<std::string_view, platform::Value>> more = {}) {
  DictRef record = Dictionary::make(more);
  record->set("type", 1);
  record->set("color", Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}}));
  return record;
}

BezierPath horizontalLine() {
  BezierPath path;
  path.moveTo({0, 50});
  path.lineTo({200, 50});
  return path;
}

LineDash dashOf(std::vector<double> pattern) { return LineDash{std::move(pattern), 0}; }

TEST(StrokeAttributes, WidthScalesWithZoomAndStaysOnThePath) {
  BezierPath path = horizontalLine();
  CMStroke::strokeWithDictionary(redStroke({{"lineWidth", 2}, {"lineJoinStyle", 1}, {"lineCapStyle", 2}}))
      .strokePath(path, 3);
  EXPECT_EQ(path.lineWidth(), 6);
  EXPECT_EQ(path.lineJoinStyle(), platform::LineJoin::Round);
  EXPECT_EQ(path.lineCapStyle(), platform::LineCap::Square);
}

TEST(StrokeAttributes, StylesOutOfRangeFallBackToTheDefaults) {
  BezierPath path = horizontalLine();
  path.setLineJoinStyle(platform::LineJoin::Round);
  CMStroke(redStroke({{"lineJoinStyle", 9}, {"lineCapStyle", -1}})).strokePath(path, 1);
  EXPECT_EQ(path.lineJoinStyle(), platform::LineJoin::Miter);
  EXPECT_EQ(path.lineCapStyle(), platform::LineCap::Butt);
}

TEST(StrokeAttributes, DashOffsetIsWhereThePatternStartsAndBothZoomAsTheWidthDoes) {
  const CMStroke stroke(
      redStroke({{"dashStyle", 1}, {"dashPoints", Array::make({4, 2})}, {"stroke-dashoffset", 1.5}}));
  for (const float zoom : {1.0f, 0.25f, 7.0f}) {
    BezierPath path = horizontalLine();
    stroke.strokePath(path, zoom);
    EXPECT_EQ(path.lineDash(), (LineDash{{4.0 * zoom, 2.0 * zoom}, 1.5 * zoom})) << zoom;
  }
}

TEST(StrokeAttributes, FractionalEntriesAndAnyCount) {
  BezierPath path = horizontalLine();
  CMStroke(redStroke({{"dashStyle", 1}, {"dashPoints", Array::make({1.5, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                                      16, 17, 18})}}))
      .strokePath(path, 1);
  ASSERT_EQ(path.lineDash().pattern.size(), 18u);
  EXPECT_EQ(path.lineDash().pattern.front(), 1.5);
  EXPECT_EQ(path.lineDash().pattern.back(), 18);
}

TEST(StrokeAttributes, SolidWhenNotDashed) {
  BezierPath path = horizontalLine();
  CMStroke(redStroke({{"dashStyle", 1}, {"dashPoints", Array::make({0, 0})}})).strokePath(path, 1);
  EXPECT_TRUE(path.lineDash().pattern.empty());
  // Without points the style panel's dots: never solid.
  CMStroke(redStroke({{"dashStyle", 1}, {"dashPoints", Array::make()}})).strokePath(path, 1);
  EXPECT_FALSE(path.lineDash().pattern.empty());
  CMStroke(redStroke({{"dashStyle", 0}, {"dashPoints", Array::make({4, 2})}})).strokePath(path, 1);
  EXPECT_TRUE(path.lineDash().pattern.empty());
}

TEST(StrokeAttributes, DashedThenSolidOnTheSamePathIsSolid) {
  BezierPath path = horizontalLine();
  CMStroke(redStroke({{"dashStyle", 1}, {"dashPoints", Array::make({4, 2})}})).strokePath(path, 1);
  EXPECT_EQ(path.lineDash(), dashOf({4, 2}));
  CMStroke(redStroke()).strokePath(path, 1);
  EXPECT_TRUE(path.lineDash().pattern.empty());
}

TEST(StrokeAttributes, LengthsBelowZeroAreClamped) {
  BezierPath path = horizontalLine();
  // A negative offset leaves the lengths as they are.
  CMStroke(redStroke({{"dashStyle", 1}, {"dashPoints", Array::make({4, 2})}, {"stroke-dashoffset", -3}}))
      .strokePath(path, 1);
  EXPECT_EQ(path.lineDash(), (LineDash{{4, 2}, -3}));
  // Every length gone: solid, never a dash Cairo would reject.
  CMStroke(redStroke({{"dashStyle", 1}, {"dashPoints", Array::make({-4, 0})}, {"stroke-dashoffset", 5}}))
      .strokePath(path, 1);
  EXPECT_TRUE(path.lineDash().pattern.empty());
  // A negative entry is kept as 0 beside one above 0.
  CMStroke(redStroke({{"dashStyle", 1}, {"dashPoints", Array::make({-1, 4})}, {"stroke-dashoffset", 2}}))
      .strokePath(path, 1);
  EXPECT_EQ(path.lineDash(), (LineDash{{0, 4}, 2}));
}

class StrokePaint : public document_testing::StyleCanvasTest {
 protected:
  // A 60 × 60 square at (20, 20); at width 10 a centred band spans 15…25 on its left side.
  static BezierPath square() { return BezierPath::rect({20, 20, 60, 60}); }
};

TEST_F(StrokePaint, ModesPlaceTheBand) {
  BezierPath centred = square();
  CMStroke(redStroke({{"lineWidth", 5}, {"mode", 0}})).strokePath(centred, 2);
  EXPECT_EQ(at(16, 50).r, 255);
  EXPECT_EQ(at(24, 50).r, 255);
  EXPECT_EQ(at(26, 50).a, 0);

  BezierPath inside = BezierPath::rect({120, 20, 60, 60});
  CMStroke(redStroke({{"lineWidth", 10}, {"mode", 1}})).strokePath(inside, 1);
  EXPECT_EQ(at(125, 50).r, 255);
  EXPECT_EQ(at(115, 50).a, 0);
  EXPECT_EQ(at(135, 50).a, 0);
}

TEST_F(StrokePaint, AnyOtherModeStrokesOutside) {
  BezierPath path = square();
  CMStroke(redStroke({{"lineWidth", 10}, {"mode", 5}})).strokePath(path, 1);
  EXPECT_EQ(at(15, 50).r, 255);
  EXPECT_EQ(at(25, 50).a, 0);
  EXPECT_EQ(at(5, 50).a, 0);
}

TEST_F(StrokePaint, InsideStrokeRespectsTheCallersClip) {
  context().clipToRect({0, 0, 50, 100});
  BezierPath path = square();
  CMStroke(redStroke({{"lineWidth", 10}, {"mode", 1}})).strokePath(path, 1);
  EXPECT_EQ(at(25, 50).r, 255);
  EXPECT_EQ(at(75, 50).a, 0);
}

TEST_F(StrokePaint, GradientStrokeIgnoresTheMode) {
  const DictRef gradient = Dictionary::make(
      {{"type", 0},
       {"markers", Array::make({Dictionary::make({{"pos", 0}, {"red", 0}, {"green", 1}, {"blue", 0}}),
                                Dictionary::make({{"pos", 1}, {"red", 0}, {"green", 1}, {"blue", 0}})})}});
  BezierPath path = square();
  CMStroke(Dictionary::make({{"type", 3}, {"lineWidth", 10}, {"mode", 1}, {"gradient", gradient}})).strokePath(path, 1);
  EXPECT_EQ(at(17, 50).g, 255);  // outside the path: centred
  EXPECT_EQ(at(23, 50).g, 255);
  EXPECT_EQ(at(27, 50).a, 0);
}

TEST_F(StrokePaint, DashedStrokeLeavesGaps) {
  BezierPath path = horizontalLine();
  CMStroke(redStroke({{"lineWidth", 4}, {"dashStyle", 1}, {"dashPoints", Array::make({10, 10})}})).strokePath(path, 1);
  EXPECT_EQ(at(5, 50).r, 255);
  EXPECT_EQ(at(15, 50).a, 0);
  EXPECT_EQ(at(25, 50).r, 255);
}

TEST_F(StrokePaint, ImageStrokesWithItsPattern) {
  const platform::Bytes png = document_testing::pngOf({4, 4}, platform::Color(0, 0, 1, 1));
  BezierPath path = square();
  // The draw type is not read for strokes: the image always tiles.
  CMStroke(Dictionary::make({{"type", 2}, {"image_draw_type", 1}, {"lineWidth", 10}, {"image", png}})).strokePath(path, 1);
  EXPECT_EQ(at(17, 50).b, 255);
  EXPECT_EQ(at(50, 77).b, 255);
  EXPECT_EQ(at(50, 50).a, 0);
}

TEST_F(StrokePaint, MissingImagePaintsNothing) {
  BezierPath path = square();
  CMStroke(Dictionary::make({{"type", 2}, {"lineWidth", 10}, {"image_path", "/nonexistent/stroke.png"}}))
      .strokePath(path, 1);
  EXPECT_EQ(at(20, 50).a, 0);
  EXPECT_EQ(path.lineWidth(), 10);
}

}  // namespace
