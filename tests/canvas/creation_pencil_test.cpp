// The pencil through the real canvas.

#include <gtest/gtest.h>

#include "creation_test_support.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"

namespace {

using creation_testing::CreationTest;
using platform::EventType;
using platform::Point;

class CreationPencilTest : public CreationTest {};

TEST_F(CreationPencilTest, TheRecordExistsFromThePressWithPointStringsInDocumentUnits) {
  showZoomed(2);
  CMProject::shareProject().profile().setInteger(4, "line_width");
  canvas_->selectTool(kCMToolPencil, nullptr);
  send(EventType::LeftMouseDown, {20, 40});
  ASSERT_EQ(records()->size(), 1u);
  send(EventType::LeftMouseDragged, {60, 40});
  send(EventType::LeftMouseDragged, {60, 100});
  const platform::DictRef shape = shapeOf(record(0));
  const platform::ArrayRef points = shape->array("points");
  ASSERT_EQ(points->size(), 3u);
  EXPECT_EQ(platform::pointFromString(points->at(0).string()), (Point{10, 20}));
  EXPECT_EQ(platform::pointFromString(points->at(1).string()), (Point{30, 20}));
  EXPECT_EQ(platform::pointFromString(points->at(2).string()), (Point{30, 50}));
  EXPECT_FLOAT_EQ(shape->dictionary("stroke")->get("lineWidth").floatValue(), 4);
  send(EventType::LeftMouseUp, {60, 100});
  platform::drainMainQueue();
}

TEST_F(CreationPencilTest, ADragEndsAsBezierPointsSizedToTheirOutline) {
  draw(kCMToolPencil, {{20, 20}, {120, 20}, {120, 70}});
  ASSERT_EQ(records()->size(), 1u);
  const platform::DictRef layer = record(0);
  const platform::DictRef shape = shapeOf(layer);
  EXPECT_TRUE(shape->get("isbezier").boolValue());
  EXPECT_EQ(shape->get("isFlipped").intValue(), 1);
  const platform::ArrayRef points = shape->array("points");
  ASSERT_EQ(points->size(), 3u);
  for (const platform::Value& point : *points) EXPECT_TRUE(point.dictionary()) << "point records, not strings";
  // The polyline (20,20)–(120,20)–(120,70) spans 100 × 50.
  EXPECT_FLOAT_EQ(layer->get("width").floatValue(), 100);
  EXPECT_FLOAT_EQ(layer->get("height").floatValue(), 50);
  EXPECT_TRUE(canvas_->layers()[0]->selected());
  ASSERT_EQ(controller().selections.size(), 1u);
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  EXPECT_EQ(document_->undoManager().undoCount(), 1u);
}

TEST_F(CreationPencilTest, AClickLeavesAOnePointFreeLine) {
  draw(kCMToolPencil, {{30, 40}});
  ASSERT_EQ(records()->size(), 1u);
  const platform::DictRef layer = record(0);
  EXPECT_EQ(layer->get("shape_type").intValue(), 5);
  EXPECT_LE(shapeOf(layer)->array("points")->size(), 1u);
  EXPECT_FLOAT_EQ(layer->get("x").floatValue(), 30);
  EXPECT_FLOAT_EQ(layer->get("y").floatValue(), 40);
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
}

}  // namespace
