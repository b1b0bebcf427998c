// Editing as a user does it in the main window: real GDK pointer events through
// GTK's dispatch into the canvas, tools chosen with the palette's buttons,
// undo from the Edit menu, and the drawing saved with File ▸ Save As and
// opened again.

#include <gdk/gdk.h>

#include <cmath>
#include <filesystem>

#include "../../platform/core/scratch_folder.h"
#include "../canvas/real_pointer_support.h"
#include "canvas/CMFrameEditorView.h"
#include "main_window_fixture.h"
#include "ui/CMToolsView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using platform::Point;
using platform::Rect;

class EditingEndToEnd : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    document = newDrawingOnScreen();
    ASSERT_NE(document, nullptr);
    // At 100 % a canvas point is a document unit.
    ASSERT_FLOAT_EQ(window->editor().zoom(), 1.0f);
  }

  // A drag on the canvas, then what it queued.
  void dragOnCanvas(Point from, Point to) {
    pointer().drag(from, to);
    settle();
  }
  canvas_testing::RealPointer pointer() { return {window->window(), window->editor()}; }

  void clickPaletteButton(int tag) {
    for (const auto& element : window->mainView()->toolsBar().actions()) {
      if (element.button->tag() != tag) continue;
      platform::test::clickButton(element.button->gtkButton());
      settle();
      return;
    }
    ADD_FAILURE() << "no palette button with tag " << tag;
  }

  void undoFromEditMenu() {
    platform::MenuItem* undo = item("Edit", "Undo");
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(undo->validate());
    undo->perform();
    settle();
  }

  platform::ArrayRef records() const { return window->drawing()->data()->array("layers"); }
  platform::DictRef record(std::size_t index) const { return records()->at(index).dictionary(); }
  static Rect frameOf(const platform::DictRef& layer) {
    return {layer->get("x").doubleValue(), layer->get("y").doubleValue(), layer->get("width").doubleValue(),
            layer->get("height").doubleValue()};
  }

  std::shared_ptr<CMDocument> document;
  platform::testing::ScratchFolder folder;
};

TEST_F(EditingEndToEnd, DrawARectangleAndAStarUndoTheStarSaveAsAndReopen) {
  clickPaletteButton(kCMToolRectangle);
  ASSERT_EQ(window->editor().currentTool(), kCMToolRectangle);
  dragOnCanvas({30, 40}, {130, 110});
  ASSERT_EQ(records()->size(), 1u);

  clickPaletteButton(kCMToolStar);
  ASSERT_EQ(window->editor().currentTool(), kCMToolStar);
  dragOnCanvas({200, 100}, {260, 160});
  ASSERT_EQ(records()->size(), 2u);

  EXPECT_EQ(record(0)->get("shape_type").intValue(), 0);
  EXPECT_EQ(frameOf(record(0)), (Rect{30, 40, 100, 70}));
  EXPECT_EQ(record(1)->get("shape_type").intValue(), 3);
  EXPECT_EQ(frameOf(record(1)), (Rect{200, 100, 60, 60}));

  undoFromEditMenu();
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_EQ(record(0)->get("shape_type").intValue(), 0);

  platform::MenuItem* saveAs = item("File", "Save As");
  ASSERT_NE(saveAs, nullptr);
  saveAs->perform();
  ASSERT_TRUE(answerSavePanel(folder.path(), "Shapes.vard"));
  const std::filesystem::path file = folder / "Shapes.vard";
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(document->isDocumentEdited());
  EXPECT_EQ(window->window().title(), "Shapes.vard, 100%");

  item("File", "Close")->perform();
  settle();
  ASSERT_TRUE(documents->documents().empty());

  ASSERT_TRUE(documents->openDocument(file).ok());
  settle();
  ASSERT_NE(window->drawing(), nullptr);
  EXPECT_NE(window->drawing(), document);
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_EQ(record(0)->get("shape_type").intValue(), 0);
  EXPECT_EQ(frameOf(record(0)), (Rect{30, 40, 100, 70}));
}

TEST_F(EditingEndToEnd, BandSelectTwoShapesDragOneBothMoveAndUndoPutsThemBack) {
  // 60 × 40 at (40, 50) and 50 × 30 at (200, 120).
  clickPaletteButton(kCMToolRectangle);
  dragOnCanvas({40, 50}, {100, 90});
  clickPaletteButton(kCMToolRectangle);
  dragOnCanvas({200, 120}, {250, 150});
  ASSERT_EQ(records()->size(), 2u);
  ASSERT_EQ(frameOf(record(0)), (Rect{40, 50, 60, 40}));
  ASSERT_EQ(frameOf(record(1)), (Rect{200, 120, 50, 30}));
  ASSERT_EQ(window->editor().currentTool(), kCMToolSelect);

  // The band starts on empty page above and left of both.
  canvas_testing::RealPointer hand = pointer();
  hand.press({20, 20});
  hand.moveTo({150, 100});
  hand.moveTo({300, 200});
  EXPECT_TRUE(window->editor().showSelRect());
  hand.release({300, 200});
  settle();
  EXPECT_FALSE(window->editor().showSelRect());
  ASSERT_EQ(window->editor().allSelectedLayers().size(), 2u);

  // Shift keeps the other member selected while the press makes this one the current shape.
  const std::size_t undoSteps = document->undoManager().undoCount();
  hand.press({60, 60}, GDK_SHIFT_MASK);
  hand.moveTo({80, 72}, GDK_SHIFT_MASK);
  hand.moveTo({100, 85}, GDK_SHIFT_MASK);
  hand.release({100, 85}, GDK_SHIFT_MASK);
  settle();
  EXPECT_EQ(frameOf(record(0)), (Rect{80, 75, 60, 40}));
  EXPECT_EQ(frameOf(record(1)), (Rect{240, 145, 50, 30}));
  ASSERT_EQ(document->undoManager().undoCount(), undoSteps + 1);

  undoFromEditMenu();
  ASSERT_EQ(records()->size(), 2u);
  EXPECT_EQ(frameOf(record(0)), (Rect{40, 50, 60, 40}));
  EXPECT_EQ(frameOf(record(1)), (Rect{200, 120, 50, 30}));
}

TEST_F(EditingEndToEnd, MarksOfAShapeAtThePageEdgeShowAndWorkInTheMargin) {
  // 60 × 20 at the top edge: its rotation circle (10 units past the half-diagonal) reaches 29.6 units above the page.
  clickPaletteButton(kCMToolRectangle);
  dragOnCanvas({30, 2}, {90, 22});
  ASSERT_EQ(records()->size(), 1u);
  const Point topHandle{60, 12 - (std::hypot(30.0, 10.0) + 10)};
  CMFrameEditorView& frame = window->workView();
  const Point inFrame = window->editor().convertPointToView({topHandle.x, topHandle.y + 1}, &frame);
  ASSERT_LT(inFrame.y, window->editor().frame().origin.y);  // in the margin above the page

  // The handle is drawn there, over the frame view.
  settle();
  const auto pixels = platform::test::renderWidget(frame.widget());
  int handlePixels = 0;
  for (int dy = -5; dy <= 5; ++dy) {
    for (int dx = -5; dx <= 5; ++dx) {
      const auto pixel = platform::test::pixelAt(pixels.get(), static_cast<int>(inFrame.x) + dx,
                                                 static_cast<int>(inFrame.y) + dy);
      if (pixel.blue > pixel.red + 60) ++handlePixels;
    }
  }
  EXPECT_GT(handlePixels, 10);

  // Once the shape is chosen by a click, a drag from the handle turns it, one undo step.
  canvas_testing::RealPointer hand = pointer();
  hand.press({60, 12});
  hand.release({60, 12});
  settle();
  ASSERT_NE(window->editor().selectedLayer(), nullptr);
  const std::size_t undoSteps = document->undoManager().undoCount();
  dragOnCanvas(topHandle, {120, -10});
  EXPECT_NE(record(0)->get("rotate").doubleValue(), 0);
  EXPECT_EQ(document->undoManager().undoCount(), undoSteps + 1);
  EXPECT_EQ(records()->size(), 1u);
}

}  // namespace
}  // namespace ui_testing
