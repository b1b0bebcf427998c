// The main window's buttons and steppers clicked with the real pointer while two drawings are open: a click does
// what the control under the pointer says and nothing else (no drawing closes, the lower half of a stepper counts
// down), and the stepper shows both of its arrows.

#include <gtest/gtest.h>

#include <vector>

#include "document/CMProject.h"
#include "main_window_fixture.h"
#include "platform/ui/button.h"
#include "platform/ui/stepper.h"
#include "real_clicks.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

class WindowClicks : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!platform::test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";
    MainWindowTest::SetUp();
    first = newDrawing();
    second = newDrawing();
    ASSERT_TRUE(platform::test::showAndSettle(window->window()));
    settle();
    ASSERT_EQ(documents->documents().size(), 2u);
  }

  // A click with the real pointer at a point of the widget (its own pixels, y down).
  static void clickAt(Gtk::Widget& widget, int x, int y) {
    int screenX = 0;
    int screenY = 0;
    platform::test::screenPointOf(widget, x, y, screenX, screenY);
    platform::test::clickOnScreen(screenX, screenY);
    settle();
  }

  std::shared_ptr<CMDocument> first;
  std::shared_ptr<CMDocument> second;
};

TEST_F(WindowClicks, PaletteAndToolbarButtonsCloseNoDrawing) {
  for (const CMToolsBase::Element& element : window->mainView()->toolsBar().actions()) {
    if (!element.button) continue;
    platform::test::clickOn(element.button->gtkButton());
    settle();
    ASSERT_EQ(documents->documents().size(), 2u) << "palette button " << element.button->tag();
    EXPECT_EQ(window->selectedTool(), element.button->tag());
  }
  for (const CMToolsBase::Element& element : window->mainView()->topToolbar().actions()) {
    if (!element.button || element.button->isHidden()) continue;
    platform::test::clickOn(element.button->gtkButton());
    settle();
    ASSERT_EQ(documents->documents().size(), 2u) << "toolbar button " << element.button->tag();
  }
  EXPECT_EQ(window->drawing(), second);
  EXPECT_FALSE(first->isDocumentEdited());
  EXPECT_FALSE(second->isDocumentEdited());
}

TEST_F(WindowClicks, AStepperShowsBothArrowsAndCountsDownInItsLowerHalf) {
  CMGlobalProfile& profile = CMProject::shareProject().profile();
  profile.setInteger(5, "line_width");
  window->selectTool(kCMToolLine, nullptr);
  settle();
  platform::Stepper* stepper = nullptr;
  for (const auto& control : window->mainView()->topToolbar().subToolView()->subviews())
    if (auto* found = dynamic_cast<platform::Stepper*>(control.get())) stepper = found;
  ASSERT_NE(stepper, nullptr);
  Gtk::Widget& widget = stepper->widget();
  const int width = widget.get_allocated_width();
  const int height = widget.get_allocated_height();

  // Both arrows are drawn, each clear of the middle: the upper one widening downwards, the lower one narrowing.
  const auto pixels = platform::test::renderWidget(widget);
  std::vector<int> inkPerRow(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const platform::test::Pixel pixel = platform::test::pixelAt(pixels.get(), x, y);
      if (pixel.alpha > 128 && pixel.red < 128) ++inkPerRow[static_cast<std::size_t>(y)];
    }
  }
  const auto arrowIn = [&](int from, int to) {
    std::vector<int> rows;
    for (int y = from; y < to; ++y)
      if (inkPerRow[static_cast<std::size_t>(y)] > 0) rows.push_back(inkPerRow[static_cast<std::size_t>(y)]);
    return rows;
  };
  const std::vector<int> upper = arrowIn(0, height / 2 - 1);
  const std::vector<int> lower = arrowIn(height / 2 + 1, height);
  ASSERT_GE(upper.size(), 2u) << "no up arrow";
  ASSERT_GE(lower.size(), 2u) << "no down arrow";
  EXPECT_LT(upper.front(), upper.back());
  EXPECT_GT(lower.front(), lower.back());

  clickAt(widget, width / 2, height - 3);
  EXPECT_EQ(profile.integerForKey("line_width"), 4);
  clickAt(widget, width / 2, height - 3);
  EXPECT_EQ(profile.integerForKey("line_width"), 3);
  clickAt(widget, width / 2, 3);
  EXPECT_EQ(profile.integerForKey("line_width"), 4);
  EXPECT_EQ(documents->documents().size(), 2u);
}

}  // namespace
}  // namespace ui_testing
