// Drag destinations take only their registered types, see points in the view's
// own coordinates, answer within what the source allows and drop in two steps;
// drag sources start only with something to drag and report how the drag ended.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/drag_source.h"
#include "platform/ui/drop_destination.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace platform {
namespace {

using namespace drag_operation;

class FlippedView : public View {
 public:
  using View::View;
  bool isFlipped() const override { return true; }
};

class DropDestinationTest : public testing::Test {
 protected:
  DropDestinationTest() : window(Size{300, 200}) {
    view = std::make_shared<View>(Rect{0, 0, 300, 200});
    window.setContentView(view);
  }

  DropDestination::Handlers recordingHandlers(DragOperation answer) {
    DropDestination::Handlers handlers;
    handlers.draggingEntered = [this, answer](const DraggingInfo& info) {
      ++entered;
      lastLocation = info.locationInView;
      return answer;
    };
    handlers.draggingExited = [this] { ++exited; };
    return handlers;
  }

  Window window;
  std::shared_ptr<View> view;
  int entered = 0;
  int exited = 0;
  Point lastLocation{-1, -1};
};

TEST_F(DropDestinationTest, RefusesDragsOfferingNoRegisteredTypeWithoutAsking) {
  DropDestination destination(*view, {pasteboard_type::FileNames}, recordingHandlers(Copy));
  EXPECT_EQ(destination.dragMotion({pasteboard_type::Shape, "image/png"}, Copy | Move, {5, 5}), None);
  EXPECT_EQ(destination.dragMotion({}, Copy, {5, 5}), None);
  EXPECT_EQ(entered, 0);
  destination.dragLeave();  // never entered: nothing to tell
  EXPECT_EQ(exited, 0);
}

TEST_F(DropDestinationTest, EntersOnceThenKeepsItsAnswerUntilItLeaves) {
  DropDestination destination(*view, {pasteboard_type::Shape}, recordingHandlers(Copy));
  EXPECT_EQ(destination.dragMotion({pasteboard_type::Shape}, Copy | Move, {10, 20}), Copy);
  EXPECT_EQ(destination.dragMotion({pasteboard_type::Shape}, Copy | Move, {11, 21}), Copy);
  EXPECT_EQ(entered, 1);
  // Unflipped: GTK y 20 from the top of a 200-high view is y 180 from its bottom.
  EXPECT_EQ(lastLocation, (Point{10, 180}));

  destination.dragLeave();
  destination.dragLeave();
  EXPECT_EQ(exited, 1);
  destination.dragMotion({pasteboard_type::Shape}, Copy, {0, 200});
  EXPECT_EQ(entered, 2);
  EXPECT_EQ(lastLocation, (Point{0, 0}));
}

TEST_F(DropDestinationTest, AnswerIsLimitedToTheSourcesMask) {
  DropDestination destination(*view, {pasteboard_type::LayerRows}, recordingHandlers(Copy | Move));
  EXPECT_EQ(destination.dragMotion({pasteboard_type::LayerRows}, Move | Link, {1, 1}), Move);
  destination.dragLeave();
  EXPECT_EQ(destination.dragMotion({pasteboard_type::LayerRows}, Link, {1, 1}), None);
}

TEST_F(DropDestinationTest, UpdatesAskAgainWhenTheViewWantsTo) {
  auto handlers = recordingHandlers(Move);
  std::vector<Point> updates;
  // Refuses the top half, as a list refuses a drop onto a row it cannot take.
  handlers.draggingUpdated = [&](const DraggingInfo& info) {
    updates.push_back(info.locationInView);
    return info.locationInView.y > 100 ? None : Move;
  };
  auto flipped = std::make_shared<FlippedView>(Rect{0, 0, 100, 150});
  view->addSubview(flipped);
  flipped->setBoundsOrigin({0, 40});  // scrolled 40 down
  DropDestination destination(*flipped, {pasteboard_type::LayerRows}, handlers);
  EXPECT_EQ(destination.dragMotion({pasteboard_type::LayerRows}, Move, {3, 10}), Move);  // the entry itself
  EXPECT_EQ(destination.dragMotion({pasteboard_type::LayerRows}, Move, {3, 50}), Move);
  EXPECT_EQ(destination.dragMotion({pasteboard_type::LayerRows}, Move, {3, 70}), None);
  EXPECT_EQ(updates, (std::vector<Point>{{3, 90}, {3, 110}}));
}

TEST_F(DropDestinationTest, DropPreparesThenPerformsWithTheData) {
  std::vector<std::string> prepared;
  std::vector<std::string> dropped;
  bool agree = false;
  DropDestination::Handlers handlers;
  handlers.prepareForDragOperation = [&](const DraggingInfo& info) {
    prepared = info.pasteboard.fileNames();
    return agree;
  };
  handlers.performDragOperation = [&](const DraggingInfo& info) {
    dropped = info.pasteboard.fileNames();
    lastLocation = info.locationInView;
    return true;
  };
  DropDestination destination(*view, {pasteboard_type::FileNames}, handlers);
  Pasteboard board;
  board.declareTypes({pasteboard_type::FileNames});
  board.setFileNames({"/tmp/drawing.svg"});

  EXPECT_FALSE(destination.dragDrop(board, Copy, {30, 40}));
  EXPECT_EQ(prepared, (std::vector<std::string>{"/tmp/drawing.svg"}));
  EXPECT_TRUE(dropped.empty());  // prepare said no

  agree = true;
  EXPECT_TRUE(destination.dragDrop(board, Copy, {30, 40}));
  EXPECT_EQ(dropped, (std::vector<std::string>{"/tmp/drawing.svg"}));
  EXPECT_EQ(lastLocation, (Point{30, 160}));

  Pasteboard wrong;
  wrong.declareTypes({pasteboard_type::Shape});
  dropped.clear();
  EXPECT_FALSE(destination.dragDrop(wrong, Copy, {30, 40}));
  EXPECT_TRUE(dropped.empty());
}

TEST_F(DropDestinationTest, DropWithoutPerformHandlerIsRefused) {
  DropDestination destination(*view, {pasteboard_type::Shape}, {});
  Pasteboard board;
  board.declareTypes({pasteboard_type::Shape});
  EXPECT_FALSE(destination.dragDrop(board, Copy, {1, 1}));
  EXPECT_EQ(destination.dragMotion({pasteboard_type::Shape}, Copy, {1, 1}), None);
}

class DragSourceTest : public testing::Test {
 protected:
  DragSourceTest() : window(Size{300, 200}) {
    view = std::make_shared<View>(Rect{0, 0, 300, 200});
    window.setContentView(view);
  }

  DragSource::Handlers recordingHandlers(bool handledElsewhere) {
    DragSource::Handlers handlers;
    handlers.draggingEnded = [this](Point, DragOperation operation) { endings.push_back(operation); };
    handlers.draggingFailed = [this, handledElsewhere](Point) {
      ++failures;
      return handledElsewhere;
    };
    return handlers;
  }

  Window window;
  std::shared_ptr<View> view;
  std::vector<DragOperation> endings;
  int failures = 0;
};

TEST_F(DragSourceTest, RefusesToStartWithoutTypes) {
  DragSource source(*view, Move, recordingHandlers(false));
  // No drag yet, and none starts with nothing declared.
  EXPECT_FALSE(source.dataForGtkTarget(gtkTargetForType(pasteboard_type::LayerRows)).has_value());
  EXPECT_FALSE(source.beginDrag(Pasteboard{}));
  EXPECT_FALSE(source.isDragging());
}

TEST_F(DragSourceTest, EndingIsToldWithinItsMaskAndFailureAsksTheHandler) {
  DragSource source(*view, Move, recordingHandlers(true));
  source.dragEnded({5, 5}, Copy | Move);
  source.dragEnded({5, 5}, Copy);
  EXPECT_EQ(endings, (std::vector<DragOperation>{Move, None}));
  EXPECT_TRUE(source.dragFailed({0, 0}));
  DragSource plain(*view, Copy, {});
  EXPECT_FALSE(plain.dragFailed({0, 0}));  // slides back by default
}

}  // namespace
}  // namespace platform
