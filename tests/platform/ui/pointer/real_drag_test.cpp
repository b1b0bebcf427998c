// Drags through GTK's own machinery: real grabs and GDK's drag protocol, the
// pointer driven by the X server's test extension. A drag from one view to
// another ends in the destination's drop with the source's bytes; a cancelled
// one is told as failed.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/drag_source.h"
#include "platform/ui/drop_destination.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"
#include "real_clicks.h"

namespace platform {
namespace {

using namespace drag_operation;

// Lets GTK and the X server trade what one step of the drag sends.
void settle() { test::settleFor(100'000); }

void movePointerTo(Gtk::Widget& widget, int x, int y) {
  int screenX = 0;
  int screenY = 0;
  test::screenPointOf(widget, x, y, screenX, screenY);
  test::fakePointerMotion(screenX, screenY);
}

TEST(RealDrag, LayerRowsTravelFromSourceViewToDestinationView) {
  if (!test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";

  Window window(Size{400, 200});
  auto root = std::make_shared<View>(Rect{0, 0, 400, 200});
  auto from = std::make_shared<View>(Rect{0, 0, 150, 200});
  auto to = std::make_shared<View>(Rect{250, 0, 150, 200});
  root->addSubview(from);
  root->addSubview(to);
  window.setContentView(root);
  ASSERT_TRUE(test::showAndSettle(window));

  std::vector<DragOperation> endings;
  DragSource::Handlers sourceHandlers;
  sourceHandlers.draggingEnded = [&](Point, DragOperation operation) { endings.push_back(operation); };
  DragSource source(*from, Move, sourceHandlers);

  int entered = 0;
  Pasteboard::Bytes dropped;
  Point dropPoint{-1, -1};
  DropDestination::Handlers handlers;
  handlers.draggingEntered = [&](const DraggingInfo&) {
    ++entered;
    return Move;
  };
  handlers.performDragOperation = [&](const DraggingInfo& info) {
    dropped = info.pasteboard.dataForType(pasteboard_type::LayerRows).value_or(Pasteboard::Bytes{});
    dropPoint = info.locationInView;
    return true;
  };
  DropDestination destination(*to, {pasteboard_type::LayerRows}, handlers);

  movePointerTo(from->widget(), 75, 100);
  test::fakeButton(1, true);
  settle();
  Pasteboard board;
  board.declareTypes({pasteboard_type::LayerRows});
  board.setData({4, 0, 2}, pasteboard_type::LayerRows);
  ASSERT_TRUE(source.beginDrag(board));
  settle();
  for (int x = 10; x <= 50; x += 10) {
    movePointerTo(to->widget(), x, 150);
    settle();
  }
  EXPECT_TRUE(test::settleUntil([&] { return entered > 0; }));
  test::fakeButton(1, false);
  EXPECT_TRUE(test::settleUntil([&] { return !endings.empty(); }));

  EXPECT_EQ(entered, 1);
  EXPECT_EQ(dropped, (Pasteboard::Bytes{4, 0, 2}));
  // GTK y 150 in a 200-high unflipped view.
  EXPECT_EQ(dropPoint, (Point{50, 50}));
  EXPECT_EQ(endings, (std::vector<DragOperation>{Move}));
}

Pasteboard rowsPasteboard() {
  Pasteboard board;
  board.declareTypes({pasteboard_type::LayerRows, pasteboard_type::Shape});
  board.setData({1, 2, 3}, pasteboard_type::LayerRows);
  return board;
}

TEST(RealDrag, ServesItsPasteboardAndEndsAsFailedWhenCancelled) {
  Window window(Size{300, 200});
  auto view = std::make_shared<View>(Rect{0, 0, 300, 200});
  window.setContentView(view);
  ASSERT_TRUE(test::showAndSettle(window));
  std::vector<DragOperation> endings;
  int failures = 0;
  DragSource::Handlers handlers;
  handlers.draggingEnded = [&](Point, DragOperation operation) { endings.push_back(operation); };
  handlers.draggingFailed = [&](Point) {
    ++failures;
    return true;
  };
  DragSource source(*view, Move | Copy, handlers);
  ASSERT_TRUE(source.beginDrag(rowsPasteboard(), Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 16, 16)));
  EXPECT_TRUE(source.isDragging());
  EXPECT_FALSE(source.beginDrag(rowsPasteboard()));  // one drag at a time
  EXPECT_EQ(source.dataForGtkTarget(gtkTargetForType(pasteboard_type::LayerRows)), (Pasteboard::Bytes{1, 2, 3}));
  EXPECT_FALSE(source.dataForGtkTarget(gtkTargetForType(pasteboard_type::Shape)).has_value());  // declared, empty
  EXPECT_FALSE(source.dataForGtkTarget("text/plain").has_value());

  source.cancelDrag();
  test::processPendingEvents();
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(endings, (std::vector<DragOperation>{None}));
  EXPECT_FALSE(source.isDragging());
}

}  // namespace
}  // namespace platform
