// Flip and align through the canvas: shapes mirror inside their own bounds and keep their place, images and
// text only change their marks, and aligned layers take the primary layer's edge.

#include <gtest/gtest.h>

#include "document/CMShapeLayer.h"
#include "layer_commands_test_support.h"
#include "platform/core/geometry_strings.h"

namespace {

using canvas_testing::filledRectangle;
using document_testing::curveRecord;
using document_testing::pointOf;
using document_testing::pointRecord;
using layer_commands_testing::defaultLayer;
using layer_commands_testing::LayerCommandsTest;
using layer_commands_testing::lineLayer;
using layer_commands_testing::pathLayer;
using layer_commands_testing::sameContent;
using layer_commands_testing::withId;
using platform::DictRef;
using platform::Point;
using platform::Rect;

Rect rectOf(const DictRef& record) { return CMEditorView::layerFromDictionary(record)->layerRect(); }

void expectRectNear(const Rect& actual, const Rect& expected, double tolerance = 1e-3) {
  EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
  EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
  EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
  EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

// The outline's points on the page, in element order.
std::vector<Point> pagePoints(const DictRef& record) {
  const platform::BezierPath path = CMEditorView::layerFromDictionary(record)->path();
  std::vector<Point> points;
  for (int index = 0; index < path.elementCount(); ++index) {
    Point element[3];
    if (path.elementAt(index, element) != platform::PathElement::Close) points.push_back(element[0]);
  }
  return points;
}

DictRef shapeOf(const DictRef& record) { return record->dictionary("shape"); }

TEST_F(LayerCommandsTest, FlipMirrorsAPathInsideItsBounds) {
  show({pathLayer(1, {pointRecord(1, {0, 0}, 1), pointRecord(2, {60, 0}, 2), pointRecord(3, {0, 40}, 2)}, {100, 50})});
  select(1);
  canvas().flipH();
  const platform::ArrayRef points = shapeOf(root(0))->array("points");
  EXPECT_EQ(pointOf(points->at(0).dictionary()), (Point{60, 0}));
  EXPECT_EQ(pointOf(points->at(1).dictionary()), (Point{0, 0}));
  EXPECT_EQ(pointOf(points->at(2).dictionary()), (Point{60, 40}));
  expectRectNear(rectOf(root(0)), {100, 50, 60, 40});
  EXPECT_TRUE(root(0)->get("dirty").boolValue());
  EXPECT_EQ(undoSteps(), 1u);
  canvas().flipV();
  EXPECT_EQ(pointOf(shapeOf(root(0))->array("points")->at(0).dictionary()), (Point{60, 40}));
  expectRectNear(rectOf(root(0)), {100, 50, 60, 40});
  undo();
  undo();
  EXPECT_EQ(pointOf(shapeOf(root(0))->array("points")->at(1).dictionary()), (Point{60, 0}));
}

TEST_F(LayerCommandsTest, FlipWritesARectangleAsPointsInPlace) {
  show({filledRectangle(1, {50, 40, 60, 30}, 200, 0, 0)});
  select(1);
  canvas().flipH();
  EXPECT_TRUE(shapeOf(root(0))->get("isbezier").boolValue());
  expectRectNear(rectOf(root(0)), {50, 40, 60, 30});
}

TEST_F(LayerCommandsTest, FlipKeepsAPenCurveInPlaceWhateverItsStartPoint) {
  // A finished pen curve: points in its own frame, its first click kept as "start_point".
  DictRef shape = platform::Dictionary::make(
      {{"isbezier", true},
       {"start_point", "{300, 200}"},
       {"points", platform::Array::make({pointRecord(1, {0, 0}, 1), curveRecord(2, {80, 30}, 4, {20, 0}, {80, 10})})}});
  show({withId(document_testing::shapeLayerRecord(6, shape, 300, 200), 1, 1)});
  const Rect before = rectOf(root(0));
  select(1);
  canvas().flipH();
  expectRectNear(rectOf(root(0)), before);
  EXPECT_EQ(pointOf(shapeOf(root(0))->array("points")->at(1).dictionary(), "control_point1"), (Point{60, 0}));
}

TEST_F(LayerCommandsTest, FlipMirrorsALineAboutItsOwnMiddle) {
  show({lineLayer(1, {10, 10}, {110, 50})});
  select(1);
  canvas().flipH();
  expectRectNear(rectOf(root(0)), {10, 10, 100, 40});
  const std::vector<Point> ends = pagePoints(root(0));
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_NEAR(ends[0].x, 110, 1e-3);
  EXPECT_NEAR(ends[0].y, 10, 1e-3);
  EXPECT_NEAR(ends[1].x, 10, 1e-3);
  EXPECT_NEAR(ends[1].y, 50, 1e-3);
}

TEST_F(LayerCommandsTest, FlipTogglesAnImageAndOnlyMarksText) {
  show({defaultLayer("image", 1, {10, 10}), defaultLayer("text", 2, {100, 100})});
  const DictRef textBefore = platform::dictionaryCopy(root(1));
  for (const std::int64_t expected : {1, 0}) {
    select(1);
    canvas().flipH();
    EXPECT_EQ(root(0)->get("flip_h").integerValue(), expected);
    EXPECT_TRUE(root(0)->get("dirty").boolValue());
    refresh();  // the new layer object takes the mark
    EXPECT_FALSE(root(0)->get("dirty").boolValue());
  }
  select(2);
  canvas().flipV();
  EXPECT_TRUE(root(1)->get("dirty").boolValue());
  EXPECT_TRUE(sameContent(platform::Value(root(1)), platform::Value(textBefore)));
  EXPECT_EQ(undoSteps(), 3u);
}

struct AlignCase {
  const char* name;
  void (CMEditorView::*command)();
  Rect expected;
  // Names the case in test listings instead of dumping its bytes, pointers included.
  friend void PrintTo(const AlignCase& c, std::ostream* out) { *out << c.name; }
};

class Align : public LayerCommandsTest, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(Align, TakesTheEdgeOfThePrimaryLayer) {
  show({filledRectangle(1, {50, 40, 100, 60}, 200, 0, 0), filledRectangle(2, {200, 150, 30, 20}, 0, 0, 200)});
  const platform::Value before = snapshot();
  select(1, {2});
  (canvas().*GetParam().command)();
  expectRectNear(rectOf(root(1)), GetParam().expected);
  expectRectNear(rectOf(root(0)), {50, 40, 100, 60});
  undo();
  EXPECT_TRUE(sameContent(snapshot(), before));
}

INSTANTIATE_TEST_SUITE_P(Commands, Align,
                         ::testing::Values(AlignCase{"Right", &CMEditorView::alignright, {120, 150, 30, 20}},
                                           AlignCase{"Left", &CMEditorView::alignleft, {50, 150, 30, 20}},
                                           AlignCase{"Bottom", &CMEditorView::alignbottom, {200, 80, 30, 20}},
                                           AlignCase{"Top", &CMEditorView::aligntop, {200, 40, 30, 20}}),
                         [](const ::testing::TestParamInfo<AlignCase>& info) { return std::string(info.param.name); });

TEST_F(LayerCommandsTest, AlignMovesTextAndLinesWithoutReshapingThem) {
  show({filledRectangle(1, {50, 40, 100, 60}, 200, 0, 0), defaultLayer("text", 2, {200.5, 150}),
        lineLayer(3, {210, 260}, {300, 280})});
  DictRef text = root(1);
  text->set("text", "Front pocket with flap");
  const Rect textBefore = rectOf(text);
  select(1, {2, 3});
  canvas().alignleft();
  const Rect textAfter = rectOf(text);
  EXPECT_NEAR(textAfter.origin.x, 50, 1e-3);
  EXPECT_EQ(textAfter.size, textBefore.size) << "still one line";
  EXPECT_EQ(text->get("width").doubleValue(), 0);
  EXPECT_EQ(text->get("height").doubleValue(), 0);
  expectRectNear(rectOf(root(2)), {50, 260, 90, 20});
  EXPECT_EQ(undoSteps(), 1u);
}

}  // namespace
