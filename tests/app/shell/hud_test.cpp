// The HUD look, rendered and held against hand computation: the frame's clear corner, body, title-bar gradient
// and outline; the close button's cross and its click; the blue default button, the faded disabled one and the
// check mark's path.

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/HUDWindow.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace {

using platform::Point;
using platform::test::Pixel;

struct Rendered {
  platform::test::ImageSurface surface;
  Pixel at(int x, int y) const { return platform::test::pixelAt(surface.get(), x, y); }
};

// The view's drawRect on a transparent surface of its size.
Rendered render(platform::View& view) {
  const platform::Size size = view.frame().size;
  platform::test::ImageSurface surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(size.width), static_cast<int>(size.height)));
  {
    platform::GraphicsContext context(surface.get(), size.height);
    platform::CurrentContextScope current(context);
    view.drawRect(view.bounds());
  }
  cairo_surface_flush(surface.get());
  return {std::move(surface)};
}

int level(double grey) { return static_cast<int>(std::lround(grey * 255)); }

TEST(HUDFrame, CornerBodyTitleBarAndOutline) {
  HUDWindowFrameView frame({0, 0, 200, 120});
  const Rendered drawn = render(frame);
  EXPECT_EQ(drawn.at(1, 1).alpha, 0);  // outside the rounded corner
  const Pixel body = drawn.at(100, 100);
  EXPECT_NEAR(body.red, level(0.15), 1);
  EXPECT_NEAR(body.alpha, level(0.96), 1);
  // The title bar runs from the body's grey at its bottom to 0.239 at its top: row r (from the top) sits at
  // t = (21.5 − r) / 22 of the way.
  for (const int row : {4, 11, 19}) {
    const double t = (21.5 - row) / 22;
    const double alpha = 0.96 + (1 - 0.96) * t;
    const double grey = (0.15 * 0.96 * (1 - t) + 0.239 * t) / alpha;  // interpolated premultiplied
    EXPECT_NEAR(drawn.at(100, row).red, level(grey), 2) << row;
    EXPECT_NEAR(drawn.at(100, row).alpha, level(alpha), 2) << row;
  }
  // The outline, stroked last in black over everything.
  const Pixel top = drawn.at(100, 0);
  EXPECT_LE(top.red, 60);
  EXPECT_GE(top.alpha, 250);
  EXPECT_LE(drawn.at(0, 60).red, 60);
}

TEST(HUDCloseButton, CrossAndClick) {
  const auto lines = HUDWindowButtonCell::crossLines({0, 0, 18, 18});  // r.width 15: a = 6, c = 5
  EXPECT_EQ(lines[0], (Point{6, 11}));
  EXPECT_EQ(lines[1], (Point{12, 5}));
  EXPECT_EQ(lines[2], (Point{12, 11}));
  EXPECT_EQ(lines[3], (Point{6, 5}));
  HUDWindowButtonCell button({0, 0, 18, 18});
  const Rendered drawn = render(button);
  // The cross's middle, (9, 8) y-up, is row 9 from the top: light grey 0.45 over the dark button.
  EXPECT_NEAR(drawn.at(9, 9).red, level(0.45), 25);
  EXPECT_LT(drawn.at(4, 9).red, 70);  // the button's own grey beside the cross

  HUDWindow window({240, 160}, "Panel");
  ASSERT_TRUE(platform::test::showAndSettle(window.window()));
  Gtk::Widget& close = window.closeButton().widget();
  platform::test::injectButton(close, GDK_BUTTON_PRESS, 1, 9, 9);
  platform::test::injectButton(close, GDK_BUTTON_RELEASE, 1, 9, 9);
  platform::test::processPendingEvents();
  EXPECT_FALSE(window.window().isVisible());
}

TEST(HUDButton, BlueDefaultFadedDisabledAndCheckMarks) {
  HUDButtonCell plain({0, 0, 120, 24}, HUDButtonCell::Type::Push, "");
  HUDButtonCell blue({0, 0, 120, 24}, HUDButtonCell::Type::Push, "");
  blue.setKeyEquivalent("\r");
  EXPECT_TRUE(blue.shouldDrawBlueButton());
  const Pixel grey = render(plain).at(60, 12);
  const Pixel bluePixel = render(blue).at(60, 12);
  EXPECT_NEAR(grey.red, grey.blue, 2);
  EXPECT_GT(bluePixel.blue, 180);
  EXPECT_LT(bluePixel.red, 20);
  ASSERT_TRUE(blue.bezelPath().has_value());
  plain.setEnabled(false);
  EXPECT_NEAR(render(plain).at(60, 12).alpha, level(0.7), 1);
  // A check box keeps its blue off even with the key.
  HUDButtonCell box({0, 0, 120, 20}, HUDButtonCell::Type::CheckBox, "Show");
  box.setKeyEquivalent("\r");
  EXPECT_FALSE(box.shouldDrawBlueButton());

  const auto points = [](const platform::BezierPath& path) {
    std::vector<Point> result;
    for (int index = 0; index < path.elementCount(); ++index) {
      Point element[3];
      path.elementAt(index, element);
      result.push_back(element[0]);
    }
    return result;
  };
  // A tick the right way up (its corner lowest, y running up) inside its box, wherever the box is.
  EXPECT_EQ(points(HUDButtonCell::checkmarkPathForRect({0, 0, 14, 14}, false)),
            (std::vector<Point>{{14, 14}, {7, 6}, {4, 10}}));
  for (const platform::Rect& box : {platform::Rect{2, 3, 14, 13}, platform::Rect{20, 40, 14, 15}}) {
    const std::vector<Point> tick = points(HUDButtonCell::checkmarkPathForRect(box, false));
    ASSERT_EQ(tick.size(), 3u);
    for (const Point& point : tick) {
      EXPECT_TRUE(point.x >= box.origin.x && point.x <= box.origin.x + box.size.width) << point.x;
      EXPECT_TRUE(point.y >= box.origin.y && point.y <= box.origin.y + box.size.height) << point.y;
    }
    EXPECT_LT(tick[1].y, tick[0].y);
    EXPECT_LT(tick[1].y, tick[2].y);
  }
  EXPECT_EQ(points(HUDButtonCell::checkmarkPathForRect({0, 0, 14, 14}, true)), (std::vector<Point>{{4, 7}, {10, 7}}));
}

}  // namespace
