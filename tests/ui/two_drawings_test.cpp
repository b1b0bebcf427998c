// Two drawings open in the main window, used with real GDK pointer and key events through GTK's dispatch: the tabs
// act only on a click that stays in one tab, a switch of drawings leaves nothing of the other selected, and closing
// the hidden drawing takes the tabs away. Last, a user's session with both: draw in each, switch by tabs, use the
// palette, the toolbar and tool keys, close one and undo in the other. (Palette and toolbar buttons clicked with the
// real pointer: pointer/window_clicks_test.cpp.)

#include <gdk/gdk.h>
#include <gdk/gdkkeysyms.h>

#include <chrono>

#include "../canvas/real_pointer_support.h"
#include "platform/core/main_queue.h"
#include "platform/ui/alert.h"
#include "main_window_fixture.h"
#include "ui/CMDocumentSelectorView.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using platform::Point;

class TwoDrawings : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    first = newDrawing();
    second = newDrawing();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(platform::test::showAndSettle(window->window()));
    settle();
    ASSERT_EQ(window->drawing(), second);
    ASSERT_FALSE(tabs().isHidden());
  }

  CMDocumentSelectorView& tabs() const { return window->mainView()->documentSelector(); }
  canvas_testing::RealPointer onCanvas() { return {window->window(), window->editor()}; }
  canvas_testing::RealPointer onTabs() { return {window->window(), tabs()}; }

  // A rectangle drawn with the pointer in the drawing shown.
  void drawRectangle(Point from, Point to) {
    window->selectTool(kCMToolRectangle, nullptr);
    onCanvas().drag(from, to);
    settle();
  }

  // A press and release in the strip (y up, tabs from x 10, 180 wide).
  void clickTabs(Point down, Point up) {
    canvas_testing::RealPointer hand = onTabs();
    hand.press(down);
    hand.release(up);
    settle();
  }

  void pressKey(unsigned keyval, unsigned state = 0) {
    platform::test::injectKey(window->window().host(), GDK_KEY_PRESS, keyval, state);
    platform::test::injectKey(window->window().host(), GDK_KEY_RELEASE, keyval, state);
    settle();
  }

  static platform::DictRef onlyRecord(const std::shared_ptr<CMDocument>& drawing) {
    const platform::ArrayRef layers = drawing->data()->array("layers");
    return layers && layers->size() == 1 ? layers->at(0).dictionary() : nullptr;
  }

  std::shared_ptr<CMDocument> first;
  std::shared_ptr<CMDocument> second;
};

TEST_F(TwoDrawings, ATabActsOnlyOnAClickThatStaysInIt) {
  // The first tab's close area is its leftmost 16 points (x 10 to 26); its body runs to x 190.
  clickTabs({15, 13}, {100, 13});  // pressed on the close mark, let go on the title
  clickTabs({100, 13}, {15, 13});  // and the other way round
  clickTabs({100, 13}, {250, 13});  // from one tab to the other
  EXPECT_EQ(documents->documents().size(), 2u);
  EXPECT_EQ(window->drawing(), second);
  clickTabs({100, 13}, {120, 13});
  EXPECT_EQ(window->drawing(), first);
  clickTabs({300, 13}, {320, 13});
  EXPECT_EQ(window->drawing(), second);
  EXPECT_EQ(documents->documents().size(), 2u);
}

TEST_F(TwoDrawings, KeysAfterASwitchLeaveTheOtherDrawingsLayersAlone) {
  // One rectangle in each drawing, both with id 1.
  clickTabs({100, 13}, {100, 13});
  ASSERT_EQ(window->drawing(), first);
  drawRectangle({200, 200}, {260, 240});
  clickTabs({300, 13}, {300, 13});
  ASSERT_EQ(window->drawing(), second);
  drawRectangle({40, 40}, {100, 80});
  const platform::DictRef record = onlyRecord(first);
  ASSERT_NE(record, nullptr);
  ASSERT_NE(onlyRecord(second), nullptr);
  ASSERT_EQ(record->get("id").intValue(), onlyRecord(second)->get("id").intValue());

  // The rectangle of the second drawing is chosen by a click, then the first drawing is shown by its tab.
  onCanvas().press({70, 60});
  onCanvas().release({70, 60});
  settle();
  ASSERT_NE(window->editor().selectedLayer(), nullptr);
  clickTabs({100, 13}, {100, 13});
  ASSERT_EQ(window->drawing(), first);

  // Nothing is selected in it: the arrows and Backspace change nothing in either drawing.
  EXPECT_EQ(window->editor().selectedLayer(), nullptr);
  pressKey(GDK_KEY_Right);
  pressKey(GDK_KEY_Down);
  pressKey(GDK_KEY_BackSpace);
  ASSERT_EQ(onlyRecord(first), record);
  EXPECT_EQ(record->get("x").doubleValue(), 200);
  EXPECT_EQ(record->get("y").doubleValue(), 200);
  EXPECT_EQ(first->undoManager().undoCount(), 1u);  // the drawing of the rectangle only
  ASSERT_NE(onlyRecord(second), nullptr);
  EXPECT_EQ(onlyRecord(second)->get("x").doubleValue(), 40);
}

TEST_F(TwoDrawings, ClosingTheHiddenDrawingTakesTheTabsAway) {
  manager->closeDocument(first);
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_EQ(window->drawing(), second);
  EXPECT_TRUE(tabs().isHidden());
}

TEST_F(TwoDrawings, DrawInBothSwitchByTabsCloseOneAndUndoInTheOther) {
  // A rectangle in the first drawing, its tool chosen on the palette.
  clickTabs({100, 13}, {100, 13});
  ASSERT_EQ(window->drawing(), first);
  platform::test::clickButton(window->mainView()->toolsBar().buttonWithTag(kCMToolRectangle)->gtkButton());
  settle();
  onCanvas().drag({200, 200}, {260, 240});
  settle();
  const platform::DictRef rectangle = onlyRecord(first);
  ASSERT_NE(rectangle, nullptr);

  // An oval in the second, its tool chosen by its key, then every top toolbar button clicked.
  clickTabs({300, 13}, {300, 13});
  ASSERT_EQ(window->drawing(), second);
  pressKey(GDK_KEY_o);
  ASSERT_EQ(window->selectedTool(), kCMToolOval);
  onCanvas().drag({40, 40}, {100, 80});
  settle();
  const platform::DictRef oval = onlyRecord(second);
  ASSERT_NE(oval, nullptr);
  for (const CMToolsBase::Element& element : window->mainView()->topToolbar().actions()) {
    if (element.button && !element.button->isHidden()) platform::test::clickButton(element.button->gtkButton());
    settle();
  }
  pressKey(GDK_KEY_r);
  EXPECT_EQ(window->selectedTool(), kCMToolRectangle);

  // Back in the first: both drawings hold just what was drawn in them.
  clickTabs({100, 13}, {100, 13});
  ASSERT_EQ(window->drawing(), first);
  EXPECT_EQ(onlyRecord(first), rectangle);
  EXPECT_EQ(onlyRecord(second), oval);
  EXPECT_EQ(rectangle->get("x").doubleValue(), 200);
  EXPECT_EQ(oval->get("x").doubleValue(), 40);

  // The second drawing is closed from its tab without saving; the first stays shown, and its undo takes back
  // its own rectangle only.
  clickTabs({190 + 8, 13}, {190 + 8, 13});
  ASSERT_NE(window->dialogs().currentAlert(), nullptr) << "an edited drawing asks first";
  window->dialogs().currentAlert()->dialog()->response(1);  // Don't Save
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return window->dialogs().currentAlert() == nullptr; },
                                             std::chrono::seconds(3)));
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_EQ(window->drawing(), first);
  EXPECT_TRUE(tabs().isHidden());
  EXPECT_EQ(onlyRecord(first), rectangle);
  pressKey(GDK_KEY_z, GDK_CONTROL_MASK);
  EXPECT_TRUE(first->data()->array("layers")->empty());
  EXPECT_EQ(documents->documents().size(), 1u);
}

}  // namespace
}  // namespace ui_testing
