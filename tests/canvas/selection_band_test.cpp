#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>

#include "platform/graphics/graphics_context.h"
#include "selection_test_support.h"

namespace {

using canvas_testing::filledRectangle;
using platform::Point;
using platform::Rect;
using platform::test::Pixel;
using platform::test::pixelAt;
using selection_testing::SelectionTest;

class SelectionBandTest : public SelectionTest {
 protected:
  // Layer 1: 60 × 40 at (20, 20); layer 2: 60 × 40 at (200, 100); layer 3 hidden at (100, 20).
  SelectionBandTest() {
    platform::DictRef hidden = filledRectangle(3, {100, 20, 40, 40}, 0, 255, 0);
    hidden->set("visible", false);
    show(canvas_testing::plainDocument({filledRectangle(1, {20, 20, 60, 40}, 255, 0, 0),
                                        filledRectangle(2, {200, 100, 60, 40}, 0, 0, 255), hidden}));
  }
  bool member(std::int32_t id) const { return layerWithId(id)->selectedAsPartOfGroup(); }
  bool primary(std::int32_t id) const { return layerWithId(id)->selected(); }

  // The feedback alone, drawn on a transparent 400 × 300 surface in canvas coordinates.
  platform::test::ImageSurface drawFeedback() {
    platform::test::ImageSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 300));
    platform::GraphicsContext context(surface.get(), 300, true);
    canvas_->drawSel(context);
    cairo_surface_flush(surface.get());
    return surface;
  }
};

TEST_F(SelectionBandTest, TheBandFollowsThePointerAndSelectsWhatItTouches) {
  press({300.75, 200.5});
  dragTo({150, 150});
  EXPECT_TRUE(canvas_->showSelRect());
  EXPECT_EQ(canvas_->selRect(), (Rect{150, 150, 150, 50}));
  EXPECT_FALSE(member(2));
  dragTo({10.25, 10.25});  // sides 290.5 and 190.25, truncated
  EXPECT_EQ(canvas_->selRect(), (Rect{10.25, 10.25, 290, 190}));
  EXPECT_TRUE(!primary(1) && member(1));
  EXPECT_TRUE(primary(2) && member(2)) << "the topmost touched layer is the one the others combine into";
  EXPECT_FALSE(primary(3) || member(3)) << "hidden layers are never band-selected";
  release({10.25, 10.25});
  EXPECT_FALSE(canvas_->showSelRect());
  EXPECT_TRUE(controller().selections.size() == 2u && controller().selections[1].record == layerWithId(2)->data())
      << "after the click's own report the band's: the panels show the band's layers, the topmost the current one";
  EXPECT_EQ(canvas_->selectedLayer(), layerWithId(2));
}

TEST_F(SelectionBandTest, ALayerTheBandLeavesAgainStaysAMember) {
  press({230, 150});
  dragTo({10, 10});
  dragTo({150, 10});  // shrinks back off layer 1
  EXPECT_FALSE(primary(1));
  EXPECT_TRUE(member(1));
  EXPECT_TRUE(primary(2) && member(2));
  release({150, 10});
}

TEST_F(SelectionBandTest, TheBandIsDashedSixOnFourOffInBlack) {
  press({90.5, 60.5});
  dragTo({10.5, 10.5});  // the band (10.5, 10.5, 80, 50): its top edge covers pixel row 10
  const auto image = drawFeedback();
  release({10.5, 10.5});
  const auto opaqueBlack = [](const Pixel& p) { return p.alpha == 255 && p.red == 0 && p.green == 0 && p.blue == 0; };
  // The dash runs from the band's origin along the top edge: on over x 10.5–16.5, off to 20.5, on to 26.5.
  EXPECT_TRUE(opaqueBlack(pixelAt(image.get(), 13, 10)));
  EXPECT_EQ(pixelAt(image.get(), 18, 10).alpha, 0);
  EXPECT_TRUE(opaqueBlack(pixelAt(image.get(), 23, 10)));
  EXPECT_EQ(pixelAt(image.get(), 28, 10).alpha, 0);
  EXPECT_EQ(pixelAt(image.get(), 50, 35).alpha, 0) << "only the outline is drawn";
  EXPECT_EQ(pixelAt(image.get(), 13, 12).alpha, 0) << "one unit wide";
}

TEST_F(SelectionBandTest, HideSelTakesTheBandAway) {
  press({90.5, 60.5});
  dragTo({10.5, 10.5});
  canvas_->hideSel();
  EXPECT_FALSE(canvas_->showSelRect());
  const auto image = drawFeedback();
  EXPECT_EQ(pixelAt(image.get(), 13, 10).alpha, 0);
  release({10.5, 10.5});
}

}  // namespace

namespace {

class SelectionHelperLinesTest : public selection_testing::SelectionTest {};

TEST_F(SelectionHelperLinesTest, RedLinesShowTheEdgesTheDraggedFrameMeetsOnlyDuringTheDrag) {
  // 60 × 40 at (100, 130): after a drag by (−99, 0) it lies at (1, 130), vertically centred on the 300-unit page.
  show(canvas_testing::plainDocument({canvas_testing::filledRectangle(1, {100, 130, 60, 40}, 0, 0, 255)}));
  const auto drawLines = [this] {
    platform::test::ImageSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 300));
    platform::GraphicsContext context(surface.get(), 300, true);
    canvas_->drawHelperLines(context);
    cairo_surface_flush(surface.get());
    return surface;
  };
  // Half-covered pixels: red after unpremultiplying, within rounding.
  const auto red = [](const Pixel& p) { return p.alpha > 0 && p.red > 240 && p.green < 16 && p.blue < 16; };
  press({120, 140});
  dragTo({21, 140});
  const auto during = drawLines();
  release({21, 140});
  // The line at x = 1 covers pixels 0 and 1 half each; the centre line y = 150 rows 149 and 150.
  EXPECT_TRUE(red(pixelAt(during.get(), 0, 20)));
  EXPECT_TRUE(red(pixelAt(during.get(), 1, 280)));
  EXPECT_TRUE(red(pixelAt(during.get(), 300, 149)));
  EXPECT_EQ(pixelAt(during.get(), 200, 20).alpha, 0) << "no vertical centre line";
  EXPECT_EQ(pixelAt(during.get(), 300, 20).alpha, 0);
  const auto after = drawLines();
  EXPECT_EQ(pixelAt(after.get(), 0, 20).alpha, 0) << "the markers end with the drag";
}

}  // namespace

namespace {

class SelectionPenFeedbackTest : public selection_testing::SelectionTest {
 protected:
  platform::test::ImageSurface drawFeedback() {
    platform::test::ImageSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 300));
    platform::GraphicsContext context(surface.get(), 300, true);
    canvas_->drawSel(context);
    cairo_surface_flush(surface.get());
    return surface;
  }
  static bool colour(const Pixel& p, int r, int g, int b) {
    return p.alpha == 255 && std::abs(p.red - r) <= 1 && std::abs(p.green - g) <= 1 && std::abs(p.blue - b) <= 1;
  }
};

TEST_F(SelectionPenFeedbackTest, TheDraggedPointAndThePointBeforeItShowTheirHandles) {
  show(canvas_testing::plainDocument());
  canvas_->selectTool(kCMToolPen, nullptr);
  // The first point at (100, 100), its handle pulled out to (130, 100).
  press({100, 100});
  dragTo({130, 100});
  release({130, 100});
  // The second point, its handle being dragged.
  press({200, 150});
  dragTo({220, 150});
  ASSERT_TRUE(canvas_->curveAddedLayer());
  const auto dragging = drawFeedback();
  EXPECT_TRUE(colour(pixelAt(dragging.get(), 100, 100), 60, 160, 255)) << "every anchor is drawn";
  EXPECT_TRUE(colour(pixelAt(dragging.get(), 130, 100), 255, 255, 255)) << "the first point's own handle";
  EXPECT_EQ(pixelAt(dragging.get(), 70, 100).alpha, 0) << "not the mirrored one of the first point";
  EXPECT_TRUE(colour(pixelAt(dragging.get(), 220, 150), 255, 255, 255));
  EXPECT_TRUE(colour(pixelAt(dragging.get(), 180, 150), 255, 255, 255));
  release({220, 150});

  const auto released = drawFeedback();
  EXPECT_EQ(pixelAt(released.get(), 130, 100).alpha, 0) << "only the last point keeps its handles";
  EXPECT_TRUE(colour(pixelAt(released.get(), 100, 100), 60, 160, 255));
  EXPECT_TRUE(colour(pixelAt(released.get(), 220, 150), 255, 255, 255));
  canvas_->releaseTool();
}

}  // namespace
