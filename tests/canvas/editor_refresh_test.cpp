#include <gtest/gtest.h>

#include <cairo.h>

#include <memory>

#include "canvas/CMEditorView.h"
#include "canvas/CMThumbView.h"
#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "platform/graphics/graphics_context.h"

namespace {

using canvas_testing::filledRectangle;

class EditorRefreshTest : public canvas_testing::CanvasTest {
 protected:
  EditorRefreshTest() {
    document_ = canvas_testing::plainDocument({filledRectangle(1, {0, 0, 10, 10}, 0, 0, 0),
                                               filledRectangle(2, {20, 0, 10, 10}, 0, 0, 0),
                                               filledRectangle(3, {40, 0, 10, 10}, 0, 0, 0)});
    canvas_->setDocument(document_);
  }
  std::shared_ptr<CMLayer> layerWithId(std::int32_t id) const {
    for (const auto& layer : canvas_->layers())
      if (layer->layerId() == id) return layer;
    return nullptr;
  }

  std::shared_ptr<CMDocument> document_;
  std::shared_ptr<CMEditorView> canvas_ = std::make_shared<CMEditorView>(platform::Rect{0, 0, 400, 300});
};

TEST_F(EditorRefreshTest, UpdateFindsTheSelectionAgainByRecordId) {
  std::weak_ptr<CMLayer> oldSecond = layerWithId(2);
  layerWithId(2)->setSelected(true);
  layerWithId(3)->setSelectedAsPartOfGroup(true);
  canvas_->setSelectedLayer(layerWithId(2));
  canvas_->setCurveAddedLayer(layerWithId(3));
  canvas_->setEditingLayer(layerWithId(1));

  // The model drops layer 3 and adds layer 4 behind the canvas's back.
  const platform::ArrayRef list = document_->data()->array("layers");
  list->removeAt(2);
  list->add(filledRectangle(4, {60, 0, 10, 10}, 0, 0, 0));
  canvas_->update();

  ASSERT_EQ(canvas_->layers().size(), 3u);
  EXPECT_TRUE(oldSecond.expired()) << "the canvas must not hold on to a dropped layer object";
  EXPECT_TRUE(layerWithId(2)->selected());
  EXPECT_FALSE(layerWithId(1)->selected());
  EXPECT_FALSE(layerWithId(4)->selected());
  EXPECT_FALSE(layerWithId(4)->selectedAsPartOfGroup());
  EXPECT_EQ(canvas_->selectedLayer(), layerWithId(2));
  EXPECT_EQ(canvas_->curveAddedLayer(), nullptr);  // its layer is gone
  EXPECT_EQ(canvas_->editingLayer(), layerWithId(1));
  EXPECT_EQ(canvas_->selectedLayers(), (CMEditorView::Layers{layerWithId(2)}));
  EXPECT_TRUE(canvas_->multySelectedLayers().empty());
}

TEST_F(EditorRefreshTest, GroupSelectionSurvivesARebuildToo) {
  layerWithId(1)->setSelectedAsPartOfGroup(true);
  layerWithId(3)->setSelectedAsPartOfGroup(true);
  canvas_->update();
  EXPECT_EQ(canvas_->multySelectedLayers(), (CMEditorView::Layers{layerWithId(1), layerWithId(3)}));
  EXPECT_EQ(canvas_->allSelectedLayers().size(), 2u);
}

TEST_F(EditorRefreshTest, SizeUpdatesTakeTheRecordsWidthAndHeight) {
  layerWithId(2)->setSelected(true);
  const platform::DictRef record = layerWithId(2)->data();
  record->set("width", 25.75);
  record->set("height", 12.0);
  canvas_->updateSelectedLayerSize();
  // The sides as the record was given them, not cut to whole units.
  EXPECT_EQ(record->get("width").doubleValue(), 25.75);
  EXPECT_EQ(record->get("height").doubleValue(), 12);
}

TEST_F(EditorRefreshTest, TheActiveEditorIsTheCanvasThatDrewLastAndGoesWithIt) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 300);
  {
    platform::GraphicsContext context(surface, 300, true);
    platform::CurrentContextScope current(context);
    canvas_->drawRect(canvas_->bounds());
    EXPECT_EQ(CMEditorView::activeEditor(), canvas_.get());

    auto thumb = std::make_shared<CMThumbView>(platform::Rect{0, 0, 400, 300});
    thumb->setDocument(document_);
    thumb->drawRect(thumb->bounds());
    EXPECT_EQ(CMEditorView::activeEditor(), canvas_.get()) << "the off-screen canvas never becomes active";

    auto second = std::make_shared<CMEditorView>(platform::Rect{0, 0, 400, 300});
    second->setDocument(document_);
    second->drawRect(second->bounds());
    EXPECT_EQ(CMEditorView::activeEditor(), second.get());
    second.reset();
    EXPECT_EQ(CMEditorView::activeEditor(), nullptr);
  }
  cairo_surface_destroy(surface);
}

}  // namespace
