// The pen: curves built click by click through the real canvas.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "creation_test_support.h"
#include "document/CMLayer.h"
#include "document/CMNotificationNames.h"
#include "document/CMPointTypes.h"
#include "document/CMProject.h"

namespace {

using creation_testing::CreationTest;
using platform::EventType;
using platform::Point;

class CreationPenTest : public CreationTest {
 protected:
  CreationPenTest() { canvas_->selectTool(kCMToolPen, nullptr); }

  platform::ArrayRef penPoints(std::size_t layer = 0) const { return shapeOf(record(layer))->array("points"); }
  platform::DictRef penPoint(std::size_t index, std::size_t layer = 0) const {
    return penPoints(layer)->at(index).dictionary();
  }
  void clicks(const std::vector<Point>& points) {
    for (const Point point : points) click(point);
    platform::drainMainQueue();
  }
  void hover(Point point) { send(EventType::MouseMoved, point); }
};

TEST_F(CreationPenTest, ThreeClicksAndOneOnTheFirstPointMakeAClosedSubpathOfFourPoints) {
  clicks({{20, 20}, {100, 20}, {100, 90}});
  EXPECT_TRUE(penPoint(0)->get("start").boolValue());
  for (std::size_t index = 1; index < 3; ++index) {
    EXPECT_FALSE(penPoint(index)->contains("start")) << index;
    EXPECT_FALSE(penPoint(index)->contains("closed")) << index;
  }
  clicks({{22, 18}});
  ASSERT_EQ(records()->size(), 1u);
  ASSERT_EQ(penPoints()->size(), 4u);
  // Finished at once: the last point record closes the contour on the start, not on the click.
  EXPECT_TRUE(penPoint(3)->get("type").intValue() & kCMPointClose);
  EXPECT_EQ(pointAt(penPoint(3), "point"), pointAt(penPoint(0), "point"));
  EXPECT_EQ(shapeOf(record(0))->get("start_point").string(), platform::stringFromPoint({20, 20}));
  EXPECT_EQ(canvas_->currentTool(), kCMToolPen);
}

TEST_F(CreationPenTest, AClosingClickFinishesTheCurveOnceAndTheNextClickStartsANewLayer) {
  clicks({{20, 20}, {100, 20}, {100, 90}});
  EXPECT_FALSE(shapeOf(record(0))->contains("isFlipped"));
  clicks({{20, 20}, {200, 200}});
  ASSERT_EQ(records()->size(), 2u);
  const platform::DictRef finished = shapeOf(record(0));
  EXPECT_EQ(finished->get("isFlipped").intValue(), 1);
  EXPECT_TRUE(finished->get("isbezier").boolValue());
  // Finished as Bezier point records whose outline spans the three clicks: 80 × 70.
  EXPECT_FLOAT_EQ(record(0)->get("width").floatValue(), 80);
  EXPECT_FLOAT_EQ(record(0)->get("height").floatValue(), 70);
  EXPECT_FLOAT_EQ(record(0)->get("x").floatValue(), 20);
  EXPECT_TRUE(finished->dictionary("fill")->get("use").boolValue()) << "closed, it is filled";
  ASSERT_EQ(penPoints(1)->size(), 1u);
  EXPECT_EQ(pointAt(penPoint(0, 1), "point"), (Point{200, 200}));
  EXPECT_EQ(canvas_->curveAddedLayer()->data(), record(1));
}

TEST_F(CreationPenTest, ACurveStartsInPenEditModeWithOneUndoStepAndOneNotification) {
  model_.clear();
  clicks({{20, 20}});
  EXPECT_EQ(CMProject::shareProject().editMode(), kCMEditModePenCurve);
  EXPECT_EQ(std::count(model_.posted.begin(), model_.posted.end(), std::string(kNotificationLayersChanged)), 1);
  clicks({{60, 20}, {60, 60}, {61, 61}});
  EXPECT_EQ(document_->undoManager().undoCount(), 1u);
  EXPECT_EQ(std::count(model_.posted.begin(), model_.posted.end(), std::string(kNotificationLayersChanged)), 1);
  EXPECT_TRUE(canvas_->layers()[0]->selected());
}

TEST_F(CreationPenTest, AClickOnAPointDeletesItAndNothingIsAdded) {
  clicks({{20, 20}, {100, 20}, {100, 90}});
  clicks({{101, 22}});
  ASSERT_EQ(penPoints()->size(), 2u);
  EXPECT_EQ(pointAt(penPoint(0), "point"), (Point{20, 20}));
  EXPECT_EQ(pointAt(penPoint(1), "point"), (Point{100, 90}));
}

TEST_F(CreationPenTest, ClicksOnTheFirstPointCloseAnOpenCurveButDeleteNothingOnASinglePoint) {
  clicks({{20, 20}, {23, 17}});  // near the only point: neither deleted nor added
  ASSERT_EQ(penPoints()->size(), 1u);
  clicks({{80, 20}, {20, 20}});
  ASSERT_EQ(penPoints()->size(), 3u);
  EXPECT_TRUE(penPoint(2)->get("type").intValue() & kCMPointClose);
}

TEST_F(CreationPenTest, NearMeansTheHalfOpenEightUnitSquare) {
  clicks({{100, 100}, {200, 100}});
  clicks({{204, 96}});  // right edge excluded: a new point
  ASSERT_EQ(penPoints()->size(), 3u);
  clicks({{196, 96}});  // top-left corner included: deletes the point at (200, 100)
  ASSERT_EQ(penPoints()->size(), 2u);
  EXPECT_EQ(pointAt(penPoint(1), "point"), (Point{204, 96}));
}

TEST_F(CreationPenTest, NearIsMeasuredInDocumentUnits) {
  showZoomed(2);
  canvas_->selectTool(kCMToolPen, nullptr);
  clicks({{40, 40}, {200, 40}});
  EXPECT_EQ(pointAt(penPoint(1), "point"), (Point{100, 20}));
  clicks({{207, 46}});  // 3.5 document units away
  EXPECT_EQ(penPoints()->size(), 1u);
}

TEST_F(CreationPenTest, HoveringChoosesTheSubModeAndTheCursor) {
  clicks({{20, 20}, {100, 20}, {100, 90}});
  hover({21, 21});
  EXPECT_EQ(canvas_->bezierMode(), 2);
  EXPECT_TRUE(canvas_->closedPointMoved());
  EXPECT_EQ(canvas_->cursor(), canvas_->findCursor(CMEditorView::kCursorPenClose));
  hover({99, 19});
  EXPECT_EQ(canvas_->bezierMode(), 3);
  EXPECT_FALSE(canvas_->closedPointMoved());
  EXPECT_EQ(canvas_->cursor(), canvas_->findCursor(CMEditorView::kCursorPenDelete));
  hover({300, 200});
  EXPECT_EQ(canvas_->bezierMode(), 0);
  EXPECT_EQ(canvas_->cursor(), canvas_->findCursor(CMEditorView::kCursorPenAdd));
  send(EventType::LeftMouseDown, {300, 200});
  EXPECT_EQ(canvas_->bezierMode(), 1);
  EXPECT_EQ(canvas_->cursor(), canvas_->findCursor(CMEditorView::kCursorPen));
  send(EventType::LeftMouseUp, {300, 200});
  EXPECT_EQ(canvas_->bezierMode(), 0);
}

TEST_F(CreationPenTest, ADragMirrorsTheHandlesThroughTheNewPoint) {
  showZoomed(2);
  canvas_->selectTool(kCMToolPen, nullptr);
  clicks({{20, 20}});
  send(EventType::LeftMouseDown, {100, 100});
  send(EventType::LeftMouseDragged, {130, 110});
  send(EventType::LeftMouseUp, {130, 110});
  EXPECT_EQ(canvas_->curveControlPoint1(), (Point{130, 110}));
  EXPECT_EQ(canvas_->curveControlPoint2(), (Point{70, 90}));
  const platform::DictRef last = penPoint(1);
  EXPECT_EQ(pointAt(last, "point"), (Point{50, 50}));
  EXPECT_EQ(pointAt(last, "control_point1"), (Point{65, 55}));
  EXPECT_EQ(pointAt(last, "control_point2"), (Point{35, 45}));
  EXPECT_FALSE(canvas_->isDraggingCurve());
}

TEST_F(CreationPenTest, ADragAfterAClosingClickLeavesTheClosedPointAlone) {
  clicks({{20, 20}, {100, 20}});
  send(EventType::LeftMouseDown, {20, 20});
  const platform::DictRef closed = platform::dictionaryCopy(shapeOf(record(0)));
  send(EventType::LeftMouseDragged, {60, 60});
  send(EventType::LeftMouseUp, {60, 60});
  EXPECT_TRUE(shapeOf(record(0))->isEqual(*closed));
}

TEST_F(CreationPenTest, AToolChangeFinishesTheCurve) {
  clicks({{20, 20}, {100, 20}, {100, 90}});
  canvas_->selectTool(kCMToolSelect, nullptr);
  const platform::DictRef shape = shapeOf(record(0));
  EXPECT_EQ(shape->get("isFlipped").intValue(), 1);
  EXPECT_TRUE(shape->get("isbezier").boolValue());
  ASSERT_TRUE(penPoints()->at(0).dictionary());
  EXPECT_TRUE(penPoint(0)->contains("type"));
  EXPECT_EQ(canvas_->curveAddedLayer(), nullptr);
  EXPECT_FALSE(canvas_->showCurvePoint());
  canvas_->selectTool(kCMToolPen, nullptr);
  clicks({{200, 200}});
  EXPECT_EQ(records()->size(), 2u);
}

TEST_F(CreationPenTest, TheStrokeWidthComesFromTheToolOptions) {
  CMProject::shareProject().profile().setInteger(7, "line_width");
  clicks({{20, 20}});
  EXPECT_FLOAT_EQ(shapeOf(record(0))->dictionary("stroke")->get("lineWidth").floatValue(), 7);
}

}  // namespace
