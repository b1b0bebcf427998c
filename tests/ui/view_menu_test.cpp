// The View menu: the ruler and grid items read the opposite of the current
// setting, the zoom commands step through the table and keep the title in
// step and answer the keys of both keyboards, and the right panel command says
// what it will do and flips the stored state.

#include <gdk/gdkkeysyms.h>

#include <utility>

#include "canvas/CMFrameEditorView.h"
#include "document/CMProject.h"
#include "main_window_fixture.h"
#include "ui/CMSplitView.h"
#include "platform/ui/scroll_view.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using ViewMenu = MainWindowTest;

TEST_F(ViewMenu, RulerAndGridItemsReadTheOppositeOfTheSetting) {
  newDrawing();
  platform::UserDefaults& settings = CMProject::shareProject().settings();
  settings.setBool(false, "show_ruler");
  settings.setBool(true, "show_grid");
  platform::MenuItem* ruler = item("View", "Show Ruler");
  platform::MenuItem* grid = item("View", "Hide Grid");
  if (!ruler) ruler = item("View", "Hide Ruler");
  if (!grid) grid = item("View", "Show Grid");
  ASSERT_NE(ruler, nullptr);
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(ruler->validate());
  EXPECT_EQ(ruler->title(), "Show Ruler");
  EXPECT_TRUE(grid->validate());
  EXPECT_EQ(grid->title(), "Hide Grid");

  ruler->perform();
  grid->perform();
  EXPECT_TRUE(settings.boolForKey("show_ruler"));
  EXPECT_FALSE(settings.boolForKey("show_grid"));
  ruler->validate();
  grid->validate();
  EXPECT_EQ(ruler->title(), "Hide Ruler");
  EXPECT_EQ(grid->title(), "Show Grid");
}

TEST_F(ViewMenu, RulersMakeTheCanvasLarger) {
  auto document = newDrawing();
  platform::UserDefaults& settings = CMProject::shareProject().settings();
  settings.setBool(false, "show_ruler");
  window->mainView()->update();
  const double width = document->data()->get("width").doubleValue();
  const double height = document->data()->get("height").doubleValue();
  platform::Size canvas = window->workView().getCanvasSize();
  EXPECT_DOUBLE_EQ(canvas.width, width + 20);
  EXPECT_DOUBLE_EQ(canvas.height, height + 20);
  window->OnShowRulers();
  canvas = window->workView().getCanvasSize();
  EXPECT_DOUBLE_EQ(canvas.width, width + 80);
  EXPECT_DOUBLE_EQ(canvas.height, height + 80);
}

TEST_F(ViewMenu, ZoomStepsStopAtTheEndsOfTheTable) {
  auto document = newDrawing();
  for (int i = 0; i < 12; ++i) window->OnZoomIn();
  EXPECT_FLOAT_EQ(document->data()->get("zoom").floatValue(), 12.0f);
  EXPECT_EQ(window->window().title(), "Untitled, 1200%");
  for (int i = 0; i < 12; ++i) window->OnZoomOut();
  EXPECT_FLOAT_EQ(document->data()->get("zoom").floatValue(), 0.125f);
  EXPECT_EQ(window->window().title(), "Untitled, 12.50%");
  window->OnZoom100();
  EXPECT_FLOAT_EQ(document->data()->get("zoom").floatValue(), 1.0f);
}

TEST_F(ViewMenu, LargeCanvasGetsScrollersAndThePendingScrollPositionOnce) {
  newDrawing();
  CPMainView& view = *window->mainView();
  for (int i = 0; i < 3; ++i) window->OnZoomIn();  // 400 %: the canvas outgrows the work area
  platform::ScrollView& scroller = view.scrollView();
  const platform::Size canvas = window->workView().frame().size;
  const platform::Size shown = scroller.contentView().frame().size;
  ASSERT_GT(canvas.width, shown.width);
  ASSERT_GT(canvas.height, shown.height);
  EXPECT_FLOAT_EQ(static_cast<float>(canvas.width), static_cast<float>(window->workView().getCanvasSize().width));

  view.setScrollPosition({0.25, 0.5});
  view.update();
  const platform::Rect visible = scroller.documentVisibleRect();
  EXPECT_NEAR(visible.origin.x, (canvas.width - shown.width) * 0.25, 0.5);
  EXPECT_NEAR(visible.origin.y, (canvas.height - shown.height) * 0.5, 0.5);

  // Applied once: a later layout leaves the user's scrolling alone.
  scroller.scrollToPoint({0, 0});
  view.update();
  EXPECT_DOUBLE_EQ(scroller.documentVisibleRect().origin.x, 0);
  EXPECT_DOUBLE_EQ(scroller.documentVisibleRect().origin.y, 0);
}

TEST_F(ViewMenu, SmallCanvasIsStretchedToTheWorkArea) {
  newDrawing();
  window->OnZoomOut();  // 75 %
  const platform::Size shown = window->mainView()->scrollView().contentView().frame().size;
  const platform::Size frame = window->workView().frame().size;
  EXPECT_DOUBLE_EQ(frame.width, shown.width);
  EXPECT_DOUBLE_EQ(frame.height, shown.height);
  EXPECT_LT(window->workView().getCanvasSize().width, shown.width);
}

TEST_F(ViewMenu, ZoomCommandsWithoutADocumentDoNothing) {
  EXPECT_FALSE(item("View", "Zoom In")->validate());
  window->OnZoomIn();
  window->OnZoomFit();
  EXPECT_EQ(window->window().title(), "Draftwork");
}

TEST_F(ViewMenu, RightPanelCommandSaysWhatItDoesAndFlipsTheStoredState) {
  newDrawing();
  CMGlobalProfile& profile = CMProject::shareProject().profile();
  ASSERT_EQ(profile.getState("hideRightPanel"), 0);
  // The item as the menu shows it when opened (it validates each item then).
  const auto rightPanelItem = [&] {
    platform::MenuItem* found = item("View", "Hide Right Panel");
    if (!found) found = item("View", "Show Right Panel");
    if (found) {
      EXPECT_TRUE(found->validate());
    }
    return found;
  };
  platform::MenuItem* command = rightPanelItem();
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->title(), "Hide Right Panel");
  command->perform();
  EXPECT_EQ(profile.getState("hideRightPanel"), 1);
  EXPECT_TRUE(window->mainView()->splitView().isRightPanelHidden());
  EXPECT_EQ(rightPanelItem()->title(), "Show Right Panel");
  command->perform();
  EXPECT_EQ(profile.getState("hideRightPanel"), 0);
  EXPECT_FALSE(window->mainView()->splitView().isRightPanelHidden());
  EXPECT_EQ(rightPanelItem()->title(), "Hide Right Panel");
}

TEST_F(ViewMenu, ZoomInAnswersThePlusKeyOfTheMainKeyboardAndOfTheKeypad) {
  auto document = newDrawing();
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  settle();
  // Ctrl and "=" (the key that types "+" with Shift), Ctrl+Shift and that key, Ctrl and the keypad's "+"; NumLock on.
  const std::pair<unsigned, unsigned> keys[] = {{GDK_KEY_equal, GDK_CONTROL_MASK},
                                                {GDK_KEY_plus, GDK_CONTROL_MASK | GDK_SHIFT_MASK},
                                                {GDK_KEY_KP_Add, GDK_CONTROL_MASK}};
  float zoom = document->data()->get("zoom").floatValue();
  for (const auto& [keyval, state] : keys) {
    platform::test::injectKey(window->window().host(), GDK_KEY_PRESS, keyval, state | GDK_MOD2_MASK);
    platform::test::injectKey(window->window().host(), GDK_KEY_RELEASE, keyval, state | GDK_MOD2_MASK);
    settle();
    const float zoomed = document->data()->get("zoom").floatValue();
    EXPECT_GT(zoomed, zoom) << gdk_keyval_name(keyval);
    zoom = zoomed;
  }
  // The "-" key still zooms out, and "=" without Ctrl zooms nothing.
  platform::test::injectKey(window->window().host(), GDK_KEY_PRESS, GDK_KEY_minus, GDK_CONTROL_MASK);
  settle();
  EXPECT_LT(document->data()->get("zoom").floatValue(), zoom);
  zoom = document->data()->get("zoom").floatValue();
  platform::test::injectKey(window->window().host(), GDK_KEY_PRESS, GDK_KEY_equal, 0);
  settle();
  EXPECT_EQ(document->data()->get("zoom").floatValue(), zoom);
}

TEST_F(ViewMenu, ANewWindowStartsWithThePanelAsTheUserLeftIt) {
  CMProject::shareProject().profile().setState("hideRightPanel", 1);
  CMMainWindowController another;
  EXPECT_TRUE(another.mainView()->splitView().isRightPanelHidden());
}

}  // namespace
}  // namespace ui_testing
