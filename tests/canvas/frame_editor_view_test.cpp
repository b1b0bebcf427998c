#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace {

using canvas_testing::colourRecord;
using canvas_testing::documentWith;
using platform::Point;
using platform::Rect;
using platform::Size;

class FrameEditorViewTest : public canvas_testing::CanvasTest {
 protected:
  FrameEditorViewTest() { settings().setBool(false, "show_ruler"); }

  void show(float zoom, double width = 400, double height = 300) {
    document_ = documentWith(width, height, zoom, colourRecord(255, 255, 255, 255));
    frameView_->setDocument(document_);
  }
  float savedZoom() const { return document_->data()->get("zoom").floatValue(); }
  bool frameChangePosted() const {
    return std::count(model_.posted.begin(), model_.posted.end(), kCMViewFrameDidChangeNotification) > 0;
  }

  std::shared_ptr<CMFrameEditorView> frameView_ = std::make_shared<CMFrameEditorView>(Rect{0, 0, 1000, 800});
  std::shared_ptr<CMDocument> document_;
};

TEST_F(FrameEditorViewTest, ADocumentSavedAtTwelveOpensAtTheLastStepAndCannotZoomIn) {
  show(12.0f);
  EXPECT_EQ(frameView_->zoomIndex(), 10);
  frameView_->zoomIn({10, 10});
  EXPECT_FLOAT_EQ(frameView_->zoom(), 12.0f);
  EXPECT_TRUE(controller().scrollPositions.empty());  // nothing happened, not even the scroll request
  EXPECT_FALSE(frameChangePosted());

  frameView_->zoomOut({500, 200});
  EXPECT_EQ(frameView_->zoomIndex(), 9);
  EXPECT_FLOAT_EQ(frameView_->zoom(), 8.0f);
  EXPECT_FLOAT_EQ(savedZoom(), 8.0f);
  EXPECT_TRUE(document_->data()->get("zoom").isReal32());
  EXPECT_FLOAT_EQ(frameView_->editor().zoom(), 8.0f);
  EXPECT_TRUE(frameChangePosted());
}

TEST_F(FrameEditorViewTest, AtTheSmallestStepZoomOutDoesNothing) {
  show(0.125f);
  EXPECT_EQ(frameView_->zoomIndex(), 0);
  frameView_->zoomOut();
  EXPECT_FLOAT_EQ(frameView_->zoom(), 0.125f);
  frameView_->zoomIn();
  EXPECT_FLOAT_EQ(frameView_->zoom(), 0.25f);
  EXPECT_EQ(frameView_->zoomIndex(), 1);
}

TEST_F(FrameEditorViewTest, AnOffTableZoomFreezesTheIndexUntilAStepIsChosen) {
  show(1.0f);
  EXPECT_EQ(frameView_->zoomIndex(), 4);
  show(1.5f);
  EXPECT_EQ(frameView_->zoomIndex(), 4);
  EXPECT_FALSE(frameView_->isZoomOnStep());
  frameView_->zoomIn();
  frameView_->zoomOut();
  EXPECT_FLOAT_EQ(frameView_->zoom(), 1.5f);
  EXPECT_FLOAT_EQ(savedZoom(), 1.5f);
  frameView_->zoom100();
  EXPECT_FLOAT_EQ(frameView_->zoom(), 1.0f);
  EXPECT_FLOAT_EQ(savedZoom(), 1.0f);
  frameView_->zoomIn();
  EXPECT_FLOAT_EQ(frameView_->zoom(), 2.0f);
}

TEST_F(FrameEditorViewTest, ZoomingAsksToScrollToTheFocusPointsRelativePlace) {
  show(1.0f);
  frameView_->zoomIn({250, 200});
  frameView_->zoomIn({2500, 400});  // beyond the frame: clamped to the end
  ASSERT_EQ(controller().scrollPositions.size(), 2u);
  EXPECT_EQ(controller().scrollPositions[0], (Point{0.25, 0.25}));
  EXPECT_EQ(controller().scrollPositions[1], (Point{1, 0.5}));
}

TEST_F(FrameEditorViewTest, FitChoosesTheLargestStepThatHoldsThePage) {
  show(1.0f, 800, 600);
  frameView_->zoomFit({1700, 1300});  // 200 % fits (1600 × 1200), 300 % does not
  EXPECT_FLOAT_EQ(frameView_->zoom(), 2.0f);
  frameView_->zoomFit({50, 50});
  EXPECT_FLOAT_EQ(frameView_->zoom(), 0.125f);
  frameView_->zoomFit({100000, 100000});  // fits at 800 %: unchanged
  EXPECT_FLOAT_EQ(frameView_->zoom(), 0.125f);
}

TEST_F(FrameEditorViewTest, ADamagedDocumentStillGetsAFiniteCanvas) {
  document_ = documentWith(std::numeric_limits<double>::quiet_NaN(), -50, std::numeric_limits<float>::infinity(),
                           colourRecord(255, 255, 255, 255));
  frameView_->setDocument(document_);
  EXPECT_FLOAT_EQ(frameView_->zoom(), 1.0f);
  EXPECT_EQ(frameView_->zoomIndex(), 4);
  EXPECT_EQ(frameView_->getCanvasSize(), (Size{20, 20}));
  EXPECT_EQ(frameView_->editor().frame(), (Rect{500, 400, 0, 0}));
}

TEST_F(FrameEditorViewTest, CanvasSizeIsTheScaledPagePlusMarginAndRulerBand) {
  show(2.0f);
  EXPECT_EQ(frameView_->getCanvasSize(), (Size{820, 620}));
  settings().setBool(true, "show_ruler");
  EXPECT_EQ(frameView_->getCanvasSize(), (Size{880, 680}));
  show(0.125f);
  EXPECT_EQ(frameView_->getCanvasSize(), (Size{130, 117.5}));
}

TEST_F(FrameEditorViewTest, TheCanvasStaysCentredThroughResizesAndZooms) {
  show(1.0f);
  EXPECT_EQ(frameView_->editor().frame(), (Rect{300, 250, 400, 300}));
  frameView_->setFrameSize({600, 500});
  EXPECT_EQ(frameView_->editor().frame(), (Rect{100, 100, 400, 300}));
  frameView_->zoomIn();
  EXPECT_EQ(frameView_->editor().frame(), (Rect{-100, -50, 800, 600}));
  frameView_->setFrameSize({901, 700});
  EXPECT_EQ(frameView_->editor().frame(), (Rect{51, 50, 800, 600})) << "on the whole pixel GTK places it at";
}

TEST_F(FrameEditorViewTest, AClickInTheMarginDeselectsEveryLayer) {
  document_ = documentWith(400, 300, 1.0f, colourRecord(255, 255, 255, 255),
                           {canvas_testing::filledRectangle(1, {10, 10, 50, 50}, 255, 0, 0),
                            canvas_testing::filledRectangle(2, {100, 10, 50, 50}, 0, 0, 255)});
  platform::Window window({1000, 800});
  window.setContentView(frameView_);
  frameView_->setDocument(document_);
  CMEditorView& canvas = frameView_->editor();
  ASSERT_EQ(canvas.layers().size(), 2u);
  canvas.layers()[0]->setSelected(true);
  canvas.layers()[1]->setSelectedAsPartOfGroup(true);
  canvas.setSelectedLayer(canvas.layers()[0]);

  // Window coordinates are y-up; the canvas spans (300, 250)–(700, 550) from the frame view's top-left, so
  // (100, 100) is in the margin.
  window.sendEvent(platform::test::mouseEvent(platform::EventType::LeftMouseDown, {100, 800 - 100.0}));
  EXPECT_TRUE(canvas.allSelectedLayers().empty());
  EXPECT_EQ(canvas.selectedLayer(), nullptr);
  ASSERT_EQ(controller().selections.size(), 1u);
  EXPECT_EQ(controller().selections[0].record, nullptr);
  EXPECT_EQ(controller().selections[0].sender, &canvas);
}

TEST_F(FrameEditorViewTest, RefreshesReachTheCanvasAndThePointerReachesTheRulers) {
  show(1.0f);
  EXPECT_TRUE(frameView_->editor().layers().empty());
  document_->data()->array("layers")->add(canvas_testing::filledRectangle(7, {0, 0, 5, 5}, 0, 0, 0));
  frameView_->updateEditor();
  ASSERT_EQ(frameView_->editor().layers().size(), 1u);
  EXPECT_EQ(frameView_->editor().delegate(), frameView_.get());

  platform::Window window({1000, 800});
  window.setContentView(frameView_);
  // The frame view is flipped: window (120, 700) is 100 below its top.
  frameView_->updateRules(platform::test::mouseEvent(platform::EventType::MouseMoved, {120, 700}));
  EXPECT_EQ(frameView_->rulePoint(), (Point{120, 100}));
}

}  // namespace
