// The main menu sits above the content and takes key equivalents before the
// first responder.

#include "platform/ui/menu_bar.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/window.h"
#include "recording_view.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

using test::RecordingView;

TEST(MenuBar, KeyEquivalentsComeBeforeTheFirstResponder) {
  Window window({200, 150});
  std::vector<RecordingView::Entry> log;
  auto content = std::make_shared<RecordingView>(Rect{0, 0, 200, 150}, log);
  content->setAcceptsFirstResponder(true);
  window.setContentView(content);
  auto bar = std::make_shared<MenuBar>();
  Menu& edit = bar->addMenu("Edit");
  bool canUndo = true;
  int undos = 0;
  edit.addItem("Undo", [&](MenuItem&) { ++undos; }, {"z"}).setValidator([&](MenuItem&) { return canUndo; });
  window.setMainMenu(bar);
  ASSERT_TRUE(test::showAndSettle(window));
  ASSERT_TRUE(window.makeFirstResponder(content.get()));
  test::processPendingEvents();

  test::injectKey(window.host(), GDK_KEY_PRESS, GDK_KEY_z, GDK_SUPER_MASK);
  EXPECT_EQ(undos, 1);
  EXPECT_TRUE(log.empty());

  // A disabled equivalent is not performed: the key goes on to the first responder, as in AppKit.
  canUndo = false;
  window.sendEvent(test::keyEvent(EventType::KeyDown, "z", 6, modifier::Command));
  EXPECT_EQ(undos, 1);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].event.modifierFlags, modifier::Command);

  canUndo = true;
  window.sendEvent(test::keyEvent(EventType::KeyDown, "z", 6));  // no Command: an ordinary key
  EXPECT_EQ(undos, 1);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].handler, "keyDown");
}

TEST(MenuBar, ContentStartsBelowTheBarAndKeepsWindowCoordinates) {
  Window window({200, 150});
  std::vector<RecordingView::Entry> log;
  auto content = std::make_shared<RecordingView>(Rect{0, 0, 200, 150}, log);
  window.setContentView(content);
  auto bar = std::make_shared<MenuBar>();
  bar->addMenu("View").addItem("Zoom In", nullptr, {"="});
  window.setMainMenu(bar);
  ASSERT_TRUE(test::showAndSettle(window));
  const int barHeight = bar->gtkMenuBar().get_allocated_height();
  EXPECT_GT(barHeight, 0);
  EXPECT_EQ(window.host().get_allocation().get_y(), barHeight);
  const double contentHeight = content->frame().size.height;
  EXPECT_EQ(contentHeight, 150);  // the window grew by the bar
  EXPECT_EQ(contentHeight, window.host().get_allocated_height());

  test::injectButton(window.host(), GDK_BUTTON_PRESS, 1, 10, 10);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].event.locationInWindow, (Point{10, contentHeight - 10}));

  window.setMainMenu(nullptr);
  EXPECT_EQ(window.mainMenu(), nullptr);
  EXPECT_EQ(bar->gtkMenuBar().get_parent(), nullptr);
}

}  // namespace
}  // namespace platform
