// The Edit menu: undo and redo carry the undo manager's captions and are
// enabled only with something to undo or redo, also when reached through their
// accelerators; the clipboard commands act on the canvas's selection and do
// nothing when their condition does not hold.

#include "main_window_fixture.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using platform::EventType;
namespace modifier = platform::modifier;

class EditMenu : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    document = newDrawing();
  }

  platform::DictRef addRectangle(platform::Point at) {
    platform::DictRef record = document->addObject("rect", at);
    // Adding refreshes nothing by itself; the tool that adds asks for the refresh.
    window->updateEditor();
    settle();
    return record;
  }

  void selectOnCanvas(const platform::DictRef& record) {
    for (const auto& layer : window->editor().layers()) {
      if (layer->data() == record) layer->setSelected(true);
    }
  }

  std::size_t layerCount() const { return document->data()->get("layers").array()->size(); }

  // Ctrl (+ Shift) + key, as the window receives it.
  void pressAccelerator(const char* key, platform::ModifierFlags flags = modifier::Control) {
    window->window().sendEvent(platform::test::keyEvent(EventType::KeyDown, key, 0, flags));
  }

  std::shared_ptr<CMDocument> document;
};

TEST_F(EditMenu, UndoAndRedoTitlesFollowTheUndoManager) {
  platform::MenuItem* undo = item("Edit", "Undo");
  platform::MenuItem* redo = item("Edit", "Redo");
  ASSERT_NE(undo, nullptr);
  ASSERT_NE(redo, nullptr);
  EXPECT_FALSE(undo->validate());
  EXPECT_EQ(undo->title(), "Undo");
  EXPECT_FALSE(redo->validate());
  EXPECT_EQ(redo->title(), "Redo");

  addRectangle({10, 10});
  EXPECT_TRUE(undo->validate());
  EXPECT_EQ(undo->title(), "Undo - Adding");
  EXPECT_FALSE(redo->validate());

  undo->perform();
  settle();
  EXPECT_EQ(layerCount(), 0u);
  EXPECT_FALSE(undo->validate());
  EXPECT_EQ(undo->title(), "Undo");
  EXPECT_TRUE(redo->validate());
  EXPECT_EQ(redo->title(), "Redo - Adding");
}

TEST_F(EditMenu, AcceleratorsUndoOnlyWhatThereIsToUndo) {
  addRectangle({10, 10});
  addRectangle({40, 40});
  ASSERT_EQ(layerCount(), 2u);
  pressAccelerator("z");
  EXPECT_EQ(layerCount(), 1u);
  pressAccelerator("z");
  pressAccelerator("z");  // nothing left: the stacks stay as they are
  EXPECT_EQ(layerCount(), 0u);
  EXPECT_EQ(document->undoManager().redoCount(), 2u);
  pressAccelerator("z", modifier::Control | modifier::Shift);
  EXPECT_EQ(layerCount(), 1u);
  EXPECT_EQ(document->undoManager().redoCount(), 1u);
}

TEST_F(EditMenu, CommandsWhoseConditionFailsDoNothing) {
  addRectangle({10, 10});
  // Nothing selected: cut, delete and duplicate leave the document alone, also when called directly.
  EXPECT_FALSE(item("Edit", "Cut")->validate());
  EXPECT_FALSE(item("Edit", "Delete")->validate());
  EXPECT_FALSE(item("Edit", "Duplicate")->validate());
  EXPECT_FALSE(item("Edit", "Paste")->validate());
  window->cut();
  window->deleteSelection();
  window->duplicate();
  window->paste();
  EXPECT_EQ(layerCount(), 1u);
  EXPECT_FALSE(document->canPaste());
  pressAccelerator("x");
  EXPECT_EQ(layerCount(), 1u);
  EXPECT_FALSE(document->canPaste());
}

TEST_F(EditMenu, CutPasteDuplicateAndDeleteActOnTheSelection) {
  platform::DictRef kept = addRectangle({10, 10});
  platform::DictRef chosen = addRectangle({100, 60});
  selectOnCanvas(chosen);
  EXPECT_TRUE(item("Edit", "Cut")->validate());
  const auto chosenId = chosen->get("id").integerValue();

  item("Edit", "Cut")->perform();
  settle();
  ASSERT_EQ(layerCount(), 1u);
  EXPECT_EQ(document->data()->get("layers").array()->at(0).dictionary()->get("id").integerValue(),
            kept->get("id").integerValue());
  EXPECT_TRUE(item("Edit", "Paste")->validate());

  pressAccelerator("v");
  settle();
  ASSERT_EQ(layerCount(), 2u);
  const platform::DictRef pasted = document->data()->get("layers").array()->at(1).dictionary();
  EXPECT_NE(pasted->get("id").integerValue(), chosenId);
  EXPECT_DOUBLE_EQ(pasted->get("x").doubleValue(), 100);

  selectOnCanvas(pasted);
  item("Edit", "Duplicate")->perform();
  settle();
  EXPECT_EQ(layerCount(), 3u);

  item("Edit", "Select All")->perform();
  EXPECT_EQ(window->editor().allSelectedLayers().size(), 3u);
  item("Edit", "Delete")->perform();
  settle();
  EXPECT_EQ(layerCount(), 0u);
  EXPECT_FALSE(item("Edit", "Select All")->validate());
  EXPECT_FALSE(item("Edit", "Copy")->validate());
}

}  // namespace
}  // namespace ui_testing
