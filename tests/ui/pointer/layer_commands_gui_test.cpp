// The layer commands as a user gives them in the main window: two shapes drawn with the palette and the real
// pointer, chosen by a band and a Shift click, then combined, aligned and flipped from the select tool's strip,
// the Arrange menu and the canvas's context menu, each clicked with the real pointer. The model and the
// canvas's pixels change, and Edit ▸ Undo takes each command back as one step.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../../canvas/real_pointer_support.h"
#include "main_window_fixture.h"
#include "platform/ui/button.h"
#include "real_clicks.h"
#include "spy_canvas_commands.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CMViewTags.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using platform::Point;

bool isColour(const platform::test::Pixel& pixel, int r, int g, int b) {
  return std::abs(pixel.red - r) <= 2 && std::abs(pixel.green - g) <= 2 && std::abs(pixel.blue - b) <= 2;
}

class LayerCommandsInTheWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!platform::test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";
    MainWindowTest::SetUp();
    document = newDrawing();
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(platform::test::showAndSettle(window->window()));
    settle();
  }

  CMEditorView& canvas() const { return window->editor(); }
  canvas_testing::RealPointer hand() { return {window->window(), canvas()}; }
  platform::ArrayRef records() const { return document->data()->array("layers"); }

  void clickPaletteButton(int tag) {
    for (const auto& element : window->mainView()->toolsBar().actions()) {
      if (element.button->tag() == tag) platform::test::clickButton(element.button->gtkButton());
    }
    settle();
  }

  // An oval in (50, 50, 100, 100) under a red square at (100, 100), the square the current layer and the oval
  // a member of the selection.
  void drawSquareOverOval() {
    clickPaletteButton(kCMToolOval);
    hand().drag({50, 50}, {150, 150});
    settle();
    clickPaletteButton(kCMToolRectangle);
    hand().drag({100, 100}, {200, 200});
    settle();
    ASSERT_EQ(records()->size(), 2u);
    // The style panel is not there yet: the square is painted red in its record.
    records()->at(1).dictionary()->dictionary("shape")->dictionary("fill")->set(
        "color", platform::Dictionary::make({{"r", 220}, {"g", 0}, {"b", 0}, {"a", 255}}));
    records()->at(1).dictionary()->set("dirty", true);
    canvas().update();
    canvas_testing::RealPointer pointer = hand();
    pointer.press({20, 20});
    pointer.moveTo({120, 120});
    pointer.moveTo({260, 260});
    pointer.release({260, 260});
    pointer.press({180, 180}, GDK_SHIFT_MASK);
    pointer.release({180, 180}, GDK_SHIFT_MASK);
    settle();
    ASSERT_EQ(canvas().layerSelected().size(), 1u);
    ASSERT_EQ(canvas().layers2().size(), 1u);
  }

  // The canvas as GTK draws it; the page is drawn one unit lower.
  platform::test::Pixel pixelOnPage(Point onPage) {
    settle();
    const auto image = platform::test::renderWidget(canvas().widget());
    return platform::test::pixelAt(image.get(), static_cast<int>(onPage.x), static_cast<int>(onPage.y) + 1);
  }

  void clickStripButton(int tag) {
    auto* button = dynamic_cast<platform::Button*>(subviewWithTag(*window->mainView()->topToolbar().subToolView(), tag));
    ASSERT_NE(button, nullptr) << tag;
    platform::test::clickButton(button->gtkButton());
    settle();
  }

  // Opens the menu bar's menu and clicks its item, both with the real pointer.
  void chooseFromMenuBar(const std::string& menuTitle, const std::string& itemTitle) {
    platform::MenuItem* entry = item(menuTitle, itemTitle);
    ASSERT_NE(entry, nullptr) << itemTitle;
    Gtk::Menu& menu = const_cast<platform::Menu*>(menuTitled(menuTitle))->gtkMenu();
    platform::test::clickOn(*menu.get_attach_widget());
    ASSERT_TRUE(platform::test::settleUntil([&] { return menu.get_mapped(); })) << menuTitle;
    platform::test::clickOn(entry->gtkItem());
    ASSERT_TRUE(platform::test::settleUntil([&] { return !menu.get_mapped(); }));
    settle();
  }

  // A right click on the canvas, then a click on the context menu's item.
  void chooseFromContextMenu(Point onCanvas, const std::string& itemTitle) {
    int x = 0;
    int y = 0;
    platform::test::screenPointOf(canvas().widget(), static_cast<int>(onCanvas.x), static_cast<int>(onCanvas.y), x, y);
    platform::test::clickOnScreen(x, y, 3);
    Gtk::Menu& menu = window->arrangeMenu().gtkMenu();
    ASSERT_TRUE(platform::test::settleUntil([&] { return menu.get_mapped(); }));
    platform::test::settleFor(100'000);
    for (const auto& entry : window->arrangeMenu().items()) {
      if (entry->title() == itemTitle) platform::test::clickOn(entry->gtkItem());
    }
    ASSERT_TRUE(platform::test::settleUntil([&] { return !menu.get_mapped(); }));
    settle();
  }

  std::size_t undoSteps() const { return document->undoManager().undoCount(); }

  std::shared_ptr<CMDocument> document;
};

TEST_F(LayerCommandsInTheWindow, TheStripButtonsAlignFlipAndCombine) {
  drawSquareOverOval();
  ASSERT_TRUE(isColour(pixelOnPage({60, 100}), 255, 255, 255)) << "the oval is white";

  // Left: the oval takes the square's left edge.
  std::size_t steps = undoSteps();
  clickStripButton(5);
  EXPECT_NEAR(records()->at(0).dictionary()->get("x").doubleValue(), 100, 1e-3);
  EXPECT_EQ(undoSteps(), steps + 1);
  chooseFromMenuBar("Edit", "Undo");
  EXPECT_NEAR(records()->at(0).dictionary()->get("x").doubleValue(), 50, 1e-3);

  // Horizontal: the square becomes points, mirrored in place.
  steps = undoSteps();
  clickStripButton(7);
  EXPECT_TRUE(records()->at(1).dictionary()->dictionary("shape")->get("isbezier").boolValue());
  EXPECT_EQ(undoSteps(), steps + 1);
  chooseFromMenuBar("Edit", "Undo");
  EXPECT_FALSE(records()->at(1).dictionary()->dictionary("shape")->get("isbezier").boolValue());

  // Union: the oval's area takes the square's colour; undo gives the white oval back.
  steps = undoSteps();
  clickStripButton(16);
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_EQ(undoSteps(), steps + 1);
  EXPECT_TRUE(isColour(pixelOnPage({60, 100}), 220, 0, 0));
  EXPECT_TRUE(isColour(pixelOnPage({190, 190}), 220, 0, 0));
  chooseFromMenuBar("Edit", "Undo");
  ASSERT_EQ(records()->size(), 2u);
  EXPECT_TRUE(isColour(pixelOnPage({60, 100}), 255, 255, 255));
}

TEST_F(LayerCommandsInTheWindow, ArrangeMenuUnionAndUndo) {
  drawSquareOverOval();
  chooseFromMenuBar("Arrange", "Union");
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_TRUE(isColour(pixelOnPage({60, 100}), 220, 0, 0));
  chooseFromMenuBar("Edit", "Undo");
  EXPECT_EQ(records()->size(), 2u);
  EXPECT_TRUE(isColour(pixelOnPage({60, 100}), 255, 255, 255));
}

TEST_F(LayerCommandsInTheWindow, ContextMenuSubtractAndUndo) {
  drawSquareOverOval();
  chooseFromContextMenu({300, 300}, "Subtract");
  ASSERT_EQ(records()->size(), 1u);
  // The overlap is a hole; both outer parts stay.
  EXPECT_TRUE(isColour(pixelOnPage({110, 110}), 255, 255, 255));
  EXPECT_TRUE(isColour(pixelOnPage({60, 100}), 220, 0, 0));
  EXPECT_TRUE(isColour(pixelOnPage({190, 190}), 220, 0, 0));
  chooseFromMenuBar("Edit", "Undo");
  EXPECT_EQ(records()->size(), 2u);
  EXPECT_TRUE(isColour(pixelOnPage({110, 110}), 220, 0, 0));
}

TEST_F(LayerCommandsInTheWindow, EveryArrangeItemSendsItsCommandFromBothMenus) {
  std::vector<std::string> calls;
  window->setCanvasCommands(std::make_unique<SpyCommands>(calls));
  const std::vector<std::pair<const char*, const char*>> table{
      {"Group", "group"},           {"Ungroup", "ungroup"},          {"Bring to Front", "bringToFront"},
      {"Bring Forward", "bringForward"}, {"Send Backward", "sendTobackward"}, {"Send to Back", "sendToBack"},
      {"Align Left", "alignleft"},  {"Align Right", "alignright"},   {"Align Top", "aligntop"},
      {"Align Bottom", "alignbottom"}, {"Flip Horizontal", "flipH"}, {"Flip Vertical", "flipV"},
      {"Union", "pathUnion"},       {"Subtract", "pathSubtract"},   {"Intersect", "pathIntersect"},
      {"Difference", "pathDifference"}};
  for (const auto& [title, command] : table) {
    calls.clear();
    chooseFromMenuBar("Arrange", title);
    EXPECT_EQ(calls, std::vector<std::string>{command}) << "Arrange ▸ " << title;
    calls.clear();
    chooseFromContextMenu({300, 300}, title);
    EXPECT_EQ(calls, std::vector<std::string>{command}) << "context menu ▸ " << title;
  }
}

}  // namespace
}  // namespace ui_testing
