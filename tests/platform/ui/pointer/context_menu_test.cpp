// A context menu pops up where the pointer is, validated (and retitled) first,
// and a real click on an item performs that item once and closes the menu;
// a disabled item does nothing.

#include <gtest/gtest.h>
#include <gtkmm/menu.h>

#include <memory>

#include "platform/ui/menu.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"
#include "real_clicks.h"

namespace platform {
namespace {

class ContextMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";
    window.setContentView(std::make_shared<View>(Rect{0, 0, 400, 300}));
    ASSERT_TRUE(test::showAndSettle(window));
    group = &menu.addItem("Group", [this](MenuItem&) { ++grouped; });
    group->setValidator([this](MenuItem& item) {
      item.setTitle(selected > 1 ? "Group " + std::to_string(selected) + " Layers" : "Group");
      return selected > 1;
    });
    menu.addSeparator();
    remove = &menu.addItem("Delete", [this](MenuItem&) { ++removed; });
    remove->setValidator([this](MenuItem&) { return selected > 0; });
    menu.gtkMenu().attach_to_widget(window.gtkWindow());
  }

  void popUpAt(int x, int y) {
    test::fakePointerMotion(x, y);
    test::settleFor(100'000);
    menu.popUpAtPointer();
    ASSERT_TRUE(test::settleUntil([this] { return menu.gtkMenu().get_mapped(); }));
    test::settleFor(100'000);
  }

  Window window{Size{400, 300}};
  Menu menu;
  MenuItem* group = nullptr;
  MenuItem* remove = nullptr;
  int selected = 0;
  int grouped = 0;
  int removed = 0;
};

TEST_F(ContextMenuTest, PopsUpAtThePointerValidatedAndRetitled) {
  selected = 3;
  popUpAt(120, 90);
  EXPECT_TRUE(group->isEnabled());
  EXPECT_EQ(group->title(), "Group 3 Layers");
  // The menu's top-left corner sits at the pointer (GTK may nudge it a few pixels for its shadow).
  int menuX = 0;
  int menuY = 0;
  menu.gtkMenu().get_toplevel()->get_window()->get_origin(menuX, menuY);
  EXPECT_NEAR(menuX, 120, 12);
  EXPECT_NEAR(menuY, 90, 12);
  test::clickOn(group->gtkItem());
  EXPECT_EQ(grouped, 1);
  EXPECT_EQ(removed, 0);
  EXPECT_TRUE(test::settleUntil([this] { return !menu.gtkMenu().get_mapped(); }));
}

TEST_F(ContextMenuTest, ADisabledItemDoesNothingWhenClicked) {
  selected = 1;
  popUpAt(60, 60);
  EXPECT_FALSE(group->isEnabled());
  EXPECT_EQ(group->title(), "Group");
  EXPECT_TRUE(remove->isEnabled());
  test::clickOn(group->gtkItem());
  EXPECT_EQ(grouped, 0);
  test::clickOn(remove->gtkItem());
  EXPECT_EQ(removed, 1);
  EXPECT_EQ(grouped, 0);
}

}  // namespace
}  // namespace platform
