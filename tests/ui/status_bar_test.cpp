// The status bar draws its line of text over its grey, under the separator line.

#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/window.h"
#include "ui/CMStatusBarView.h"
#include "ui_test_harness.h"

namespace {

using platform::test::pixelAt;

// Pixels of the row band [top, bottom) clearly lighter than the bar's grey (0.197 → 50).
int lightPixels(cairo_surface_t* surface, int width, int top, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < width; ++x) {
      if (pixelAt(surface, x, y).red > 120) ++count;
    }
  }
  return count;
}

TEST(StatusBar, DrawsItsTextAndTheSeparatorLine) {
  platform::Window window({300, 24});
  auto bar = std::make_shared<CMStatusBarView>();
  bar->setFrame({0, 0, 300, 24});
  window.setContentView(bar);
  ASSERT_TRUE(platform::test::showAndSettle(window));

  platform::test::ImageSurface empty = platform::test::renderWidget(bar->widget());
  // The separator: white 130/255 along the top edge; below it the bar's grey.
  EXPECT_NEAR(pixelAt(empty.get(), 150, 0).red, 130, 1);
  EXPECT_NEAR(pixelAt(empty.get(), 150, 12).red, 50, 1);
  EXPECT_EQ(lightPixels(empty.get(), 300, 2, 24), 0);

  bar->setText("Rectangle 120 × 80");
  EXPECT_EQ(bar->text(), "Rectangle 120 × 80");
  platform::test::ImageSurface written = platform::test::renderWidget(bar->widget());
  EXPECT_GT(lightPixels(written.get(), 300, 2, 24), 30);
  // The text starts after the left inset.
  EXPECT_EQ(lightPixels(written.get(), 8, 2, 24), 0);
  EXPECT_NEAR(pixelAt(written.get(), 150, 0).red, 130, 1);
}

}  // namespace
