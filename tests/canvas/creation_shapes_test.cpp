// Rubber-band shapes and the line, drawn through the real canvas with synthetic events.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "creation_test_support.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"

namespace {

using creation_testing::CreationTest;
using platform::EventType;
using platform::Point;
using platform::Rect;

class CreationShapesTest : public CreationTest {};

TEST_F(CreationShapesTest, ARectangleDrawnUpAndLeftEqualsTheMirrorDrag) {
  draw(kCMToolRectangle, {{50, 60}, {90, 100}, {150, 140}});
  draw(kCMToolRectangle, {{150, 140}, {120, 70}, {50, 60}});
  ASSERT_EQ(records()->size(), 2u);
  for (std::size_t index = 0; index < 2; ++index) {
    const platform::DictRef layer = record(index);
    EXPECT_EQ(frameOf(layer), (Rect{50, 60, 100, 80})) << index;
    EXPECT_EQ(layer->get("shape_type").intValue(), 0);
    EXPECT_EQ(shapeOf(layer)->get("isFlipped").intValue(), 1);
  }
  EXPECT_NE(record(0)->get("id").intValue(), record(1)->get("id").intValue());
}

TEST_F(CreationShapesTest, EachBandToolBuildsItsOwnDefaultObject) {
  const std::vector<std::pair<int, std::string>> tools = {
      {kCMToolRectangle, "Rectangle"}, {kCMToolRoundRectangle, "Rounded Rectangle"}, {kCMToolOval, "Oval"},
      {kCMToolStar, "Star"},           {kCMToolPolygon, "Polygon"}};
  for (const auto& tool : tools) draw(tool.first, {{10, 10}, {40, 30}});
  ASSERT_EQ(records()->size(), tools.size());
  for (std::size_t index = 0; index < tools.size(); ++index) {
    EXPECT_EQ(record(index)->get("name").string(), tools[index].second);
    EXPECT_EQ(frameOf(record(index)), (Rect{10, 10, 30, 20})) << tools[index].second;
  }
  EXPECT_TRUE(shapeOf(record(1))->contains("round"));
}

TEST_F(CreationShapesTest, TheNewShapeIsSelectedReportedAndTheToolReleased) {
  draw(kCMToolOval, {{10, 10}, {60, 50}});
  ASSERT_EQ(canvas_->layers().size(), 1u);
  EXPECT_TRUE(canvas_->layers()[0]->selected());
  ASSERT_EQ(controller().selections.size(), 1u);
  EXPECT_EQ(controller().selections[0].record, record(0));
  EXPECT_EQ(controller().selections[0].sender, canvas_.get());
  EXPECT_GE(controller().propertyUpdates, 1);
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  EXPECT_FALSE(canvas_->showSelRect());
}

TEST_F(CreationShapesTest, ABandWithoutWidthOrHeightCreatesNothingButStillReleasesTheTool) {
  const std::vector<std::vector<Point>> flat = {{{10, 10}, {110, 10}}, {{10, 10}, {10, 90}}, {{30, 30}}};
  for (const auto& path : flat) {
    controller().toolsSelected.clear();
    canvas_->selectTool(kCMToolStar, nullptr);
    stroke(path);
    EXPECT_EQ(canvas_->currentTool(), kCMToolStar) << "released only once the main queue runs";
    platform::drainMainQueue();
    EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
    EXPECT_EQ(controller().toolsSelected, std::vector<int>{kCMToolSelect});
  }
  EXPECT_TRUE(records()->empty());
  EXPECT_EQ(document_->undoManager().undoCount(), 0u);
}

TEST_F(CreationShapesTest, AClickAfterAnEarlierBandDoesNotReuseIt) {
  canvas_->selectTool(kCMToolRectangle, nullptr);
  stroke({{10, 10}, {10, 80}});  // no height: nothing made, the band keeps a width of 0 only
  platform::drainMainQueue();
  canvas_->showSel({0, 0}, {50, 50});  // a band left over from the selection tool
  draw(kCMToolRectangle, {{70, 70}});
  EXPECT_TRUE(records()->empty());
}

TEST_F(CreationShapesTest, At200PercentTheRecordHoldsHalfTheBandInBothViewModes) {
  for (const bool vectorMode : {false, true}) {
    showZoomed(2, vectorMode);
    draw(kCMToolRectangle, {{40, 60}, {240, 160}});
    ASSERT_EQ(records()->size(), 1u) << vectorMode;
    EXPECT_EQ(frameOf(record(0)), (Rect{20, 30, 100, 50})) << vectorMode;
  }
}

TEST_F(CreationShapesTest, EachShapeIsOneUndoStep) {
  draw(kCMToolRectangle, {{10, 10}, {60, 60}});
  draw(kCMToolPolygon, {{100, 100}, {160, 150}});
  EXPECT_EQ(document_->undoManager().undoCount(), 2u);
  const auto firstId = record(0)->get("id").intValue();
  document_->undo();
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_EQ(record(0)->get("id").intValue(), firstId);
  document_->undo();
  EXPECT_TRUE(records()->empty());
}

TEST_F(CreationShapesTest, TheBandFollowsTheDragAndEveryTrackedEventReachesTheRulers) {
  canvas_->selectTool(kCMToolRectangle, nullptr);
  send(EventType::LeftMouseDown, {100, 100});
  send(EventType::LeftMouseDragged, {60, 130});
  EXPECT_TRUE(canvas_->showSelRect());
  EXPECT_EQ(canvas_->selRect(), (Rect{60, 100, 40, 30}));
  send(EventType::MouseMoved, {70, 130});
  send(EventType::LeftMouseDragged, {30.5, 140.75});
  EXPECT_EQ(canvas_->selRect(), (Rect{30.5, 100, 69, 40}));  // sides truncated to whole units
  send(EventType::LeftMouseUp, {30.5, 140.75});
  EXPECT_EQ(rulers_.events, (std::vector<EventType>{EventType::LeftMouseDragged, EventType::MouseMoved,
                                                    EventType::LeftMouseDragged, EventType::LeftMouseUp}));
  platform::drainMainQueue();
}

TEST_F(CreationShapesTest, ALineKeepsItsEndsInDocumentUnitsAndAnEmptyFrame) {
  showZoomed(2);
  draw(kCMToolLine, {{10, 20}, {80, 50}, {110, 70}});
  ASSERT_EQ(records()->size(), 1u);
  const platform::DictRef line = record(0);
  const platform::DictRef shape = shapeOf(line);
  EXPECT_FLOAT_EQ(shape->get("x1").floatValue(), 5);
  EXPECT_FLOAT_EQ(shape->get("y1").floatValue(), 10);
  EXPECT_FLOAT_EQ(shape->get("x2").floatValue(), 55);
  EXPECT_FLOAT_EQ(shape->get("y2").floatValue(), 35);
  EXPECT_EQ(frameOf(line), (Rect{0, 0, 0, 0}));
  EXPECT_TRUE(canvas_->layers()[0]->selected());
  EXPECT_EQ(document_->undoManager().undoCount(), 1u);
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
}

TEST_F(CreationShapesTest, ALineTakesItsArrowheadsFromTheToolOptions) {
  CMProject::shareProject().profile().setInteger(2, "line_arrow_type");
  CMProject::shareProject().profile().setInteger(3, "line_arrow_style");
  draw(kCMToolLine, {{10, 10}, {100, 10}});
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_EQ(shapeOf(record(0))->get("type").intValue(), 2);
  EXPECT_EQ(shapeOf(record(0))->get("style").intValue(), 3);
}

TEST_F(CreationShapesTest, ALineClickWithoutMovementAddsNothingAndKeepsTheToolUntilTheQueueRuns) {
  draw(kCMToolLine, {{10, 10}, {100, 10}});
  canvas_->selectTool(kCMToolLine, nullptr);
  click({30, 30});  // the ends of the earlier line must not come back
  EXPECT_EQ(canvas_->currentTool(), kCMToolLine);
  platform::drainMainQueue();
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  EXPECT_EQ(records()->size(), 1u);
}

}  // namespace
