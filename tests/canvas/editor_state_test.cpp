#include <gtest/gtest.h>

#include <cairo.h>
#include <gdkmm/window.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas_test_support.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "platform/core/main_queue.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/window.h"
#include "spy_canvas.h"
#include "ui_test_harness.h"

namespace {

using canvas_testing::filledRectangle;
using platform::Point;
using platform::Rect;

class EditorStateTest : public canvas_testing::CanvasTest {
 protected:
  EditorStateTest() {
    document_ = canvas_testing::plainDocument(
        {filledRectangle(1, {0, 0, 10, 10}, 0, 0, 0), filledRectangle(2, {20, 0, 10, 10}, 0, 0, 0)});
    canvas_->setDocument(document_);
  }

  std::shared_ptr<CMDocument> document_;
  std::shared_ptr<canvas_testing::SpyCanvas> canvas_ =
      std::make_shared<canvas_testing::SpyCanvas>(Rect{50, 40, 400, 300});
};

TEST_F(EditorStateTest, VectorViewModeHandsTheZoomToTheLayersAndCachedModeKeepsOne) {
  canvas_->setZoom(2.0f);
  EXPECT_FLOAT_EQ(canvas_->drawer().viewZoom(), 1.0f);
  canvas_->setViewMode(true);
  EXPECT_TRUE(canvas_->drawer().viewMode());
  EXPECT_FLOAT_EQ(canvas_->drawer().viewZoom(), 2.0f);
  canvas_->setViewMode(false);
  EXPECT_FLOAT_EQ(canvas_->drawer().viewZoom(), 1.0f);
  EXPECT_FLOAT_EQ(canvas_->zoom(), 2.0f);
}

TEST_F(EditorStateTest, TheZoomTransformsFollowTheDocumentsZoom) {
  document_->data()->set("zoom", platform::Value(4.0f));
  EXPECT_EQ(canvas_->zoomTransform().transformPoint({3, 5}), (Point{12, 20}));
  EXPECT_EQ(canvas_->backZoomTransform().transformPoint({12, 20}), (Point{3, 5}));
  document_->data()->set("zoom", platform::Value(0.0f));  // a damaged zoom must not make them singular
  EXPECT_EQ(canvas_->backZoomTransform().transformPoint({12, 20}), (Point{12, 20}));
}

TEST_F(EditorStateTest, OnlySelectedLayersAreMarkedForRedrawing) {
  const auto first = canvas_->layers()[0];
  const auto second = canvas_->layers()[1];
  first->setSelected(true);
  first->setDirty(false);
  second->setDirty(false);
  canvas_->updateSelectedLayer();
  EXPECT_TRUE(first->dirty());
  EXPECT_FALSE(second->dirty());
  first->setDirty(false);
  canvas_->updateSelectedShape();
  EXPECT_TRUE(first->dirty());
  EXPECT_FALSE(second->dirty());
}

// A layer that counts the point-editing preparations it is asked for.
class PreparedLayer : public CMLayer {
 public:
  using CMLayer::CMLayer;
  void prepareEditing() override { ++preparations; }
  int preparations = 0;
};

TEST_F(EditorStateTest, ThePathPointToolPreparesOnlyTheSelectedLayers) {
  auto chosen = std::make_shared<PreparedLayer>(filledRectangle(8, {0, 0, 5, 5}, 0, 0, 0));
  auto other = std::make_shared<PreparedLayer>(filledRectangle(9, {0, 0, 5, 5}, 0, 0, 0));
  canvas_->drawer().layers() = {chosen, other};
  chosen->setSelected(true);
  canvas_->selectTool(kCMToolPathPoints, nullptr);
  EXPECT_EQ(chosen->preparations, 1);
  EXPECT_EQ(other->preparations, 0);
  canvas_->selectTool(kCMToolGradient, nullptr);  // leaving the tool asks for nothing more
  EXPECT_EQ(chosen->preparations, 1);
  EXPECT_TRUE(chosen->selected());
}

TEST_F(EditorStateTest, ACanvasWithoutADocumentStaysQuiet) {
  auto empty = std::make_shared<CMEditorView>(Rect{0, 0, 100, 100});
  empty->update();
  EXPECT_TRUE(empty->layers().empty());
  EXPECT_FALSE(empty->customKeyDown(platform::test::keyEvent(platform::EventType::KeyDown, "\x7F", 51)));
  empty->moveSelectedLayer({1, 1});
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100);
  {
    platform::GraphicsContext context(surface, 100, true);
    platform::CurrentContextScope current(context);
    empty->drawRect(empty->bounds());
  }
  // No document reads as a transparent page: the checker shows.
  EXPECT_EQ(platform::test::pixelAt(surface, 4, 4).alpha, 255);
  cairo_surface_destroy(surface);
}

TEST_F(EditorStateTest, ClosingEditingOperationsForgetsThePenCurveLayer) {
  canvas_->setCurveAddedLayer(canvas_->layers()[1]);
  canvas_->closeCurrentEditingOperations();
  EXPECT_EQ(canvas_->curveAddedLayer(), nullptr);
}

TEST_F(EditorStateTest, ALibraryShapeDropsOnlyOntoThePage) {
  platform::Window window({800, 600});
  window.setContentView(std::make_shared<platform::View>(Rect{0, 0, 800, 600}));
  window.contentView()->addSubview(canvas_);
  ASSERT_TRUE(platform::test::showAndSettle(window));
  int originX = 0;
  int originY = 0;
  window.host().get_window()->get_origin(originX, originY);
  // The canvas spans x 50–450 and, from the top of the y-up content view, y 260–560 of the window's pixels.
  const auto screen = [&](double x, double y) { return Point{originX + x, originY + y}; };
  EXPECT_TRUE(canvas_->canAddShape(screen(55, 265)));
  EXPECT_TRUE(canvas_->canAddShape(screen(445, 555)));
  EXPECT_FALSE(canvas_->canAddShape(screen(45, 265)));
  EXPECT_FALSE(canvas_->canAddShape(screen(455, 300)));
  EXPECT_FALSE(canvas_->canAddShape(screen(100, 255)));
  EXPECT_FALSE(canvas_->canAddShape(screen(100, 565)));

  canvas_->selectTool(kCMToolLibraryShape, nullptr);
  canvas_->addShape(screen(100, 300), platform::Dictionary::make({{"name", "Heart"}}));
  platform::drainMainQueue();
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  EXPECT_EQ(controller().toolsSelected, std::vector<int>{kCMToolSelect});
}

}  // namespace
