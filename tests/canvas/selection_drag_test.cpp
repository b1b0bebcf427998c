#include <gtest/gtest.h>

#include <cmath>

#include "selection_test_support.h"

namespace {

using canvas_testing::filledRectangle;
using platform::EventType;
using platform::Point;
using selection_testing::number;
using selection_testing::SelectionTest;

constexpr platform::ModifierFlags kShift = platform::modifier::Shift;

class SelectionDragTest : public SelectionTest {
 protected:
  // Layer 1: 100 × 50 at (100, 80); layer 2: 60 × 40 at (250, 200).
  SelectionDragTest() {
    show(canvas_testing::plainDocument(
        {filledRectangle(1, {100, 80, 100, 50}, 255, 0, 0), filledRectangle(2, {250, 200, 60, 40}, 0, 0, 255)}));
  }
  platform::DictRef record(std::int32_t id) const { return layerWithId(id)->data(); }
  CMUndoManager& undo() { return document_->undoManager(); }
};

TEST_F(SelectionDragTest, APressWithoutMotionRegistersNothing) {
  EXPECT_TRUE(canvas_->moveItem(at(EventType::LeftMouseDown, {150, 100})));
  release({150, 100});
  EXPECT_EQ(undo().undoCount(), 0u);
  EXPECT_EQ(number(record(1), "x"), 100);
  EXPECT_FALSE(canvas_->showCenterMarkers());
  EXPECT_FALSE(canvas_->moveItem(at(EventType::LeftMouseDown, {20, 280}))) << "nothing under the press";
}

TEST_F(SelectionDragTest, ALockedLayerIsNotMovedAndTheBandTakesOver) {
  record(1)->set("lock", 1);
  EXPECT_FALSE(canvas_->moveItem(at(EventType::LeftMouseDown, {150, 100})));
  press({150, 100});
  dragTo({170, 120});
  EXPECT_TRUE(canvas_->showSelRect());
  release({170, 120});
  EXPECT_EQ(number(record(1), "x"), 100);
  EXPECT_EQ(undo().undoCount(), 0u);
}

TEST_F(SelectionDragTest, ADragMovesByThePointerAndIsOneUndoStep) {
  press({150, 100});
  dragTo({160, 105});
  EXPECT_TRUE(canvas_->showCenterMarkers());
  dragTo({180, 125});
  release({180, 125});
  EXPECT_EQ(number(record(1), "x"), 130);
  EXPECT_EQ(number(record(1), "y"), 105);
  EXPECT_EQ(undo().undoCount(), 1u);
  EXPECT_TRUE(document_->dirty());
  EXPECT_FALSE(canvas_->showCenterMarkers());
  undo().undo();
  EXPECT_EQ(number(rootLayer(0), "x"), 100);
  EXPECT_EQ(number(rootLayer(0), "y"), 80);
}

TEST_F(SelectionDragTest, GroupMembersMoveByTheSameDeltaAndOneUndoRestoresAll) {
  click({150, 100});
  click({270, 220}, kShift);  // layer 2 primary, layer 1 a member
  press({270, 220}, kShift);  // a plain press would make layer 2 the only selected layer
  dragTo({240, 190});
  dragTo({230, 170});
  release({230, 170});
  EXPECT_EQ(number(record(2), "x"), 210);
  EXPECT_EQ(number(record(2), "y"), 150);
  EXPECT_EQ(number(record(1), "x"), 60);
  EXPECT_EQ(number(record(1), "y"), 30);
  ASSERT_EQ(undo().undoCount(), 1u);
  undo().undo();
  EXPECT_EQ(number(rootLayer(0), "x"), 100);
  EXPECT_EQ(number(rootLayer(0), "y"), 80);
  EXPECT_EQ(number(rootLayer(1), "x"), 250);
  EXPECT_EQ(number(rootLayer(1), "y"), 200);
}

TEST_F(SelectionDragTest, TheRightHandleWidensAndKeepsTheRatioWhenAsked) {
  click({150, 100});
  drag({200, 105}, {220, 140});
  EXPECT_EQ(number(record(1), "width"), 120);
  EXPECT_EQ(number(record(1), "height"), 50);
  EXPECT_EQ(number(record(1), "x"), 100);

  record(1)->set("saveratio", true);
  drag({220, 105}, {240, 105});  // 120 × 50 → 140 × 140·50/120
  EXPECT_EQ(number(record(1), "width"), 140);
  EXPECT_NEAR(number(record(1), "height"), 140.0 * 50 / 120, 1.0);
  EXPECT_EQ(undo().undoCount(), 2u);
}

TEST_F(SelectionDragTest, TheLeftHandleDraggedPastTheRightEdgeLeavesOneUnit) {
  click({150, 100});
  drag({100, 105}, {260, 105});
  EXPECT_EQ(number(record(1), "width"), 1);
  EXPECT_EQ(number(record(1), "x"), 199);
}

TEST_F(SelectionDragTest, ACornerIgnoresTheRatio) {
  record(1)->set("saveratio", true);
  click({150, 100});
  drag({200, 130}, {230, 135});  // kind 6, bottom right
  EXPECT_EQ(number(record(1), "width"), 130);
  EXPECT_EQ(number(record(1), "height"), 55);
}

TEST_F(SelectionDragTest, TheRotationHandlesMeasureFromStraightUp) {
  click({150, 100});
  // The frame's centre is (150, 105); d = (√(100² + 50²) + 20) / 2, kind 11 above and kind 10 below.
  const double d = (std::sqrt(100.0 * 100 + 50 * 50) + 20) / 2;
  press({150, 105 - d});
  dragTo({200, 55});
  EXPECT_NEAR(number(record(1), "rotate"), 45, 1e-3);
  dragTo({150, 20});
  EXPECT_NEAR(number(record(1), "rotate"), 0, 1e-3);
  dragTo({260, 105});
  EXPECT_NEAR(number(record(1), "rotate"), 180, 1e-3);
  release({260, 105});
  EXPECT_EQ(undo().undoCount(), 1u);

  record(1)->set("rotate", 0.0);
  canvas_->update();
  click({150, 100});
  press({150, 105 + d});
  dragTo({150, 200});
  EXPECT_NEAR(number(record(1), "rotate"), 0, 1e-3) << "straight down for the lower handle";
  dragTo({40, 105});
  EXPECT_NEAR(number(record(1), "rotate"), 0, 1e-3) << "level: 180 − 180";
  release({40, 105});
}

TEST_F(SelectionDragTest, AxisLockCatchesWithinTwoAndHoldsUntilThirtyOne) {
  // Layer 2 at (250, 200): its left edge 248 units from the page's left edge.
  press({270, 210});
  const auto xAfterDragBy = [&](double dx) {
    dragTo({270 + dx, 210});
    return number(record(2), "x");
  };
  EXPECT_EQ(xAfterDragBy(-247.5), 2) << "not locked before the frame reaches the line";
  EXPECT_EQ(xAfterDragBy(-230), 0);
  EXPECT_EQ(xAfterDragBy(-270), 0) << "20 units to the other side";
  EXPECT_EQ(xAfterDragBy(-219), 0) << "31 units away: held this once, let go after";
  EXPECT_EQ(xAfterDragBy(-218), 32);
  EXPECT_EQ(number(record(2), "y"), 200) << "y found no line";
  release({52, 210});
}

TEST_F(SelectionDragTest, ADragThatStartsOnALineMustLeaveItByThree) {
  record(2)->set("x", 0.0);
  canvas_->update();
  press({20, 210});
  const auto xAfterDragBy = [&](double dx) {
    dragTo({20 + dx, 210});
    return number(record(2), "x");
  };
  EXPECT_EQ(xAfterDragBy(1), 1);
  EXPECT_EQ(xAfterDragBy(2), 2);
  EXPECT_EQ(xAfterDragBy(3), 3);
  EXPECT_EQ(xAfterDragBy(2), 2) << "re-armed: catches from here on";
  EXPECT_EQ(xAfterDragBy(5), 0);
  release({25, 210});
}

TEST_F(SelectionDragTest, TheKeyboardNudgeIsOneUndoStepEach) {
  click({150, 100});
  canvas_->moveSelectedLayer({1, 0});
  canvas_->moveSelectedLayer({0, -1});
  EXPECT_EQ(number(record(1), "x"), 101);
  EXPECT_EQ(number(record(1), "y"), 79);
  EXPECT_EQ(undo().undoCount(), 2u);
}

}  // namespace
