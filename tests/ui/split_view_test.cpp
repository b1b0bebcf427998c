// The main view's split view under the user's drags: a right panel left narrower
// than 200 points hides, showing it again opens it at 250, a wider one stays,
// and the work area's width goes to the profile.

#include <gtest/gtest.h>

#include <memory>

#include "../../document/document_test_support.h"
#include "document/CMProject.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/window.h"
#include "ui/CMRightPanelView.h"
#include "ui/CMSplitView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace {

using platform::EventType;
using platform::test::mouseEvent;

class SplitViewDrag : public testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<platform::Window>(platform::Size{1200, 800});
    view = std::make_shared<CPMainView>(platform::Rect{0, 0, 1200, 800}, nullptr);
    view->setDocumentCount([] { return std::size_t{1}; });
    window->setContentView(view);
    ASSERT_TRUE(platform::test::showAndSettle(*window));
    view->update();
  }

  // Drags the divider so that the right panel ends `panelWidth` wide.
  void dragDividerToLeave(double panelWidth) {
    CMSplitView& split = view->splitView();
    const double left = split.frame().origin.x;
    const double y = split.frame().origin.y + 100;
    const double from = left + split.dividerPosition() + 0.5;
    const double to = left + split.frame().size.width - panelWidth - split.dividerThickness() + 0.5;
    window->sendEvent(mouseEvent(EventType::LeftMouseDown, {from, y}));
    window->sendEvent(mouseEvent(EventType::LeftMouseDragged, {(from + to) / 2, y}));
    window->sendEvent(mouseEvent(EventType::LeftMouseDragged, {to, y}));
    window->sendEvent(mouseEvent(EventType::LeftMouseUp, {to, y}));
  }

  float savedWorkWidth() const { return CMProject::shareProject().profile().floatForKey("widthRightPanel"); }

  document_testing::ScratchFolders folders;
  std::unique_ptr<platform::Window> window;
  std::shared_ptr<CPMainView> view;
};

TEST_F(SplitViewDrag, PanelLeftNarrowerThan200HidesAndReopensAt250) {
  CMSplitView& split = view->splitView();
  const double width = split.frame().size.width;
  ASSERT_GT(width, 600);
  EXPECT_DOUBLE_EQ(split.rightPanelView().frame().size.width, 250);

  dragDividerToLeave(150);
  EXPECT_TRUE(split.isRightPanelHidden());
  EXPECT_TRUE(split.rightPanelView().isHidden());
  EXPECT_DOUBLE_EQ(view->scrollView().frame().size.width, width);
  EXPECT_FLOAT_EQ(savedWorkWidth(), static_cast<float>(width));

  view->toggleRightPanel();
  EXPECT_FALSE(split.rightPanelView().isHidden());
  EXPECT_DOUBLE_EQ(split.rightPanelView().frame().size.width, 250);
  EXPECT_DOUBLE_EQ(view->scrollView().frame().size.width, width - 251);
  EXPECT_FLOAT_EQ(savedWorkWidth(), static_cast<float>(width - 251));
}

TEST_F(SplitViewDrag, PanelOf220StaysAndKeepsItsWidthWhenTheWindowResizes) {
  CMSplitView& split = view->splitView();
  dragDividerToLeave(220);
  EXPECT_FALSE(split.isRightPanelHidden());
  EXPECT_DOUBLE_EQ(split.rightPanelWidth(), 220);
  EXPECT_DOUBLE_EQ(split.rightPanelView().frame().size.width, 220);

  view->setFrame({0, 0, 1000, 700});
  EXPECT_DOUBLE_EQ(split.rightPanelView().frame().size.width, 220);
  EXPECT_DOUBLE_EQ(view->scrollView().frame().size.width, split.frame().size.width - 221);

  // Hiding by command and showing again keeps a width that was wide enough.
  view->toggleRightPanel();
  EXPECT_TRUE(split.rightPanelView().isHidden());
  view->toggleRightPanel();
  EXPECT_DOUBLE_EQ(split.rightPanelView().frame().size.width, 220);
}

TEST_F(SplitViewDrag, DragThatEndsAt200ExactlyKeepsThePanel) {
  dragDividerToLeave(200);
  EXPECT_FALSE(view->splitView().isRightPanelHidden());
  EXPECT_DOUBLE_EQ(view->splitView().rightPanelWidth(), 200);
}

}  // namespace
