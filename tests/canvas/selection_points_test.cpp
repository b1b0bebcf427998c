#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "selection_test_support.h"

namespace {

using canvas_testing::filledRectangle;
using document_testing::curveRecord;
using document_testing::pointRecord;
using platform::DictRef;
using platform::Point;
using selection_testing::number;
using selection_testing::SelectionTest;

class SelectionPointsTest : public SelectionTest {
 protected:
  SelectionPointsTest() { CMProject::shareProject().setEditMode(kCMEditModePathPoints); }

  static platform::ArrayRef pointsOf(const DictRef& layerRecord) {
    return layerRecord->dictionary("shape")->array("points");
  }
  static DictRef withId(const platform::ArrayRef& records, std::int64_t id) {
    for (const platform::Value& entry : *records)
      if (entry.dictionary()->get("id").integerValue() == id) return entry.dictionary();
    return nullptr;
  }
  // The anchor handles the current layer offers.
  std::vector<Point> anchorHandles() const {
    std::vector<Point> anchors;
    const platform::ArrayRef handles = canvas_->selectedLayer()->pathEditingPoints();
    for (const platform::Value& entry : *handles) {
      const DictRef handle = entry.dictionary();
      if (handle->get("type").intValue() == 12) anchors.push_back(document_testing::pointOf(handle));
    }
    return anchors;
  }
  bool anchorHandleAt(Point p) const { return std::ranges::count(anchorHandles(), p) != 0; }
};

TEST_F(SelectionPointsTest, DraggingAnAnchorOfAPenCurveMovesItWithThePointer) {
  // An open curve at (10, 20): anchors (0, 0), (100, 0) and (100, 100) of the layer.
  DictRef record = document_testing::pathLayerRecord(
      {pointRecord(1, {0, 0}, 1), curveRecord(2, {100, 0}, 4, {30, -20}, {70, -20}),
       curveRecord(3, {100, 100}, 4, {130, 20}, {130, 80})},
      10, 20);
  show(canvas_testing::plainDocument({record}));
  click({60, 60});
  ASSERT_TRUE(canvas_->selectedLayer());
  press({110, 20});
  ASSERT_TRUE(canvas_->selectedPoint());
  EXPECT_EQ(canvas_->selectedPoint()->get("id").intValue(), 2);
  dragTo({120, 30});
  dragTo({130, 40});
  release({130, 40});
  EXPECT_EQ(document_testing::pointOf(withId(pointsOf(record), 2)), (Point{120, 20}));
  EXPECT_EQ(document_testing::pointOf(withId(pointsOf(record), 3)), (Point{100, 100})) << "its neighbour stays";
  EXPECT_EQ(document_testing::pointOf(withId(pointsOf(record), 3), "control_point1"), (Point{150, 40}))
      << "the control point beside the anchor goes with it";
  EXPECT_EQ(document_->undoManager().undoCount(), 1u);
}

TEST_F(SelectionPointsTest, ARectangleTurnedIntoPointsHasItsCornerDragged) {
  show(canvas_testing::plainDocument({filledRectangle(1, {100, 80, 100, 50}, 255, 0, 0)}));
  click({150, 100});
  ASSERT_TRUE(canvas_->selectedLayer());
  ASSERT_TRUE(anchorHandleAt({200, 130}));
  drag({200, 130}, {220, 150});
  EXPECT_TRUE(anchorHandleAt({220, 150}));
  EXPECT_FALSE(anchorHandleAt({200, 130}));
  EXPECT_TRUE(anchorHandleAt({100, 80})) << "the other corners stay";
  EXPECT_TRUE(anchorHandleAt({200, 80}));
}

TEST_F(SelectionPointsTest, AnOvalPolygonOrStarEditedThenRebuiltKeepsItsFrame) {
  const auto dragFirstAnchor = [this] {
    const Point from = anchorHandles().front();
    drag(from, {from.x + 15, from.y + 10});
  };
  const auto expectItsFrame = [this] {
    const DictRef shape = rootLayer(0)->dictionary("shape");
    EXPECT_FALSE(shape->get("isbezier").boolValue());
    EXPECT_EQ(document_testing::pointOf(document_testing::entryAt(shape->array("points"), 0)), (Point{0, 0}));
    EXPECT_EQ(document_testing::pointOf(document_testing::entryAt(shape->array("points"), 2)), (Point{100, 50}));
  };
  for (const std::int64_t shapeType : {1, 2, 3}) {
    SCOPED_TRACE(shapeType);
    show(canvas_testing::plainDocument(
        {document_testing::shapeLayerRecord(shapeType, document_testing::frameShape({0, 0, 100, 50}), 100, 80)}));
    click({150, 105});
    ASSERT_TRUE(canvas_->selectedLayer());
    const platform::Rect outline = canvas_->selectedLayer()->path().bounds();
    ASSERT_FALSE(anchorHandles().empty());
    dragFirstAnchor();
    ASSERT_NE(canvas_->selectedLayer()->path().bounds(), outline);

    document_->undo();
    canvas_->update();  // as the window does after an undo
    EXPECT_EQ(canvas_->selectedLayer()->path().bounds(), outline) << "the edit resumes on the shape's own outline";
    canvas_->update();  // any other rebuild: a paste, a return to the drawing's tab
    EXPECT_EQ(canvas_->selectedLayer()->path().bounds(), outline);
    canvas_->clickOutside();  // point editing ends
    expectItsFrame();

    // Undone once point editing has ended, the move of an anchor leaves the shape its parameters again.
    click({150, 105});
    dragFirstAnchor();
    canvas_->clickOutside();
    CMProject::shareProject().setEditMode(kCMEditModeObject);
    document_->undo();
    canvas_->update();
    expectItsFrame();
    EXPECT_EQ(layerWithId(1)->path().bounds(), outline);
    CMProject::shareProject().setEditMode(kCMEditModePathPoints);
  }
}

TEST_F(SelectionPointsTest, PointCommandsAreEachOneUndoStepOfThePoints) {
  DictRef record = document_testing::pathLayerRecord(
      {pointRecord(1, {0, 0}, 1), pointRecord(2, {60, 0}, 2), pointRecord(3, {60, 40}, 2)}, 100, 100);
  show(canvas_testing::plainDocument({record}));
  canvas_->deletePoint();
  canvas_->addPoint({120, 150});
  EXPECT_EQ(document_->undoManager().undoCount(), 0u) << "nothing without a current layer";

  click({150, 120});
  click({160, 100});  // the anchor of point 2
  ASSERT_TRUE(canvas_->selectedPoint());
  canvas_->deletePoint();
  EXPECT_EQ(pointsOf(record)->size(), 2u);
  EXPECT_FALSE(withId(pointsOf(record), 2));
  EXPECT_EQ(document_->undoManager().undoCount(), 1u);
  document_->undoManager().undo();
  EXPECT_EQ(pointsOf(record)->size(), 3u) << "the shape's points come back";
}

TEST_F(SelectionPointsTest, APointCommandIsUndoneAfterAnUndoneMoveAndReachesNoOtherLayer) {
  DictRef withoutId = filledRectangle(9, {250, 200, 40, 40}, 0, 0, 255);
  withoutId->remove("id");
  const DictRef untouched = platform::dictionaryCopy(withoutId);
  show(canvas_testing::plainDocument({filledRectangle(1, {100, 80, 100, 50}, 255, 0, 0), withoutId}));
  click({150, 100});
  ASSERT_TRUE(canvas_->selectedLayer());
  click({200, 130});  // the lower right corner
  ASSERT_TRUE(canvas_->selectedPoint());
  canvas_->deletePoint();
  ASSERT_EQ(pointsOf(rootLayer(0))->size(), 3u);
  drag({120, 90}, {140, 110});
  ASSERT_EQ(number(rootLayer(0), "x"), 120);
  ASSERT_EQ(document_->undoManager().undoCount(), 2u);

  rootLayer(0)->set("dirty", false);
  document_->undo();  // the move: a copy of the layer record takes its place
  canvas_->update();
  EXPECT_EQ(number(rootLayer(0), "x"), 100);
  rootLayer(0)->set("dirty", false);
  document_->undo();  // the deletion
  EXPECT_TRUE(rootLayer(0)->get("dirty").boolValue()) << "the layer drawn from the restored points is redrawn";
  canvas_->update();
  EXPECT_EQ(pointsOf(rootLayer(0))->size(), 4u);
  EXPECT_TRUE(anchorHandleAt({200, 130}));
  EXPECT_TRUE(rootLayer(1)->isEqual(*untouched)) << "the layer without an id is left alone";
  EXPECT_EQ(document_->undoManager().redoCount(), 2u);

  document_->redo();
  canvas_->update();
  EXPECT_EQ(pointsOf(rootLayer(0))->size(), 3u);
  EXPECT_FALSE(anchorHandleAt({200, 130}));
  EXPECT_TRUE(rootLayer(1)->isEqual(*untouched));
}

}  // namespace
