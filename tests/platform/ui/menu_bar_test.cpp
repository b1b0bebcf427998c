// The main menu sits above the content and takes key equivalents before the
// first responder.

#include "platform/ui/menu_bar.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <cstdlib>
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

TEST(MenuBar, OnlyAnItemThatIsOnShowsAMark) {
  Window window({300, 150});
  window.setContentView(std::make_shared<View>(Rect{0, 0, 300, 150}));
  auto bar = std::make_shared<MenuBar>();
  Menu& view = bar->addMenu("View");
  MenuItem& plain = view.addItem("Zoom In", [](MenuItem&) {});
  MenuItem& on = view.addItem("Show Grid", [](MenuItem&) {});
  on.setState(1);
  window.setMainMenu(bar);
  ASSERT_TRUE(test::showAndSettle(window));
  // Opened from the bar, as GTK opens it for a click on its title.
  bar->gtkMenuBar().select_item(*dynamic_cast<Gtk::MenuItem*>(view.gtkMenu().get_attach_widget()));
  test::processPendingEvents();
  EXPECT_TRUE(view.gtkMenu().get_mapped());

  // The ink in front of an item's title: whatever differs from the item's own background there.
  const auto inkBeforeTitle = [](MenuItem& item) {
    const auto pixels = test::renderWidget(item.gtkItem());
    int titleX = 0;
    int titleY = 0;
    item.gtkItem().get_child()->translate_coordinates(item.gtkItem(), 0, 0, titleX, titleY);
    const int height = item.gtkItem().get_allocated_height();
    const test::Pixel background = test::pixelAt(pixels.get(), titleX - 1, 1);
    int ink = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < titleX; ++x) {
        const test::Pixel pixel = test::pixelAt(pixels.get(), x, y);
        if (std::abs(pixel.red - background.red) + std::abs(pixel.green - background.green) +
                std::abs(pixel.blue - background.blue) + std::abs(pixel.alpha - background.alpha) > 60)
          ++ink;
      }
    }
    return ink;
  };
  EXPECT_EQ(inkBeforeTitle(plain), 0);
  EXPECT_GT(inkBeforeTitle(on), 10);
  plain.setState(1);
  on.setState(0);
  test::processPendingEvents();
  EXPECT_GT(inkBeforeTitle(plain), 10);
  EXPECT_EQ(inkBeforeTitle(on), 0);
  bar->gtkMenuBar().deactivate();
  test::processPendingEvents();
}

}  // namespace
}  // namespace platform
