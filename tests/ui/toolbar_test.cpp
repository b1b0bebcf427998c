// The tool palette and the top toolbar: where their buttons go, what choosing
// a tool or a right panel changes, the zoom pop-up's items, place and hiding,
// and the select strip's commands reaching the canvas.

#include <gtkmm/comboboxtext.h>

#include <string>
#include <vector>

#include "canvas/CMFrameEditorView.h"
#include "document/CMProject.h"
#include "main_window_fixture.h"
#include "platform/ui/pop_up_button.h"
#include "ui/CMPlainPanes.h"
#include "ui/CMSplitView.h"
#include "ui/CMViewTags.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using platform::Rect;

void expectFrame(const platform::View& view, Rect expected) {
  const Rect frame = view.frame();
  EXPECT_DOUBLE_EQ(frame.origin.x, expected.origin.x);
  EXPECT_DOUBLE_EQ(frame.origin.y, expected.origin.y);
  EXPECT_DOUBLE_EQ(frame.size.width, expected.size.width);
  EXPECT_DOUBLE_EQ(frame.size.height, expected.size.height);
}

using Toolbar = MainWindowTest;

TEST_F(Toolbar, PaletteButtonsStackFromTheTopOnePointApart) {
  CMToolsView& palette = window->mainView()->toolsBar();
  const std::vector<int> order{0, 5, 12, 3, 8, 4, 11, 13, 16};
  ASSERT_EQ(palette.actions().size(), order.size());
  const double height = palette.frame().size.height;
  // 35 wide: 32-point buttons 1 point from the left; the first one's top edge 1 point under the palette's top.
  for (std::size_t i = 0; i < order.size(); ++i) {
    const auto& button = palette.actions()[i].button;
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->tag(), order[i]);
    expectFrame(*button, {1, height - 1 - 32 - 33.0 * static_cast<double>(i), 32, 32});
  }
}

TEST_F(Toolbar, ClickingEachPaletteButtonChoosesItsTool) {
  newDrawing();
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  CMToolsView& palette = window->mainView()->toolsBar();
  for (const auto& element : palette.actions()) {
    platform::test::clickButton(element.button->gtkButton());
    settle();
    const int tag = element.button->tag();
    EXPECT_EQ(window->selectedTool(), tag);
    EXPECT_EQ(window->editor().currentTool(), tag);
    EXPECT_EQ(CMProject::shareProject().editMode(), 0) << tag;
    EXPECT_EQ(window->mainView()->topToolbar().subPanelAction(), tag);
    for (const auto& other : palette.actions())
      EXPECT_EQ(other.button->state(), other.button->tag() == tag ? 1 : 0) << "after " << tag;
  }
  // A second click on the chosen tool leaves it on.
  platform::test::clickButton(palette.actions().back().button->gtkButton());
  settle();
  EXPECT_EQ(palette.actions().back().button->state(), 1);
}

TEST_F(Toolbar, EditModeFollowsTheTool) {
  const std::vector<std::pair<int, int>> expected{{2, 3}, {1, 1}, {0, 0}, {17, 0}, {12, 0}, {14, 0}, {7, 0}};
  for (const auto& [tool, mode] : expected) {
    window->selectTool(tool, nullptr);
    EXPECT_EQ(CMProject::shareProject().editMode(), mode) << tool;
    EXPECT_EQ(window->selectedTool(), tool);
    EXPECT_EQ(window->mainView()->topToolbar().subPanelAction(), tool);
  }
}

TEST_F(Toolbar, ChoosingAToolResetsWidthsBelowOne) {
  CMGlobalProfile& profile = CMProject::shareProject().profile();
  profile.setInteger(0, "line_width");
  profile.setInteger(-4, "round_width");
  window->selectTool(3, nullptr);  // rectangle: any strip mends the line width, only its own the round width
  EXPECT_EQ(profile.integerForKey("line_width"), 1);
  EXPECT_EQ(profile.integerForKey("round_width"), -4);
  window->selectTool(4, nullptr);
  EXPECT_EQ(profile.integerForKey("round_width"), 10);
  profile.setInteger(7, "line_width");
  profile.setInteger(3, "round_width");
  window->selectTool(4, nullptr);
  EXPECT_EQ(profile.integerForKey("line_width"), 7);
  EXPECT_EQ(profile.integerForKey("round_width"), 3);
}

TEST_F(Toolbar, RightPanelButtonsSitOverThePanelAndHideWithIt) {
  CPMainView& view = *window->mainView();
  CMTopToolbarView& toolbar = view.topToolbar();
  const double width = toolbar.frame().size.width;
  const double panel = view.splitView().rightPanelWidth();
  ASSERT_GT(panel, 0);
  // Buttons 44 − 3 = 41 wide; centred as if three followed the marker.
  const double first = static_cast<int>((panel - 3 * 41) * 0.5 + (width - panel) - 12);
  const std::vector<int> tags{4, 3, 2, 5};
  for (std::size_t i = 0; i < tags.size(); ++i) {
    CMToolbarButton* button = toolbar.buttonWithTag(tags[i]);
    ASSERT_NE(button, nullptr);
    expectFrame(*button, {first + 42.0 * static_cast<double>(i), 2, 41, 41});
    EXPECT_FALSE(button->isHidden());
  }
  std::vector<Rect> shown;
  for (const int tag : tags) shown.push_back(toolbar.buttonWithTag(tag)->frame());
  window->OnShowRightPanel();
  ASSERT_TRUE(view.splitView().isRightPanelHidden());
  for (std::size_t i = 0; i < tags.size(); ++i) {
    const CMToolbarButton& button = *toolbar.buttonWithTag(tags[i]);
    EXPECT_TRUE(button.isHidden()) << tags[i];
    // Still placed from the stored width.
    EXPECT_DOUBLE_EQ(button.frame().origin.x, shown[i].origin.x);
  }
  window->OnShowRightPanel();
  EXPECT_FALSE(toolbar.buttonWithTag(5)->isHidden());
}

TEST_F(Toolbar, RightPanelButtonsChooseThePanelType) {
  CMTopToolbarView& toolbar = window->mainView()->topToolbar();
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  platform::test::clickButton(toolbar.buttonWithTag(3)->gtkButton());
  settle();
  EXPECT_EQ(CMProject::shareProject().rightPanelShowType(), 3);
  EXPECT_EQ(CMProject::shareProject().profile().integerForKey("rightPanelShowType"), 3);
  for (const int tag : {2, 4, 5}) EXPECT_EQ(toolbar.buttonWithTag(tag)->state(), 0) << tag;
  EXPECT_EQ(toolbar.buttonWithTag(3)->state(), 1);
  window->OnRightPanelShowType(5);
  EXPECT_EQ(toolbar.buttonWithTag(3)->state(), 0);
  EXPECT_EQ(toolbar.buttonWithTag(5)->state(), 1);
}

TEST_F(Toolbar, ZoomPopUpListsTheStepsAndFollowsTheZoom) {
  auto document = newDrawing();
  platform::PopUpButton* zoom = window->zoomControl();
  ASSERT_NE(zoom, nullptr);
  const std::vector<std::string> titles{"12,5%", "25%",  "50%",  "75%",  "100%", "200%",
                                        "300%",  "400%", "600%", "800%", "1200%"};
  ASSERT_EQ(zoom->numberOfItems(), 11);
  for (int i = 0; i < 11; ++i) {
    zoom->selectItemAtIndex(i);
    EXPECT_EQ(zoom->titleOfSelectedItem(), titles[static_cast<std::size_t>(i)]);
  }
  window->OnZoom100();
  EXPECT_EQ(zoom->titleOfSelectedItem(), "100%");
  window->OnZoomIn();
  EXPECT_EQ(zoom->titleOfSelectedItem(), "200%");
  // The user's choice zooms the document and retitles the window.
  zoom->gtkComboBox().set_active(1);
  EXPECT_FLOAT_EQ(document->data()->get("zoom").floatValue(), 0.25f);
  EXPECT_EQ(window->window().title(), "Untitled, 25%");
  // A new strip shows the zoom as it is.
  window->selectTool(11, nullptr);
  EXPECT_EQ(window->zoomControl()->titleOfSelectedItem(), "25%");
}

// A main view of a chosen size with the star strip (its control reaches x = 510) and a 250-point right panel.
class ZoomPlacement : public testing::TestWithParam<std::pair<double, bool>> {};

TEST_P(ZoomPlacement, ZoomPopUpHidesWhenTheStripReachesIt) {
  document_testing::ScratchFolders folders;
  const auto [width, hidden] = GetParam();
  auto view = std::make_shared<CPMainView>(Rect{0, 0, width, 600}, nullptr);
  CMTopToolbarView& toolbar = view->topToolbar();
  CMToolOptionStrips strips({});
  toolbar.insertSubTools(strips.makeStrip(11, toolbar.frame().size.width, 4), 11);
  const double panel = view->splitView().rightPanelWidth();
  ASSERT_DOUBLE_EQ(panel, 250);
  const platform::View* strip = toolbar.subToolView();
  EXPECT_DOUBLE_EQ(strip->frame().size.width, width - 250);
  platform::View* zoom = subviewWithTag(*strip, 100);
  ASSERT_NE(zoom, nullptr);
  EXPECT_EQ(zoom->isHidden(), hidden);
  if (!hidden) expectFrame(*zoom, {width - 250 - 80, 4.5, 80, 26});
  // A wider window brings it back at the strip's new end.
  view->setFrameSize({width + 400, 600});
  view->layout();
  EXPECT_FALSE(zoom->isHidden());
  EXPECT_DOUBLE_EQ(zoom->frame().origin.x, width + 400 - 250 - 80);
}

// 840 puts the pop-up's left edge exactly at the star control's right edge (510): touching is not passing.
INSTANTIATE_TEST_SUITE_P(Widths, ZoomPlacement,
                         testing::Values(std::pair{1000.0, false}, std::pair{840.0, false}, std::pair{839.0, true},
                                         std::pair{700.0, true}));

}  // namespace
}  // namespace ui_testing
