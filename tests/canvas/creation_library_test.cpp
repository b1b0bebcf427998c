// Library shapes placed by a drop and by the library tool, the flip of their points,
// and the add-point tool.

#include <gtest/gtest.h>

#include <gdkmm/window.h>

#include "creation_test_support.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/ui/view_host.h"

namespace {

using creation_testing::CreationTest;
using platform::Point;
using platform::Rect;

platform::DictRef pointRecord(Point point, Point control1, Point control2) {
  return platform::Dictionary::make({{"point", platform::stringFromPoint(point)},
                                     {"control_point1", platform::stringFromPoint(control1)},
                                     {"control_point2", platform::stringFromPoint(control2)}});
}

// A library path 40.7 high whose points are kept bottom-up.
platform::DictRef bottomUpShape() {
  platform::DictRef record = CMProject::defaultObject("path");
  record->set("width", 30.0);
  record->set("height", 40.7);
  record->dictionary("shape")->set(
      "points", platform::Array::make({pointRecord({10, 0}, {10, 0}, {12, 5}), pointRecord({40, 30}, {35, 20}, {40, 30})}));
  return record;
}

Point pointOf(const platform::DictRef& record, std::size_t index, const char* key) {
  const platform::ArrayRef points = record->dictionary("shape")->array("points");
  return platform::pointFromString(points->at(index).dictionary()->get(key).string());
}

TEST(FlipAndPosition, APointsAreFlippedWithinTheWholeHeightAndMovedToStartAtZero) {
  const platform::DictRef record = bottomUpShape();
  CMEditorView::flipAndPositionForObject(record, {70, 80});
  EXPECT_DOUBLE_EQ(record->get("x").doubleValue(), 70);
  EXPECT_DOUBLE_EQ(record->get("y").doubleValue(), 80);
  // y' = 40 − y: 40, 40, 35 and 10, 20, 10; minimum x 10, minimum y 10.
  EXPECT_EQ(pointOf(record, 0, "point"), (Point{0, 30}));
  EXPECT_EQ(pointOf(record, 0, "control_point1"), (Point{0, 30}));
  EXPECT_EQ(pointOf(record, 0, "control_point2"), (Point{2, 25}));
  EXPECT_EQ(pointOf(record, 1, "point"), (Point{30, 0}));
  EXPECT_EQ(pointOf(record, 1, "control_point1"), (Point{25, 10}));
  EXPECT_EQ(pointOf(record, 1, "control_point2"), (Point{30, 0}));
}

TEST(FlipAndPosition, AnAlreadyFlippedShapeKeepsItsPlaceAndAFlippedRecordItsPoints) {
  const platform::DictRef flippedShape = bottomUpShape();
  flippedShape->set("x", 5.0);
  flippedShape->dictionary("shape")->set("isFlipped", 1);
  CMEditorView::flipAndPositionForObject(flippedShape, {70, 80});
  EXPECT_DOUBLE_EQ(flippedShape->get("x").doubleValue(), 5);
  EXPECT_EQ(pointOf(flippedShape, 0, "point"), (Point{10, 0}));

  const platform::DictRef flippedRecord = bottomUpShape();
  flippedRecord->set("isFlipped", true);
  CMEditorView::flipAndPositionForObject(flippedRecord, {70, 80});
  EXPECT_DOUBLE_EQ(flippedRecord->get("x").doubleValue(), 70);
  EXPECT_EQ(pointOf(flippedRecord, 1, "point"), (Point{40, 30}));
}

TEST(FlipAndPosition, DamagedRecordsAreLeftAlone) {
  CMEditorView::flipAndPositionForObject(nullptr, {1, 1});
  const platform::DictRef record = platform::Dictionary::make({{"height", "lots"}});
  CMEditorView::flipAndPositionForObject(record, {1, 2});
  EXPECT_DOUBLE_EQ(record->get("y").doubleValue(), 2);
  EXPECT_FALSE(record->contains("shape"));
}

class CreationLibraryTest : public CreationTest {};

TEST_F(CreationLibraryTest, ADropOutsideTheCanvasDoesNothingAndQueuesNothing) {
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  canvas_->selectTool(kCMToolRectangle, nullptr);
  canvas_->addShape({-5000, -5000}, bottomUpShape());
  platform::drainMainQueue();
  EXPECT_TRUE(records()->empty());
  EXPECT_EQ(canvas_->currentTool(), kCMToolRectangle) << "no completion ran";
}

TEST_F(CreationLibraryTest, ADropOnTheCanvasAddsTheShapeAtTheDropPointFlipped) {
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  int originX = 0;
  int originY = 0;
  window_.host().get_window()->get_origin(originX, originY);
  // The canvas's top-left is at (50, 600 − 340) in the window's y-down pixels; drop at canvas (100, 60).
  canvas_->addShape({originX + 150.0, originY + 260.0 + 60.0}, bottomUpShape());
  platform::drainMainQueue();
  ASSERT_EQ(records()->size(), 1u);
  const platform::DictRef added = record(0);
  EXPECT_DOUBLE_EQ(added->get("x").doubleValue(), 100);
  EXPECT_DOUBLE_EQ(added->get("y").doubleValue(), 60);
  EXPECT_EQ(added->dictionary("shape")->get("isFlipped").intValue(), 1);
  EXPECT_TRUE(canvas_->layers()[0]->selected());
  EXPECT_EQ(controller().selections.size(), 1u);
  EXPECT_EQ(document_->undoManager().undoCount(), 1u);
}

TEST_F(CreationLibraryTest, ThePathToolPlacesItsShapeWhereTheMouseGoesUpInDocumentUnits) {
  showZoomed(2);
  canvas_->selectTool(kCMToolLibraryShape, bottomUpShape());
  stroke({{20, 20}, {100, 80}});
  platform::drainMainQueue();
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_FLOAT_EQ(record(0)->get("x").floatValue(), 50);
  EXPECT_FLOAT_EQ(record(0)->get("y").floatValue(), 40);
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
}

TEST_F(CreationLibraryTest, OtherShapesArePlacedByABandAndKeepTheirLibrarySize) {
  showZoomed(2);
  platform::DictRef star = CMProject::defaultObject("star");
  star->set("width", 30.0);
  star->set("height", 20.0);
  canvas_->selectTool(kCMToolLibraryShape, star);
  stroke({{40, 60}, {240, 160}});
  platform::drainMainQueue();
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_EQ(frameOf(record(0)), (Rect{20, 30, 30, 20}));

  canvas_->selectTool(kCMToolLibraryShape, star);
  stroke({{40, 60}});
  EXPECT_EQ(canvas_->currentTool(), kCMToolLibraryShape);
  platform::drainMainQueue();
  EXPECT_EQ(records()->size(), 1u) << "a click without a drag places nothing";
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
}

TEST_F(CreationLibraryTest, TheAddPointToolReturnsToPointEditing) {
  draw(kCMToolAddBezierPoint, {{20, 20}, {30, 30}});
  EXPECT_EQ(canvas_->currentTool(), kCMToolPathPoints);
  EXPECT_EQ(document_->undoManager().undoCount(), 0u) << "no current layer: nothing to add a point to";
}

}  // namespace
