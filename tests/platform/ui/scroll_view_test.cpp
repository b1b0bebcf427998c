// Scrolling moves the clip view's bounds over the document, within its edges,
// in step with GTK scroll bars.

#include "platform/ui/scroll_view.h"

#include <gtest/gtest.h>
#include <gtkmm/adjustment.h>

#include <cmath>
#include <memory>

#include "platform/graphics/graphics_context.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

// A document that paints a red square at document (100, 300), 10 × 10.
class Document : public View {
 public:
  Document(Rect frame, bool flipped) : View(frame), flipped_(flipped) {}
  bool isFlipped() const override { return flipped_; }
  void drawRect(const Rect&) override {
    GraphicsContext::current()->setFillColor({1, 0, 0, 1});
    GraphicsContext::current()->rectFill({100, 300, 10, 10});
  }

 private:
  bool flipped_;
};

class ScrollViewTest : public testing::Test {
 protected:
  void open(bool flipped) {
    document = std::make_shared<Document>(Rect{0, 0, 1000, 800}, flipped);
    scroll = std::make_shared<ScrollView>(Rect{0, 0, 200, 150});
    scroll->setDocumentView(document);
    scroll->setBoundsDidChange([this] { ++moves; });
    window.setContentView(scroll);
    ASSERT_TRUE(test::showAndSettle(window));
  }

  Window window{{200, 150}};
  std::shared_ptr<Document> document;
  std::shared_ptr<ScrollView> scroll;
  int moves = 0;
};

TEST_F(ScrollViewTest, ScrollsWithinTheDocumentAndMovesTheBars) {
  open(true);
  // Scroll bars 14 wide take the right and bottom edges.
  EXPECT_EQ(scroll->contentView().frame(), (Rect{0, 14, 186, 136}));
  scroll->scrollToPoint({100, 300});
  EXPECT_EQ(scroll->documentVisibleRect(), (Rect{100, 300, 186, 136}));
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(scroll->gtkVerticalScroller().get_adjustment()->get_value(), 300);
  EXPECT_EQ(scroll->gtkVerticalScroller().get_adjustment()->get_page_size(), 136);
  EXPECT_EQ(scroll->gtkHorizontalScroller().get_adjustment()->get_value(), 100);
  scroll->scrollToPoint({2000, -5});
  EXPECT_EQ(scroll->documentVisibleRect().origin, (Point{1000 - 186, 0}));
  scroll->scrollToPoint({std::nan(""), 10});
  EXPECT_EQ(scroll->documentVisibleRect().origin, (Point{0, 10}));
}

TEST_F(ScrollViewTest, AnUnflippedDocumentCountsItsScrollBarFromTheTop) {
  open(false);
  scroll->scrollToPoint({0, 0});  // the document's bottom
  EXPECT_EQ(scroll->gtkVerticalScroller().get_adjustment()->get_value(), 800 - 136);
  scroll->gtkVerticalScroller().get_adjustment()->set_value(0);  // the user drags to the top
  EXPECT_EQ(scroll->documentVisibleRect().origin, (Point{0, 800 - 136}));
}

TEST_F(ScrollViewTest, UserScrollingReportsAndTheWheelScrollsByLines) {
  open(true);
  moves = 0;
  scroll->gtkHorizontalScroller().get_adjustment()->set_value(50);
  EXPECT_EQ(scroll->documentVisibleRect().origin, (Point{50, 0}));
  EXPECT_EQ(moves, 1);
  Event wheel = test::mouseEvent(EventType::ScrollWheel, {50, 100});
  wheel.deltaY = -2;  // down
  window.sendEvent(wheel);
  EXPECT_EQ(scroll->documentVisibleRect().origin, (Point{50, 20}));
  EXPECT_EQ(moves, 2);
}

TEST_F(ScrollViewTest, TheScrolledDocumentIsDrawnAndHitAtTheVisibleOrigin) {
  open(true);
  scroll->scrollToPoint({100, 300});
  test::processPendingEvents();
  auto image = test::renderWidget(scroll->widget());
  const test::Pixel corner = test::pixelAt(image.get(), 5, 5);
  EXPECT_EQ(corner.alpha, 255);
  EXPECT_EQ(corner.red, 255);
  EXPECT_EQ(corner.green, 0);
  EXPECT_EQ(test::pixelAt(image.get(), 15, 5).alpha, 0);
  // The clip's top-left corner is window (0, 150).
  EXPECT_EQ(document->convertPointFromWindow({0, 150}), (Point{100, 300}));
  EXPECT_EQ(scroll->hitTest({5, 145}), document.get());
  EXPECT_NE(scroll->hitTest({5, 5}), document.get());  // over the horizontal scroll bar
}

}  // namespace
}  // namespace platform
