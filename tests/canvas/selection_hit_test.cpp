#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <memory>

#include "platform/graphics/graphics_context.h"
#include "selection_test_support.h"

namespace {

using canvas_testing::filledRectangle;
using platform::Point;
using platform::Rect;
using selection_testing::SelectionTest;

class SelectionHitTest : public SelectionTest {
 protected:
  // A 100 × 50 layer at (100, 80): its right-edge handle (kind 1) sits at (200, 105) at zoom 1.
  void showOne(float zoom = 1) {
    canvas_->setZoom(zoom);
    show(canvas_testing::documentWith(400, 300, zoom, canvas_testing::colourRecord(255, 255, 255, 255),
                                      {filledRectangle(1, {100, 80, 100, 50}, 255, 0, 0)}));
  }
  void makeCurrent(std::int32_t id) {
    const auto layer = layerWithId(id);
    ASSERT_TRUE(layer);
    canvas_->setSelectedLayer(layer);
  }
  std::int32_t handleKindAt(Point p) const {
    const auto hit = canvas_->findLayerAt(p);
    return hit && hit->editingPoint ? hit->editingPoint->get("type").intValue() : -1;
  }
};

TEST_F(SelectionHitTest, AHandleIsHitWithinSixCanvasUnitsAtZoomOne) {
  showOne();
  makeCurrent(1);
  EXPECT_EQ(handleKindAt({205.9, 105}), 1);
  EXPECT_EQ(handleKindAt({200, 99.1}), 1);
  EXPECT_EQ(handleKindAt({204, 109}), 1);  // 5.66 away on the diagonal
  EXPECT_FALSE(canvas_->findLayerAt({206.2, 105})) << "outside the circle and the body";
  EXPECT_FALSE(canvas_->findLayerAt({205, 110})) << "inside the circle's box, outside the circle";
}

TEST_F(SelectionHitTest, AHandleKeepsItsSixUnitReachAtZoomFour) {
  showOne(4);
  makeCurrent(1);
  // The handle lies at (800, 420) on the canvas; its reach stays 6 canvas units.
  EXPECT_EQ(handleKindAt({805.9, 420}), 1);
  EXPECT_FALSE(canvas_->findLayerAt({806.2, 420}));
  EXPECT_EQ(handleKindAt({794.5, 420}), 1) << "inside the body, the handle still comes first";
}

// A click just after a zoom, before the canvas is drawn again, meets the layers where the new zoom puts them.
TEST_F(SelectionHitTest, AClickBeforeTheNewZoomIsDrawnMeetsTheLayersThere) {
  showOne();
  {
    // Drawn once at zoom 1, as the window shows it.
    const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 300), cairo_surface_destroy);
    platform::GraphicsContext context(surface.get(), 300, true);
    const platform::CurrentContextScope current(context);
    canvas_->drawRect({0, 0, 400, 300});
  }
  ASSERT_TRUE(canvas_->findLayerAt({120, 90}));
  document_->data()->set("zoom", 2.0f);
  canvas_->setZoom(2);
  const auto hit = canvas_->findLayerAt({300, 210});
  ASSERT_TRUE(hit) << "the layer's middle at zoom 2";
  EXPECT_EQ(hit->layer->layerId(), 1);
  EXPECT_FALSE(canvas_->findLayerAt({120, 90})) << "inside the layer at zoom 1 only";
}

TEST_F(SelectionHitTest, WhereHandleCirclesOverlapTheFirstListedWins) {
  show(canvas_testing::plainDocument({filledRectangle(1, {100, 100, 8, 8}, 255, 0, 0)}));
  makeCurrent(1);
  // The top-left corner (kind 7, listed before the top middle, kind 3) is 3 units away, kind 3 only 1.
  EXPECT_EQ(handleKindAt({103, 100}), 7);
  // Out of the corners' reach (6.4 away) the middle handle is hit.
  EXPECT_EQ(handleKindAt({104, 95}), 3);
}

TEST_F(SelectionHitTest, HandlesOfTheCurrentLayerBeatTheBodiesAbove) {
  show(canvas_testing::plainDocument(
      {filledRectangle(1, {100, 80, 100, 50}, 255, 0, 0), filledRectangle(2, {180, 60, 100, 100}, 0, 0, 255)}));
  makeCurrent(1);
  const auto onHandle = canvas_->findLayerAt({200, 105});
  ASSERT_TRUE(onHandle);
  EXPECT_EQ(onHandle->layer->layerId(), 1);
  EXPECT_TRUE(onHandle->editingPoint);
  const auto onBody = canvas_->findLayerAt({190, 120});
  ASSERT_TRUE(onBody);
  EXPECT_EQ(onBody->layer->layerId(), 2) << "the topmost body";
  EXPECT_FALSE(onBody->editingPoint);
}

TEST_F(SelectionHitTest, HiddenLayersAreNeverHitAndLockedOnesAre) {
  platform::DictRef hidden = filledRectangle(2, {100, 80, 100, 50}, 0, 0, 255);
  hidden->set("visible", false);
  platform::DictRef locked = filledRectangle(3, {10, 10, 40, 40}, 0, 255, 0);
  locked->set("lock", 1);
  show(canvas_testing::plainDocument({filledRectangle(1, {100, 80, 100, 50}, 255, 0, 0), hidden, locked}));
  const auto under = canvas_->findLayerAt({150, 100});
  ASSERT_TRUE(under);
  EXPECT_EQ(under->layer->layerId(), 1);
  const auto onLocked = canvas_->findLayerAt({20, 20});
  ASSERT_TRUE(onLocked);
  EXPECT_EQ(onLocked->layer->layerId(), 3);
}

TEST_F(SelectionHitTest, ATurnedFrameIsHitWhereItNowLies) {
  // 100 × 20 at (100, 100) turned by 90° about its centre (150, 110): it now spans x 140–160, y 60–160.
  platform::DictRef record = filledRectangle(1, {100, 100, 100, 20}, 255, 0, 0);
  record->set("rotate", 90.0);
  show(canvas_testing::plainDocument({record}));
  EXPECT_TRUE(canvas_->findLayerAt({150, 65}));
  EXPECT_TRUE(canvas_->findLayerAt({145, 155}));
  EXPECT_FALSE(canvas_->findLayerAt({105, 110})) << "the unturned frame's place";
}

TEST_F(SelectionHitTest, TheHitRecordListsTheOtherMembersTopmostFirst) {
  show(canvas_testing::plainDocument({filledRectangle(1, {0, 0, 10, 10}, 255, 0, 0),
                                      filledRectangle(2, {20, 0, 10, 10}, 255, 0, 0),
                                      filledRectangle(3, {40, 0, 10, 10}, 255, 0, 0)}));
  layerWithId(1)->setSelectedAsPartOfGroup(true);
  layerWithId(3)->setSelectedAsPartOfGroup(true);
  layerWithId(3)->setSelected(true);  // the primary is not a member of the list
  layerWithId(2)->setSelectedAsPartOfGroup(true);
  const auto hit = canvas_->findLayerAt({45, 5});
  ASSERT_TRUE(hit);
  ASSERT_EQ(hit->group.size(), 2u);
  EXPECT_EQ(hit->group[0]->layerId(), 2);
  EXPECT_EQ(hit->group[1]->layerId(), 1);
}

TEST_F(SelectionHitTest, PathPointModeHitsThePointHandles) {
  platform::DictRef record = document_testing::pathLayerRecord(
      {document_testing::pointRecord(1, {0, 0}, 1), document_testing::pointRecord(2, {60, 0}, 2),
       document_testing::pointRecord(3, {60, 40}, 2)},
      100, 100);
  record->set("id", 1);
  show(canvas_testing::plainDocument({record}));
  CMProject::shareProject().setEditMode(kCMEditModePathPoints);
  makeCurrent(1);
  const auto hit = canvas_->findLayerAt({161, 101});
  ASSERT_TRUE(hit && hit->editingPoint);
  EXPECT_EQ(hit->editingPoint->get("type").intValue(), 12);
  EXPECT_EQ(hit->editingPoint->get("id").intValue(), 2);
}

}  // namespace
