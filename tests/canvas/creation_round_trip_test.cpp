// The whole path of drawing: real GDK events through GTK's dispatch into the
// canvas draw a rectangle and a star, undo takes the star back, and the document
// written to a file's bytes and read again holds the rectangle alone.

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include "creation_test_support.h"
#include "document/CMDocument.h"

namespace {

using creation_testing::CreationTest;
using platform::Point;
using platform::Rect;

class CreationRoundTripTest : public CreationTest {
 protected:
  // The content view is 600 high and y-up; the canvas's top edge is 340 above its bottom: GDK y 260.
  static Point gdk(Point onCanvas) { return {50 + onCanvas.x, 260 + onCanvas.y}; }
  void dragWithTool(int tool, Point from, Point to) {
    canvas_->selectTool(tool, nullptr);
    const Point start = gdk(from);
    const Point middle = gdk({(from.x + to.x) / 2, (from.y + to.y) / 2});
    const Point end = gdk(to);
    platform::test::injectButton(window_.host(), GDK_BUTTON_PRESS, 1, start.x, start.y, 0, time_ += 400);
    platform::test::processPendingEvents();
    platform::test::injectMotion(window_.host(), middle.x, middle.y, GDK_BUTTON1_MASK, time_ += 20);
    platform::test::processPendingEvents();
    platform::test::injectMotion(window_.host(), end.x, end.y, GDK_BUTTON1_MASK, time_ += 20);
    platform::test::processPendingEvents();
    platform::test::injectButton(window_.host(), GDK_BUTTON_RELEASE, 1, end.x, end.y, GDK_BUTTON1_MASK, time_ += 20);
    platform::test::processPendingEvents();
    platform::drainMainQueue();
  }

  std::uint32_t time_ = 200000;
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
