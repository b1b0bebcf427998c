// The main window's buttons clicked with the real pointer while two drawings are open: a click does what the
// control under the pointer says and nothing else (no drawing closes).

#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "platform/ui/button.h"
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

}  // namespace
}  // namespace ui_testing
