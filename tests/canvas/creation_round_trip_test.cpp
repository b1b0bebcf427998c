// The whole path of drawing: real GDK events through GTK's dispatch into the
// canvas draw a rectangle and a star, undo takes the star back, and the document
// written to a file's bytes and read again holds the rectangle alone.

#include <gtest/gtest.h>

#include "creation_test_support.h"
#include "document/CMDocument.h"
#include "real_pointer_support.h"

namespace {

using creation_testing::CreationTest;
using platform::Point;
using platform::Rect;

class CreationRoundTripTest : public CreationTest {
 protected:
  void dragWithTool(int tool, Point from, Point to) {
    canvas_->selectTool(tool, nullptr);
    pointer_.drag(from, to);
    platform::drainMainQueue();
  }

  canvas_testing::RealPointer pointer_{window_, *canvas_};
};

TEST_F(CreationRoundTripTest, ARectangleAndAStarDrawnOneUndoneThenSavedAndReadBack) {
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  dragWithTool(kCMToolRectangle, {30, 40}, {130, 110});
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  dragWithTool(kCMToolStar, {200, 100}, {260, 160});
  ASSERT_EQ(records()->size(), 2u);
  EXPECT_EQ(lastRecord()->get("shape_type").intValue(), 3);
  EXPECT_EQ(frameOf(lastRecord()), (Rect{200, 100, 60, 60}));

  document_->undo();
  ASSERT_EQ(records()->size(), 1u);

  const auto bytes = document_->dataOfType(CMDocument::kFileType);
  ASSERT_TRUE(bytes.ok());
  CMDocument reopened;
  ASSERT_TRUE(reopened.readFromData(bytes.value(), CMDocument::kFileType).ok());
  const platform::ArrayRef layers = reopened.data()->array("layers");
  ASSERT_EQ(layers->size(), 1u);
  const platform::DictRef rectangle = layers->at(0).dictionary();
  EXPECT_EQ(rectangle->get("shape_type").intValue(), 0);
  EXPECT_EQ(frameOf(rectangle), (Rect{30, 40, 100, 70}));
  EXPECT_EQ(rectangle->dictionary("shape")->get("isFlipped").intValue(), 1);
}

}  // namespace
