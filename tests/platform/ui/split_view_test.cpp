// The split view lays its panes out by frame and lets the user drag the divider.

#include "platform/ui/split_view.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/core/main_queue.h"
#include "platform/ui/cursor.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

using test::mouseEvent;

class SplitViewTest : public testing::Test {
 protected:
  void SetUp() override {
    split = std::make_shared<SplitView>(Rect{0, 0, 300, 200}, left, right);
    window.setContentView(split);
    ASSERT_TRUE(test::showAndSettle(window));
  }

  Window window{{300, 200}};
  std::shared_ptr<View> left = std::make_shared<View>();
  std::shared_ptr<View> right = std::make_shared<View>();
  std::shared_ptr<SplitView> split;
};

TEST_F(SplitViewTest, PanesTileTheWidthAroundTheDivider) {
  split->setDividerPosition(100);
  EXPECT_EQ(left->frame(), (Rect{0, 0, 100, 200}));
  EXPECT_EQ(right->frame(), (Rect{101, 0, 199, 200}));
  split->setMinimumWidths(50, 120);
  EXPECT_EQ(split->dividerPosition(), 100);
  split->setDividerPosition(250);  // the right pane would be 49 wide
  EXPECT_EQ(split->dividerPosition(), 300 - 1 - 120);
  split->setDividerPosition(10);
  EXPECT_EQ(split->dividerPosition(), 50);
  split->setDividerPosition(std::nan(""));
  EXPECT_EQ(split->dividerPosition(), 50);
}

TEST_F(SplitViewTest, CollapsedSecondPaneLeavesTheFirstTheWholeWidth) {
  split->setSecondPaneCollapsed(true);
  EXPECT_EQ(left->frame(), (Rect{0, 0, 300, 200}));
  EXPECT_TRUE(right->isHidden());
  split->setSecondPaneCollapsed(false);
  EXPECT_FALSE(right->isHidden());
  EXPECT_EQ(left->frame().size.width, split->dividerPosition());
}

TEST_F(SplitViewTest, DraggingTheDividerMovesItAndReportsOnce) {
  split->setDividerPosition(100);
  int reports = 0;
  double reported = 0;
  split->setDividerDidMove([&](double position) {
    ++reports;
    reported = position;
  });
  // Grabbed 2 pixels right of the divider line: the grab offset is kept while dragging.
  window.sendEvent(mouseEvent(EventType::MouseMoved, {102, 50}));
  EXPECT_EQ(window.host().shownCursor(), Cursor::resizeLeftRight().get());
  window.sendEvent(mouseEvent(EventType::LeftMouseDown, {102, 50}));
  window.sendEvent(mouseEvent(EventType::LeftMouseDragged, {142, 60}));
  EXPECT_EQ(split->dividerPosition(), 140);
  EXPECT_EQ(reports, 0);
  window.sendEvent(mouseEvent(EventType::LeftMouseUp, {162, 60}));
  EXPECT_EQ(split->dividerPosition(), 160);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(reported, 160);
  EXPECT_EQ(right->frame().origin.x, 161);
}

TEST_F(SplitViewTest, ClicksAwayFromTheDividerReachThePanes) {
  EXPECT_EQ(split->hitTest({20, 20}), left.get());
  EXPECT_EQ(split->hitTest({split->dividerPosition() + 1, 20}), split.get());
  EXPECT_EQ(split->hitTest({290, 20}), right.get());
}

TEST_F(SplitViewTest, WindowResizeKeepsTheFirstPaneWidth) {
  split->setDividerPosition(100);
  window.gtkWindow().resize(400, 200);
  ASSERT_TRUE(iterateMainLoopUntil([&] { return split->frame().size.width == 400; }, std::chrono::seconds(5)));
  test::processPendingEvents();
  EXPECT_EQ(left->frame().size.width, 100);
  EXPECT_EQ(right->frame(), (Rect{101, 0, 299, 200}));
}

TEST_F(SplitViewTest, FirstPaneWidthIsToldOnEveryChangeForTheProfile) {
  split->setDividerPosition(100);
  std::vector<double> widths;
  split->setFirstPaneWidthDidChange([&](double width) { widths.push_back(width); });
  split->setDividerPosition(100);  // unchanged: nothing to store
  EXPECT_TRUE(widths.empty());
  split->setDividerPosition(120);
  split->setSecondPaneCollapsed(true);   // the first pane takes the whole 300
  split->setSecondPaneCollapsed(false);  // back to the divider
  EXPECT_EQ(widths, (std::vector<double>{120, 300, 120}));

  // A user drag is told once, at its end, with where it ended.
  widths.clear();
  window.sendEvent(mouseEvent(EventType::LeftMouseDown, {120, 50}));
  window.sendEvent(mouseEvent(EventType::LeftMouseDragged, {150, 50}));
  window.sendEvent(mouseEvent(EventType::LeftMouseDragged, {180, 50}));
  EXPECT_TRUE(widths.empty());
  window.sendEvent(mouseEvent(EventType::LeftMouseUp, {190, 50}));
  EXPECT_EQ(widths, (std::vector<double>{190}));

  // A drag that returns where it began changes nothing worth storing.
  widths.clear();
  window.sendEvent(mouseEvent(EventType::LeftMouseDown, {190, 50}));
  window.sendEvent(mouseEvent(EventType::LeftMouseDragged, {230, 50}));
  window.sendEvent(mouseEvent(EventType::LeftMouseUp, {190, 50}));
  EXPECT_TRUE(widths.empty());

  // The minimum of the second pane pushes the divider back: that is a change too.
  split->setMinimumWidths(0, 200);
  EXPECT_EQ(widths, (std::vector<double>{300 - 1 - 200}));
}

}  // namespace
}  // namespace platform
