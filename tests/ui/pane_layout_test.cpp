// The five panes of the main view: where each goes in a 1200 × 800 view, with
// and without the document tabs, and the tabs staying at the top edge.

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>

#include "platform/ui/scroll_view.h"
#include "ui/CMPlainPanes.h"
#include "ui/CMRightPanelView.h"
#include "ui/CMSplitView.h"
#include "ui/CMStatusBarView.h"
#include "ui/CPMainView.h"

namespace {

using platform::Rect;

void expectFrame(const platform::View& view, Rect expected) {
  const Rect frame = view.frame();
  EXPECT_DOUBLE_EQ(frame.origin.x, expected.origin.x);
  EXPECT_DOUBLE_EQ(frame.origin.y, expected.origin.y);
  EXPECT_DOUBLE_EQ(frame.size.width, expected.size.width);
  EXPECT_DOUBLE_EQ(frame.size.height, expected.size.height);
}

class PaneLayout : public testing::Test {
 protected:
  void SetUp() override {
    view = std::make_shared<CPMainView>(Rect{0, 0, 1200, 800}, nullptr);
    view->setDocumentCount([this] { return openDocuments; });
    view->update();
  }

  std::shared_ptr<CPMainView> view;
  std::size_t openDocuments = 1;
};

// Heights: status bar 24, top toolbar 44, tabs 26; palette 35 wide; right panel 250 plus a 1-point divider.
TEST_F(PaneLayout, OneDocumentPutsTheToolbarAtTheTopEdge) {
  EXPECT_TRUE(view->documentSelector().isHidden());
  expectFrame(view->statusBar(), {0, 0, 1200, 24});
  expectFrame(view->topToolbar(), {0, 800 - 44, 1200, 44});
  expectFrame(view->toolsBar(), {0, 24, 35, 800 - 24 - 44});
  expectFrame(view->splitView(), {35, 24, 1200 - 35, 800 - 24 - 44});
  expectFrame(view->scrollView(), {0, 0, 1165 - 250 - 1, 732});
  expectFrame(view->splitView().rightPanelView(), {1165 - 250, 0, 250, 732});
}

TEST_F(PaneLayout, SecondDocumentShowsTheTabsAndMovesThePanesDown) {
  openDocuments = 2;
  view->update();
  EXPECT_FALSE(view->documentSelector().isHidden());
  expectFrame(view->documentSelector(), {0, 800 - 26, 1200, 26});
  expectFrame(view->topToolbar(), {0, 800 - 26 - 44, 1200, 44});
  expectFrame(view->toolsBar(), {0, 24, 35, 800 - 24 - 26 - 44});
  expectFrame(view->splitView(), {35, 24, 1165, 706});

  openDocuments = 1;
  view->update();
  EXPECT_TRUE(view->documentSelector().isHidden());
  expectFrame(view->splitView(), {35, 24, 1165, 732});
}

TEST_F(PaneLayout, TabsStayAtTheTopEdgeWhenTheViewResizes) {
  openDocuments = 3;
  view->update();
  view->setFrame({0, 0, 1000, 600});
  expectFrame(view->documentSelector(), {0, 600 - 26, 1000, 26});
  expectFrame(view->topToolbar(), {0, 600 - 26 - 44, 1000, 44});
  expectFrame(view->statusBar(), {0, 0, 1000, 24});
  // The right panel keeps its width; the work area takes the change.
  expectFrame(view->splitView().rightPanelView(), {965 - 250, 0, 250, 506});
  expectFrame(view->scrollView(), {0, 0, 965 - 251, 506});
}

TEST_F(PaneLayout, HiddenStatusBarGivesItsRoomToThePalette) {
  view->statusBar().setHidden(true);
  view->layout();
  expectFrame(view->toolsBar(), {0, 0, 35, 800 - 44});
  expectFrame(view->splitView(), {35, 0, 1165, 756});
}

TEST(PaneFrame, FractionalHeightsAreSummedAsWholeNumbers) {
  auto parent = std::make_shared<platform::View>(Rect{0, 0, 300, 200});
  auto tabs = std::make_shared<CMDocumentSelectorView>();
  auto toolbar = std::make_shared<CMTopToolbarView>();
  auto status = std::make_shared<CMStatusBarView>();
  parent->addSubview(tabs);
  parent->addSubview(toolbar);
  parent->addSubview(status);
  tabs->setFrameSize({300, 10.7});
  toolbar->setFrameSize({300, 20.6});
  status->setFrameSize({300, 5.5});
  // Top: trunc(trunc(0 + 10.7) + 20.6) = 30; the status bar's own height counts as it is.
  const Rect palette = paneFrame(kCMPaneToolPalette, {0, 0, 1, 1}, parent.get());
  EXPECT_DOUBLE_EQ(palette.origin.y, 5.5);
  EXPECT_DOUBLE_EQ(palette.size.height, 200 - 5.5 - 30);
  EXPECT_DOUBLE_EQ(palette.size.width, 35);
  // Without a superview a pane lays out against a zero rectangle; an unknown type keeps its frame.
  EXPECT_DOUBLE_EQ(paneFrame(kCMPaneStatusBar, {3, 9, 50, 24}, nullptr).size.width, 0);
  const Rect kept = paneFrame(42, {3, 9, 50, 24}, parent.get());
  EXPECT_DOUBLE_EQ(kept.origin.x, 3);
  EXPECT_DOUBLE_EQ(kept.size.height, 24);
}

}  // namespace
