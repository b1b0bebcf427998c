// The whole path of a user's gesture: real GDK events through GTK's dispatch
// into the canvas, which band-selects two shapes, drags both, and undo puts
// them back.

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include "real_pointer_support.h"
#include "selection_test_support.h"

namespace {

using canvas_testing::filledRectangle;
using platform::Point;
using selection_testing::number;
using selection_testing::SelectionTest;

class SelectionEndToEndTest : public SelectionTest {
 protected:
  canvas_testing::RealPointer pointer_{window_, *canvas_};
};

TEST_F(SelectionEndToEndTest, BandSelectTwoShapesDragThemAndUndo) {
  // Two shapes, 60 × 40 at (40, 50) and 50 × 30 at (200, 120).
  show(canvas_testing::plainDocument(
      {filledRectangle(1, {40, 50, 60, 40}, 255, 0, 0), filledRectangle(2, {200, 120, 50, 30}, 0, 0, 255)}));
  ASSERT_TRUE(platform::test::showAndSettle(window_));

  pointer_.press({20, 20});
  pointer_.moveTo({150, 100});
  pointer_.moveTo({300, 200});
  EXPECT_TRUE(canvas_->showSelRect());
  pointer_.release({300, 200});
  EXPECT_FALSE(canvas_->showSelRect());
  ASSERT_EQ(canvas_->allSelectedLayers().size(), 2u);

  // Shift keeps the band's other member while the press makes this shape the current one.
  pointer_.press({60, 60}, GDK_SHIFT_MASK);
  pointer_.moveTo({70, 75}, GDK_SHIFT_MASK);
  pointer_.moveTo({85, 95}, GDK_SHIFT_MASK);
  pointer_.release({85, 95}, GDK_SHIFT_MASK);
  EXPECT_EQ(number(layerWithId(1)->data(), "x"), 65);
  EXPECT_EQ(number(layerWithId(1)->data(), "y"), 85);
  EXPECT_EQ(number(layerWithId(2)->data(), "x"), 225);
  EXPECT_EQ(number(layerWithId(2)->data(), "y"), 155);
  ASSERT_EQ(document_->undoManager().undoCount(), 1u);

  document_->undoManager().undo();
  EXPECT_EQ(number(rootLayer(0), "x"), 40);
  EXPECT_EQ(number(rootLayer(0), "y"), 50);
  EXPECT_EQ(number(rootLayer(1), "x"), 200);
  EXPECT_EQ(number(rootLayer(1), "y"), 120);
}

}  // namespace
