// Editing marks of a selected layer: dashed frame, rotation circle, handles and their
// control lines, by edit mode, probed on a y-up canvas.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/CMProject.h"
#include "document_test_support.h"
#include "drawing_test_support.h"
#include "platform/core/geometry_strings.h"

namespace {

using document_testing::PaintedLayer;
using document_testing::paintedRecord;
using platform::Dictionary;
using platform::testing::Pixel;

// Unpremultiplied colour within `tolerance`, at least `minAlpha` opaque.
void expectColour(const Pixel& pixel, int r, int g, int b, int minAlpha = 250, int tolerance = 6) {
  ASSERT_GE(pixel.a, minAlpha);
  EXPECT_NEAR(pixel.r * 255.0 / pixel.a, r, tolerance);
  EXPECT_NEAR(pixel.g * 255.0 / pixel.a, g, tolerance);
  EXPECT_NEAR(pixel.b * 255.0 / pixel.a, b, tolerance);
}
void expectFrameColour(const Pixel& pixel, int minAlpha = 250) { expectColour(pixel, 60, 160, 255, minAlpha); }
void expectOutlineColour(const Pixel& pixel) { expectColour(pixel, 0, 50, 255); }
void expectWhite(const Pixel& pixel) { expectColour(pixel, 255, 255, 255); }
void expectClear(const Pixel& pixel) { EXPECT_EQ(pixel.a, 0); }

platform::DictRef handle(int id, int type, platform::Point point) {
  return Dictionary::make({{"id", id}, {"type", type}, {"point", platform::stringFromPoint(point)}});
}

platform::DictRef controlHandle(int id, int type, platform::Point point, int ownerId, platform::Point owner) {
  platform::DictRef record = handle(id, type, point);
  record->set("owner_id", ownerId);
  record->set("owner_point", platform::stringFromPoint(owner));
  return record;
}

class EditingMarksTest : public document_testing::DrawingCanvasTest {
 protected:
  // Frame edges on pixel centres so the one-unit lines fill whole pixels: (40.5, 40.5)–(100.5, 120.5).
  EditingMarksTest() : layer_(paintedRecord(1, {40.5, 40.5, 60, 80})) { setEditMode(kCMEditModeObject); }

  static void setEditMode(std::int32_t mode) { CMProject::shareProject().setEditMode(mode); }
  void drawMarks() { layer_.drawEditing(context(), {0, 0, kSide, kSide}); }

  document_testing::ScratchFolders folders_;
  PaintedLayer layer_;
};

TEST_F(EditingMarksTest, ObjectModeDrawsDashedFrameRotationCircleAndHandles) {
  drawMarks();
  // The frame starts at its bottom-left corner: on for 6 units, off for 4.
  expectFrameColour(at(45, 40));
  expectClear(at(48, 40));
  expectFrameColour(at(51, 40));
  // Handle squares 8 wide on the corners, the side middles and the rotation handles.
  expectWhite(at(40, 40));
  expectOutlineColour(at(36, 40));
  expectWhite(at(100, 120));
  expectWhite(at(70, 40));
  expectWhite(at(100, 80));
  // Diagonal 100 plus 20: the circle of radius 60 about (70.5, 80.5) carries the rotation handles.
  expectWhite(at(70, 140));
  expectWhite(at(70, 20));
  expectColour(at(130, 82), 60, 180, 255, 200);
  expectClear(at(70, 80));
}

TEST_F(EditingMarksTest, CachedZoomMapsMarksOntoTheCanvasAndWidensTheCircle) {
  PaintedLayer layer(paintedRecord(1, {20.25, 20.25, 30, 40}));
  platform::AffineTransform zoom;
  zoom.scaleBy(2);
  layer.setZoomTransform(zoom);
  layer.setZoom(2);
  layer.drawEditing(context(), {0, 0, kSide, kSide});
  expectWhite(at(40, 40));
  expectWhite(at(100, 120));
  expectFrameColour(at(45, 40));
  // Diagonal 100 on the canvas, plus 20 layer units at zoom 2: radius 70.
  expectColour(at(140, 82), 60, 180, 255, 200);
  expectClear(at(130, 82));
}

TEST_F(EditingMarksTest, NoMarksInTextModeOrWhenHidden) {
  setEditMode(kCMEditModeText);
  drawMarks();
  EXPECT_EQ(inkedPixels(), 0);
  setEditMode(kCMEditModeObject);
  layer_.setHidden(true);
  drawMarks();
  EXPECT_EQ(inkedPixels(), 0);
}

TEST_F(EditingMarksTest, GroupMemberGetsTheFrameOnly) {
  layer_.frameType = 2;
  drawMarks();
  expectFrameColour(at(45, 40));
  expectClear(at(36, 40));   // no handle outline
  expectClear(at(70, 140));  // no rotation handle or circle
}

TEST_F(EditingMarksTest, RotationHandlesHideWhileTheCentreIsLockedUntilRotating) {
  const platform::BezierPath frame = layer_.framePath();
  layer_.lockCenter(&frame);
  drawMarks();
  expectClear(at(70, 140));
  expectWhite(at(40, 40));
  layer_.setRotation(0);
  drawMarks();
  expectWhite(at(70, 140));
}

TEST_F(EditingMarksTest, LineLayerDrawsItsLineAndLineHandles) {
  layer_.frameType = 1;
  layer_.linePoints = platform::Array::make({handle(1, kCMHandleLineStart, {20.5, 150.5}),
                                             handle(2, kCMHandleLineEnd, {150.5, 150.5})});
  drawMarks();
  expectWhite(at(20, 150));
  expectWhite(at(150, 150));
  expectFrameColour(at(25, 150));  // the dashed line from the start handle's edge on
  expectClear(at(45, 40));         // no frame
}

TEST_F(EditingMarksTest, GradientModeDrawsTheGradientLineAndItsHandles) {
  setEditMode(kCMEditModeGradient);
  layer_.gradientPoints = platform::Array::make({handle(1, kCMHandleGradientRadius, {20.5, 170.5}),
                                                 handle(2, kCMHandleGradientCentre, {150.5, 170.5})});
  drawMarks();
  expectWhite(at(20, 170));
  expectWhite(at(150, 170));
  expectColour(at(25, 170), 0, 0, 0);
  expectClear(at(45, 40));
}

class PathHandlesTest : public EditingMarksTest {
 protected:
  PathHandlesTest() {
    setEditMode(kCMEditModePathPoints);
    // B lies 3 units from A; B's control point and C's control point follow their anchors.
    layer_.pathPoints = platform::Array::make({
        handle(1, kCMHandlePathPoint, {60.5, 160.5}),
        handle(2, kCMHandlePathPoint, {63.5, 160.5}),
        controlHandle(3, kCMHandleControlPoint1, {63.5, 190.5}, 2, {63.5, 160.5}),
        handle(4, kCMHandlePathPoint, {120.5, 160.5}),
        controlHandle(5, kCMHandleControlPoint2, {120.5, 190.5}, 4, {120.5, 160.5}),
    });
  }
};

TEST_F(PathHandlesTest, OverlappingHandleIsSkippedWithTheControlPointsAfterIt) {
  drawMarks();
  expectWhite(at(60, 160));
  expectOutlineColour(at(56, 160));
  expectClear(at(67, 160));  // B's right edge
  expectClear(at(63, 190));  // B's control point
  expectClear(at(63, 175));  // and its control line
  expectWhite(at(120, 160));
  // C's control point: a circle at half opacity when not selected, joined to C by a solid line.
  EXPECT_NEAR(at(118, 190).a, 128, 3);
  expectFrameColour(at(120, 175));
}

TEST_F(PathHandlesTest, DraggedPointIsDrawnFirstAndSelected) {
  layer_.setSelEditingPoint(handle(2, kCMHandlePathPoint, {63.5, 160.5}));
  drawMarks();
  expectFrameColour(at(63, 160));
  expectOutlineColour(at(67, 160));
  expectClear(at(56, 160));  // A now overlaps B and gives way
}

TEST_F(PathHandlesTest, DraggedControlPointIsOpaqueAndSelectsItsAnchor) {
  layer_.setSelEditingPoint(controlHandle(5, kCMHandleControlPoint2, {120.5, 190.5}, 4, {120.5, 160.5}));
  drawMarks();
  expectFrameColour(at(118, 190));
  expectFrameColour(at(120, 160));
  expectWhite(at(60, 160));
}

TEST(EditPointSelection, ControlPointsCountAsTheirAnchor) {
  PaintedLayer layer(paintedRecord(1, {0, 0, 10, 10}));
  const platform::DictRef anchor = handle(2, kCMHandlePathPoint, {0, 0});
  const platform::DictRef control = controlHandle(9, kCMHandleControlPoint2, {0, 0}, 2, {0, 0});
  const platform::DictRef other = handle(3, kCMHandlePathPoint, {0, 0});
  EXPECT_FALSE(layer.isSelectedEditPoint(anchor));  // nothing dragged
  layer.setSelEditingPoint(anchor);
  EXPECT_TRUE(layer.isSelectedEditPoint(anchor));
  EXPECT_TRUE(layer.isSelectedEditPoint(control));
  EXPECT_FALSE(layer.isSelectedEditPoint(other));
  layer.setSelEditingPoint(control);
  EXPECT_TRUE(layer.isSelectedEditPoint(anchor));
  EXPECT_FALSE(layer.isSelectedEditPoint(handle(9, kCMHandlePathPoint, {0, 0})));
}

}  // namespace
