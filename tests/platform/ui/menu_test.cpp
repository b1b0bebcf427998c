// Menus validate their items before showing and before a key equivalent fires.

#include "platform/ui/menu.h"

#include <gtest/gtest.h>

#include <string>

#include "ui_test_harness.h"

namespace platform {
namespace {

TEST(Menu, ValidatesAndRetitlesEveryItemWhenShown) {
  Menu menu;
  bool canUndo = false;
  int performed = 0;
  MenuItem& undo = menu.addItem("Undo", [&](MenuItem&) { ++performed; }, {"z"});
  undo.setValidator([&](MenuItem& item) {
    item.setTitle(canUndo ? "Undo Move" : "Undo");
    return canUndo;
  });
  menu.addSeparator();
  MenuItem& always = menu.addItem("Select All", [&](MenuItem&) { ++performed; }, {"a"});
  always.setEnabled(false);  // no validator: validation enables it

  menu.gtkMenu().show();
  EXPECT_FALSE(undo.isEnabled());
  EXPECT_EQ(undo.title(), "Undo");
  EXPECT_TRUE(always.isEnabled());
  menu.gtkMenu().hide();

  canUndo = true;
  menu.gtkMenu().show();
  EXPECT_TRUE(undo.isEnabled());
  EXPECT_EQ(undo.title(), "Undo Move");
  menu.gtkMenu().hide();
  EXPECT_EQ(performed, 0);
}

TEST(Menu, KeyEquivalentsRecheckTheirPreconditions) {
  Menu menu;
  bool hasSelection = true;
  int deletes = 0;
  int redos = 0;
  MenuItem& remove = menu.addItem("Delete", [&](MenuItem&) { ++deletes; }, {"d", modifier::Command});
  remove.setValidator([&](MenuItem&) { return hasSelection; });
  menu.addItem("Redo", [&](MenuItem&) { ++redos; }, {"Z", modifier::Command | modifier::Shift});
  menu.update();  // enabled as of now

  hasSelection = false;  // changed since the menu was last shown
  EXPECT_FALSE(menu.performKeyEquivalent(test::keyEvent(EventType::KeyDown, "d", 2, modifier::Command)));
  EXPECT_EQ(deletes, 0);
  hasSelection = true;
  EXPECT_TRUE(menu.performKeyEquivalent(test::keyEvent(EventType::KeyDown, "d", 2, modifier::Command)));
  EXPECT_EQ(deletes, 1);
  // Modifiers must match exactly; letters match without case.
  EXPECT_FALSE(
      menu.performKeyEquivalent(test::keyEvent(EventType::KeyDown, "d", 2, modifier::Command | modifier::Option)));
  EXPECT_FALSE(menu.performKeyEquivalent(test::keyEvent(EventType::KeyDown, "d", 2)));
  EXPECT_FALSE(menu.performKeyEquivalent(test::keyEvent(EventType::KeyUp, "d", 2, modifier::Command)));
  EXPECT_TRUE(menu.performKeyEquivalent(
      test::keyEvent(EventType::KeyDown, "z", 6, modifier::Command | modifier::Shift | modifier::CapsLock)));
  EXPECT_EQ(redos, 1);
  EXPECT_EQ(deletes, 1);
}

TEST(Menu, StateIsTheActionsToSetAndSettingItSendsNothing) {
  Menu menu;
  int performed = 0;
  MenuItem& grid = menu.addItem("Show Grid", [&](MenuItem& item) {
    ++performed;
    item.setState(item.state() == 1 ? 0 : 1);
  });
  grid.setTag(42);
  EXPECT_EQ(menu.itemWithTag(42), &grid);
  EXPECT_EQ(menu.itemWithTag(7), nullptr);
  grid.setState(1);
  grid.setState(0);
  EXPECT_EQ(performed, 0);
  grid.gtkItem().activate();  // chosen by the user
  EXPECT_EQ(performed, 1);
  EXPECT_EQ(grid.state(), 1);
  grid.gtkItem().activate();
  EXPECT_EQ(grid.state(), 0);
}

}  // namespace
}  // namespace platform
