#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "platform/core/main_queue.h"
#include "platform/ui/cursor.h"
#include "platform/ui/window.h"
#include "spy_canvas.h"
#include "ui_test_harness.h"

namespace {

using canvas_testing::SpyCanvas;
using platform::EventType;
using platform::Point;
using platform::Rect;
using Calls = std::vector<std::string>;

// The main window's content view: takes keys, holds the canvas at (50, 40).
class MainView : public platform::View {
 public:
  using platform::View::View;
  bool acceptsFirstResponder() const override { return true; }
};

class EditorDispatchTest : public canvas_testing::CanvasTest {
 protected:
  EditorDispatchTest() {
    mainView_->addSubview(canvas_);
    window_.setContentView(mainView_);
    controller().mainViewToFocus = mainView_.get();
    canvas_->setDocument(canvas_testing::plainDocument());
  }

  // A press at a canvas point: the canvas is flipped, its top edge at y 340 of the y-up main view.
  platform::Event press(Point onCanvas, int clicks = 1, EventType type = EventType::LeftMouseDown) const {
    return platform::test::mouseEvent(type, {50 + onCanvas.x, 40 + 300 - onCanvas.y}, 0, clicks);
  }
  void click(int tool, int clicks = 1) {
    canvas_->selectTool(tool, nullptr);
    canvas_->calls.clear();
    window_.sendEvent(press({20, 30}, clicks));
    window_.sendEvent(press({20, 30}, clicks, EventType::LeftMouseUp));
  }

  platform::Window window_{{800, 600}};
  std::shared_ptr<MainView> mainView_ = std::make_shared<MainView>(Rect{0, 0, 800, 600});
  std::shared_ptr<SpyCanvas> canvas_ = std::make_shared<SpyCanvas>(Rect{50, 40, 400, 300});
};

TEST_F(EditorDispatchTest, OneShotToolsReturnToSelectOnceTheMainQueueRuns) {
  // The pencil hides the selection marks itself when its stroke ends.
  const std::vector<std::pair<int, Calls>> oneShot = {
      {3, {"addRectangle"}}, {4, {"addRoundRectangle"}}, {7, {"addShare"}},   {8, {"addOval"}},
      {11, {"addStar"}},     {12, {"addLine"}},          {13, {"addPolygon"}}, {15, {"addPencil", "hideSel"}}};
  for (const auto& entry : oneShot) {
    click(entry.first);
    EXPECT_EQ(canvas_->calls, entry.second) << entry.first;
    EXPECT_EQ(canvas_->currentTool(), entry.first) << "the completion runs later, from the main queue";
    controller().toolsSelected.clear();
    platform::drainMainQueue();
    EXPECT_EQ(canvas_->currentTool(), kCMToolSelect) << entry.first;
    EXPECT_EQ(controller().toolsSelected, std::vector<int>{kCMToolSelect}) << entry.first;
  }
}

TEST_F(EditorDispatchTest, TheLibraryToolHandsOverItsShapeData) {
  const platform::DictRef shape = platform::Dictionary::make({{"name", "Heart"}});
  canvas_->selectTool(kCMToolLibraryShape, shape);
  window_.sendEvent(press({5, 5}));
  EXPECT_EQ(canvas_->shapeData, shape);
}

TEST_F(EditorDispatchTest, EraserAndPenStayAndTheLibraryPointToolReturnsToPointEditing) {
  click(kCMToolPen);
  // The pen alone also takes the mouse up outside its gesture.
  EXPECT_EQ(canvas_->calls, (Calls{"addBetheier", "mouseUpBezheir"}));
  platform::drainMainQueue();
  EXPECT_EQ(canvas_->currentTool(), kCMToolPen);

  click(kCMToolEraser);
  EXPECT_EQ(canvas_->calls, (Calls{"erase"}));
  platform::drainMainQueue();
  EXPECT_EQ(canvas_->currentTool(), kCMToolEraser);

  click(kCMToolAddBezierPoint);
  EXPECT_EQ(canvas_->calls, (Calls{"addBetherPoint"}));
  platform::drainMainQueue();
  EXPECT_EQ(canvas_->currentTool(), kCMToolPathPoints);
}

TEST_F(EditorDispatchTest, TheTextToolStartsEditingAndStays) {
  click(kCMToolText);
  EXPECT_EQ(canvas_->calls, (Calls{"startEditingText"}));
  platform::drainMainQueue();
  EXPECT_EQ(canvas_->currentTool(), kCMToolText);
}

TEST_F(EditorDispatchTest, SelectToolsSelectThenMoveThenDragARubberBand) {
  for (const int tool : {0, 1, 2}) {
    click(tool);
    EXPECT_EQ(canvas_->calls, (Calls{"selectItem", "moveItem", "selectArea"})) << tool;
  }
  canvas_->moveItemAnswer = true;
  click(kCMToolSelect);
  EXPECT_EQ(canvas_->calls, (Calls{"selectItem", "moveItem"}));
  // A double click selects, then hands the click to dbClick and nothing else.
  click(kCMToolSelect, 2);
  EXPECT_EQ(canvas_->calls, (Calls{"selectItem", "dbClick"}));
}

TEST_F(EditorDispatchTest, TheZoomToolZoomsAtTheClickInOrOutByOption) {
  click(kCMToolZoom);
  ASSERT_EQ(controller().zoomIns.size(), 1u);
  EXPECT_EQ(controller().zoomIns[0], (Point{20, 30}));
  controller().altPressed = true;
  click(kCMToolZoom);
  ASSERT_EQ(controller().zoomOuts.size(), 1u);
  EXPECT_EQ(controller().zoomOuts[0], (Point{20, 30}));
}

TEST_F(EditorDispatchTest, ToolsWithoutAGestureOnlyHandTheKeysToTheMainView) {
  for (const int tool : {6, 9, 18, 40}) {
    window_.makeFirstResponder(nullptr);
    click(tool);
    EXPECT_TRUE(canvas_->calls.empty()) << tool;
    EXPECT_EQ(window_.firstResponder(), mainView_.get()) << tool;
    EXPECT_TRUE(controller().zoomIns.empty());
  }
}

TEST_F(EditorDispatchTest, OnlyThePenTakesDragsMovesAndUpsOutsideItsLoop) {
  canvas_->selectTool(kCMToolRectangle, nullptr);
  canvas_->calls.clear();
  canvas_->mouseDragged(press({1, 1}, 1, EventType::LeftMouseDragged));
  canvas_->mouseMoved(press({1, 1}, 1, EventType::MouseMoved));
  canvas_->mouseUp(press({1, 1}, 1, EventType::LeftMouseUp));
  EXPECT_TRUE(canvas_->calls.empty());
  canvas_->selectTool(kCMToolPen, nullptr);
  canvas_->calls.clear();
  canvas_->mouseDragged(press({1, 1}, 1, EventType::LeftMouseDragged));
  canvas_->mouseMoved(press({1, 1}, 1, EventType::MouseMoved));
  canvas_->mouseUp(press({1, 1}, 1, EventType::LeftMouseUp));
  EXPECT_EQ(canvas_->calls, (Calls{"mouseDraggedBezheir", "mouseMovedBezheir", "mouseUpBezheir"}));
}

TEST_F(EditorDispatchTest, ARightClickEndsAToolOrOpensTheContextMenu) {
  canvas_->selectTool(kCMToolRectangle, nullptr);
  window_.sendEvent(press({12, 34}, 1, EventType::RightMouseDown));
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  EXPECT_EQ(controller().toolsSelected, (std::vector<int>{kCMToolSelect, kCMToolSelect}));
  EXPECT_TRUE(controller().arrangeMenus.empty());

  window_.sendEvent(press({12, 34}, 1, EventType::RightMouseDown));
  ASSERT_EQ(controller().arrangeMenus.size(), 1u);
  EXPECT_EQ(controller().arrangeMenus[0], (Point{12, 34}));
}

TEST_F(EditorDispatchTest, ChoosingAToolFinishesThePenCurveAndClearsPrimarySelectionFromTagThreeOn) {
  canvas_->setDocument(canvas_testing::plainDocument({canvas_testing::filledRectangle(1, {0, 0, 10, 10}, 0, 0, 0),
                                                     canvas_testing::filledRectangle(2, {20, 0, 10, 10}, 0, 0, 0)}));
  const auto& layers = canvas_->layers();
  layers[0]->setSelected(true);
  layers[1]->setSelectedAsPartOfGroup(true);
  canvas_->setBezierMode(2);
  canvas_->calls.clear();
  canvas_->selectTool(kCMToolGradient, nullptr);
  EXPECT_EQ(canvas_->calls, (Calls{"saveCurve"}));
  EXPECT_EQ(canvas_->bezierMode(), 0);
  EXPECT_TRUE(layers[0]->selected());
  canvas_->selectTool(kCMToolRectangle, nullptr);
  EXPECT_FALSE(layers[0]->selected());
  EXPECT_TRUE(layers[1]->selectedAsPartOfGroup());
}

TEST_F(EditorDispatchTest, EachToolShowsItsCursor) {
  canvas_->selectTool(kCMToolSelect, nullptr);
  EXPECT_EQ(canvas_->toolCursor()->systemName(), platform::Cursor::arrow()->systemName());
  for (const int tool : {3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 15}) {
    canvas_->selectTool(tool, nullptr);
    EXPECT_EQ(canvas_->toolCursor()->systemName(), platform::Cursor::crosshair()->systemName()) << tool;
  }
  canvas_->selectTool(kCMToolPen, nullptr);
  EXPECT_EQ(canvas_->toolCursor(), canvas_->findCursor(CMEditorView::kCursorPenAdd));
  canvas_->setBezierMode(1);
  EXPECT_EQ(canvas_->toolCursor(), canvas_->findCursor(CMEditorView::kCursorPen));
  EXPECT_EQ(canvas_->cursor(), canvas_->findCursor(CMEditorView::kCursorPen));  // the sub-mode resets the cursor
  EXPECT_EQ(canvas_->findCursor(CMEditorView::kCursorPen)->hotSpot(), (Point{11, 0}));
  EXPECT_EQ(canvas_->findCursor(CMEditorView::kCursorZoomIn)->hotSpot(), (Point{7, 0}));
  canvas_->selectTool(kCMToolZoom, nullptr);
  EXPECT_EQ(canvas_->toolCursor(), canvas_->findCursor(CMEditorView::kCursorZoomIn));
  controller().altPressed = true;
  EXPECT_EQ(canvas_->toolCursor(), canvas_->findCursor(CMEditorView::kCursorZoomOut));
  canvas_->selectTool(kCMToolAddBezierPoint, nullptr);
  EXPECT_EQ(canvas_->toolCursor(), canvas_->findCursor(CMEditorView::kCursorPenAdd));
  canvas_->selectTool(18, nullptr);
  EXPECT_EQ(canvas_->toolCursor(), nullptr);
  EXPECT_EQ(canvas_->findCursor(6), nullptr);
  for (int type = 0; type < 6; ++type) EXPECT_NE(canvas_->findCursor(type), nullptr) << type;
}

}  // namespace
