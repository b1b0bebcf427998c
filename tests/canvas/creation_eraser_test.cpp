// The eraser through the real canvas, and the point records it makes of a path.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "creation_test_support.h"
#include "document/CMLayer.h"
#include "platform/graphics/bezier_path.h"

namespace {

using creation_testing::CreationTest;
using platform::Point;
using platform::Rect;

class CreationEraserTest : public CreationTest {
 protected:
  void showRectangleAt(float zoom) {
    show(canvas_testing::documentWith(400, 300, zoom, canvas_testing::colourRecord(255, 255, 255, 255),
                                      {canvas_testing::filledRectangle(1, {50, 50, 80, 60}, 255, 0, 0)}),
         zoom);
  }
  std::vector<std::int64_t> ids() const {
    std::vector<std::int64_t> result;
    for (const platform::Value& value : *records()) result.push_back(value.dictionary()->get("id").integerValue());
    return result;
  }
};

TEST_F(CreationEraserTest, TwoPathLayersReplaceTheCrossedOneAtTheGuideLineEndsInDocumentUnits) {
  showRectangleAt(2);
  // The eraser finds layers where the canvas last drew them.
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  platform::test::processPendingEvents();
  draw(kCMToolEraser, {{80, 160}, {200, 160}, {300, 160}});
  ASSERT_EQ(records()->size(), 2u);
  for (std::size_t index = 0; index < 2; ++index) {
    EXPECT_EQ(record(index)->get("shape_type").intValue(), 7) << index;
    EXPECT_NE(record(index)->get("id").integerValue(), 1) << "the erased layer is gone";
    const platform::ArrayRef points = shapeOf(record(index))->array("points");
    ASSERT_GE(points->size(), 3u);
    EXPECT_EQ(pointAt(points->at(0).dictionary(), "point"), (Point{0, 0}));
  }
  EXPECT_FLOAT_EQ(record(0)->get("x").floatValue(), 40);
  EXPECT_FLOAT_EQ(record(0)->get("y").floatValue(), 80);
  EXPECT_FLOAT_EQ(record(1)->get("x").floatValue(), 150);
  EXPECT_FLOAT_EQ(record(1)->get("y").floatValue(), 80);
  ASSERT_EQ(canvas_->layers().size(), 2u);
  EXPECT_TRUE(canvas_->layers()[0]->selected());
  EXPECT_FALSE(canvas_->layers()[1]->selected());
  EXPECT_EQ(canvas_->currentTool(), kCMToolEraser) << "the eraser stays";
}

TEST_F(CreationEraserTest, OneUndoStepBringsTheErasedLayerBackAndOneRedoErasesAgain) {
  showRectangleAt(1);
  draw(kCMToolEraser, {{30, 80}, {200, 80}});
  ASSERT_EQ(records()->size(), 2u);
  EXPECT_EQ(document_->undoManager().undoCount(), 1u) << "two adds and a removal are one edit";
  std::vector<std::int64_t> paths = ids();
  std::sort(paths.begin(), paths.end());
  document_->undo();
  EXPECT_EQ(ids(), std::vector<std::int64_t>{1});
  EXPECT_FALSE(document_->undoManager().canUndo());
  document_->redo();
  std::vector<std::int64_t> redone = ids();
  std::sort(redone.begin(), redone.end());
  EXPECT_EQ(redone, paths);
}

TEST_F(CreationEraserTest, AGuideLineThatCrossesNothingChangesNothing) {
  showRectangleAt(1);
  draw(kCMToolEraser, {{10, 200}, {300, 200}});
  EXPECT_EQ(ids(), std::vector<std::int64_t>{1});
  show(canvas_testing::plainDocument());
  draw(kCMToolEraser, {{10, 10}, {300, 200}});
  EXPECT_TRUE(records()->empty());
  EXPECT_EQ(document_->undoManager().undoCount(), 0u);
}

// {"point", "type", "id"} and, for curves, the control points, all as point strings.
void expectPoint(const platform::Value& value, Point point, int type, int id) {
  const platform::DictRef record = value.dictionary();
  ASSERT_TRUE(record);
  EXPECT_EQ(platform::pointFromString(record->get("point").string()), point) << id;
  EXPECT_EQ(record->get("type").intValue(), type) << id;
  EXPECT_EQ(record->get("id").intValue(), id);
}

TEST(CopyPoints, RecordsArePlacedRelativeToTheFirstMoveAfterAFixedFirstRecord) {
  platform::BezierPath path;
  path.moveTo({10, 10});
  path.lineTo({30, 10});
  path.curveTo({30, 40}, {40, 15}, {40, 35});
  path.closePath();
  path.moveTo({50, 50});
  path.lineTo({60, 60});
  const platform::DictRef record = platform::Dictionary::make();
  CMEditorView::copyPoints(record, path);
  const platform::ArrayRef points = record->dictionary("shape")->array("points");
  ASSERT_EQ(points->size(), 6u);
  expectPoint(points->at(0), {0, 0}, 1, 1);
  expectPoint(points->at(1), {0, 0}, 1, 1);
  expectPoint(points->at(2), {20, 0}, 2, 2);
  expectPoint(points->at(3), {20, 30}, 4 + 8, 3);  // the close that follows marks the curve
  const platform::DictRef curve = points->at(3).dictionary();
  EXPECT_EQ(platform::pointFromString(curve->get("control_point1").string()), (Point{30, 5}));
  EXPECT_EQ(platform::pointFromString(curve->get("control_point2").string()), (Point{30, 25}));
  expectPoint(points->at(4), {40, 40}, 1, 5);
  expectPoint(points->at(5), {50, 50}, 2, 6);
}

TEST(CopyPoints, ALastElementEndingOnItsSubpathStartIsMarkedAsClosing) {
  platform::BezierPath lines;
  lines.moveTo({5, 5});
  lines.lineTo({15, 5});
  lines.lineTo({5, 5});
  const platform::DictRef first = platform::Dictionary::make();
  CMEditorView::copyPoints(first, lines);
  const platform::ArrayRef points = first->dictionary("shape")->array("points");
  ASSERT_EQ(points->size(), 4u);
  expectPoint(points->at(3), {0, 0}, 10, 3);

  platform::BezierPath curve;
  curve.moveTo({5, 5});
  curve.curveTo({5, 5}, {20, 0}, {20, 10});
  curve.moveTo({9, 9});  // a trailing move adds nothing
  const platform::DictRef second = platform::Dictionary::make();
  CMEditorView::copyPoints(second, curve);
  const platform::ArrayRef curvePoints = second->dictionary("shape")->array("points");
  ASSERT_EQ(curvePoints->size(), 3u);
  expectPoint(curvePoints->at(2), {0, 0}, 4, 2);
}

TEST(CopyPoints, AnEmptyPathLeavesOnlyTheFixedRecord) {
  const platform::DictRef record = platform::Dictionary::make();
  CMEditorView::copyPoints(record, platform::BezierPath());
  const platform::ArrayRef points = record->dictionary("shape")->array("points");
  ASSERT_EQ(points->size(), 1u);
  expectPoint(points->at(0), {0, 0}, 1, 1);
}

}  // namespace
