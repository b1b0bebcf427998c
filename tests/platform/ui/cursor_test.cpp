// Cursors follow the view under the pointer, inherited from the superview.

#include "platform/ui/cursor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

TEST(Cursor, ViewsShowTheirOwnOrTheirSuperviewsCursor) {
  Window window({100, 100});
  auto root = std::make_shared<View>(Rect{0, 0, 100, 100});
  auto canvas = std::make_shared<View>(Rect{0, 0, 50, 50});
  auto handle = std::make_shared<View>(Rect{0, 0, 10, 10});
  canvas->addSubview(handle);
  root->addSubview(canvas);
  window.setContentView(root);
  ASSERT_TRUE(test::showAndSettle(window));
  canvas->setCursor(Cursor::crosshair());

  window.sendEvent(test::mouseEvent(EventType::MouseMoved, {20, 20}));
  EXPECT_EQ(window.host().shownCursor(), Cursor::crosshair().get());
  Glib::RefPtr<Gdk::Window> gdkWindow = window.host().get_window();
  EXPECT_EQ(gdkWindow->get_cursor(), Cursor::crosshair()->gdkCursor(window.host().get_display()));

  window.sendEvent(test::mouseEvent(EventType::MouseMoved, {5, 5}));  // the handle has none: its superview's
  EXPECT_EQ(window.host().shownCursor(), Cursor::crosshair().get());
  handle->setCursor(Cursor::pointingHand());  // takes effect at once under the pointer
  EXPECT_EQ(window.host().shownCursor(), Cursor::pointingHand().get());

  window.sendEvent(test::mouseEvent(EventType::MouseMoved, {80, 80}));
  EXPECT_EQ(window.host().shownCursor(), Cursor::arrow().get());
}

TEST(Cursor, ImageCursorsKeepTheirHotSpotInsideTheImage) {
  auto image = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 16, 16);
  image->fill(0x000000FF);
  auto pen = Cursor::fromImage(image, {3.7, 4});
  EXPECT_EQ(pen->hotSpot(), (Point{3, 4}));
  EXPECT_EQ(Cursor::fromImage(image, {100, -5})->hotSpot(), (Point{15, 0}));
  EXPECT_EQ(Cursor::fromImage(image, {std::nan(""), 2})->hotSpot(), (Point{0, 2}));

  auto display = Gdk::Display::get_default();
  Glib::RefPtr<Gdk::Cursor> made = pen->gdkCursor(display);
  ASSERT_TRUE(made);
  EXPECT_EQ(made->get_cursor_type(), Gdk::CURSOR_IS_PIXMAP);
  EXPECT_EQ(pen->gdkCursor(display), made);  // made once
}

}  // namespace
}  // namespace platform
