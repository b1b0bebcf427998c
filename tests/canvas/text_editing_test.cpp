#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas_test_support.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/core/main_queue.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace {

using canvas_testing::colourRecord;
using canvas_testing::documentWith;
using platform::Point;
using platform::Rect;

// The main window's content view: takes keys, holds the canvas at (50, 40).
class MainView : public platform::View {
 public:
  using platform::View::View;
  bool acceptsFirstResponder() const override { return true; }
};

// Real GDK presses and keys on a shown window: they pass the event monitors as the user's would.
class TextEditingTest : public canvas_testing::CanvasTest {
 protected:
  TextEditingTest() {
    mainView_->addSubview(canvas_);
    window_.setContentView(mainView_);
    controller().mainViewToFocus = mainView_.get();
    CMProject::shareProject().setEditMode(0);
  }

  void show(std::shared_ptr<CMDocument> document, float zoom) {
    document_ = std::move(document);
    canvas_->setDocument(document_);
    canvas_->setZoom(zoom);
    ASSERT_TRUE(platform::test::showAndSettle(window_));
  }

  // A press and release at a point of the (flipped) canvas, through GDK.
  void clickCanvas(Point point) {
    platform::test::injectButton(canvas_->widget(), GDK_BUTTON_PRESS, 1, point.x, point.y);
    platform::test::injectButton(canvas_->widget(), GDK_BUTTON_RELEASE, 1, point.x, point.y);
    settle();
  }
  void type(unsigned keyval, unsigned state = 0) {
    platform::test::injectKey(canvas_->widget(), GDK_KEY_PRESS, keyval, state);
    platform::test::injectKey(canvas_->widget(), GDK_KEY_RELEASE, keyval, state);
  }
  void replaceTextBy(const std::string& letters) {
    type(GDK_KEY_a, GDK_CONTROL_MASK);
    if (letters.empty()) type(GDK_KEY_BackSpace);
    for (const char c : letters) type(static_cast<unsigned>(c));
    settle();
  }
  static void settle() {
    platform::test::processPendingEvents();
    platform::drainMainQueue();
    platform::test::processPendingEvents();
  }

  platform::ArrayRef records() const { return document_->data()->array("layers"); }
  std::shared_ptr<CMLayer> onlyLayer() const {
    return canvas_->layers().size() == 1 ? canvas_->layers().front() : nullptr;
  }
  // A text layer record "Old" at (40, 30) in document units.
  static platform::DictRef oldTextAt40By30() {
    platform::DictRef record = CMProject::defaultObject("text");
    if (!record) return nullptr;
    record->set("id", 7);
    record->set("x", 40);
    record->set("y", 30);
    record->set("text", "Old");
    return record;
  }
  bool editorShown() const { return canvas_->textEditor() && !canvas_->textEditor()->isHidden(); }

  platform::Window window_{{800, 600}};
  std::shared_ptr<MainView> mainView_ = std::make_shared<MainView>(Rect{0, 0, 800, 600});
  std::shared_ptr<CMEditorView> canvas_ = std::make_shared<CMEditorView>(Rect{50, 40, 400, 300});
  std::shared_ptr<CMDocument> document_;
};

TEST_F(TextEditingTest, ATextToolClickMakesALayerAtTheClickAndShowsTheEditorOverIt) {
  show(documentWith(200, 150, 2.0f, colourRecord(255, 255, 255, 255)), 2.0f);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({120, 90});

  ASSERT_EQ(records()->size(), 1u);
  const platform::DictRef record = records()->at(0).dictionary();
  EXPECT_EQ(record->get("type").intValue(), 2);
  // At 200 % the click lands at half its canvas coordinates in document units.
  EXPECT_FLOAT_EQ(record->get("x").floatValue(), 60.0f);
  EXPECT_FLOAT_EQ(record->get("y").floatValue(), 45.0f);
  const auto layer = onlyLayer();
  ASSERT_TRUE(layer);
  EXPECT_TRUE(layer->hidden()) << "only the editor shows the text while it is edited";
  ASSERT_TRUE(editorShown());
  // The editor starts at the click, on screen, and shows the record's text.
  EXPECT_EQ(canvas_->textEditor()->frame().origin, (Point{120, 90}));
  EXPECT_GT(canvas_->textEditor()->frame().size.width, 50.0);
  EXPECT_EQ(canvas_->textEditor()->string(), record->get("text").string());
  EXPECT_EQ(CMProject::shareProject().editMode(), 2);
  EXPECT_EQ(canvas_->currentTool(), kCMToolText) << "the tool stays while the text is edited";
  EXPECT_TRUE(canvas_->isEditingText());
}

TEST_F(TextEditingTest, ARebuildWhileEditingKeepsTheEditedTextHidden) {
  show(documentWith(200, 150, 1.0f, colourRecord(255, 255, 255, 255)), 1.0f);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({40, 30});
  const auto before = onlyLayer();
  ASSERT_TRUE(before);
  canvas_->update();
  const auto after = onlyLayer();
  ASSERT_TRUE(after);
  EXPECT_NE(after, before) << "the rebuild makes new layer objects";
  EXPECT_TRUE(after->hidden()) << "the text would show under the editor";
}

TEST_F(TextEditingTest, InVectorViewModeTheLayerAndTheEditorLandAtTheClickToo) {
  show(documentWith(200, 150, 2.0f, colourRecord(255, 255, 255, 255)), 2.0f);
  canvas_->setViewMode(true);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({120, 90});
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_FLOAT_EQ(records()->at(0).dictionary()->get("x").floatValue(), 60.0f);
  EXPECT_FLOAT_EQ(records()->at(0).dictionary()->get("y").floatValue(), 45.0f);
  ASSERT_TRUE(editorShown());
  EXPECT_EQ(canvas_->textEditor()->frame().origin, (Point{120, 90}));
  // The layer measures in canvas units here: the editor covers it with 50 document units to spare.
  ASSERT_TRUE(onlyLayer());
  EXPECT_DOUBLE_EQ(canvas_->textEditor()->frame().size.width, onlyLayer()->layerRect().size.width + 100);
}

TEST_F(TextEditingTest, TypingWritesTheTextAtOnceAndAnOutsideClickEndsWithoutReachingTheCanvas) {
  show(canvas_testing::plainDocument(), 1.0f);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({30, 40});
  ASSERT_TRUE(editorShown());
  const platform::DictRef record = records()->at(0).dictionary();

  const Rect startFrame = canvas_->textEditor()->frame();
  replaceTextBy("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  // The editor grows in place whenever the text outgrows it, by the text's width and 50 more: the text always
  // fits, with less than 50 units to spare.
  const Rect grownFrame = canvas_->textEditor()->frame();
  const double textWidth = onlyLayer()->layerRect().size.width;
  EXPECT_EQ(grownFrame.origin, startFrame.origin);
  EXPECT_GT(grownFrame.size.width, startFrame.size.width);
  EXPECT_GE(grownFrame.size.width, textWidth);
  EXPECT_LE(grownFrame.size.width, textWidth + 50);

  replaceTextBy("Hi");
  EXPECT_EQ(canvas_->textEditor()->string(), "Hi");
  EXPECT_EQ(record->get("text").string(), "Hi") << "the record follows each keystroke";
  EXPECT_TRUE(canvas_->isEditingText());

  controller().toolsSelected.clear();
  document_->setDirty(false);
  clickCanvas({300, 250});
  EXPECT_FALSE(canvas_->isEditingText());
  EXPECT_FALSE(editorShown());
  // Delivered with the text tool, the press would have made a second text layer.
  EXPECT_EQ(records()->size(), 1u);
  EXPECT_EQ(record->get("text").string(), "Hi");
  EXPECT_TRUE(document_->dirty());
  ASSERT_TRUE(onlyLayer());
  EXPECT_FALSE(onlyLayer()->hidden());
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  EXPECT_EQ(controller().toolsSelected, std::vector<int>{kCMToolSelect});
}

TEST_F(TextEditingTest, TypingIntoANewTextReplacesItsPlaceholder) {
  show(canvas_testing::plainDocument(), 1.0f);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({30, 40});
  ASSERT_TRUE(editorShown());
  ASSERT_FALSE(canvas_->textEditor()->string().empty()) << "a new text starts with a placeholder";
  for (const char c : std::string("Front pocket")) type(static_cast<unsigned>(c));
  settle();
  EXPECT_EQ(canvas_->textEditor()->string(), "Front pocket");
  EXPECT_EQ(records()->at(0).dictionary()->get("text").string(), "Front pocket");
}

TEST_F(TextEditingTest, APressInsideTheEditorReachesItAndKeepsEditing) {
  show(canvas_testing::plainDocument(), 1.0f);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({30, 40});
  ASSERT_TRUE(editorShown());
  int pressesSeen = 0;
  canvas_->textEditor()->gtkTextView().signal_button_press_event().connect(
      [&](GdkEventButton*) {
        ++pressesSeen;
        return false;
      },
      false);

  platform::test::injectButton(canvas_->textEditor()->gtkTextView(), GDK_BUTTON_PRESS, 1, 5, 5);
  platform::test::injectButton(canvas_->textEditor()->gtkTextView(), GDK_BUTTON_RELEASE, 1, 5, 5);
  settle();
  EXPECT_EQ(pressesSeen, 1);
  EXPECT_TRUE(canvas_->isEditingText());
  EXPECT_TRUE(editorShown());
  EXPECT_EQ(records()->size(), 1u);
  EXPECT_EQ(CMProject::shareProject().editMode(), 2);
}

TEST_F(TextEditingTest, EmptiedTextLeavesAnEmptyLayerAndOneUndoRemovesIt) {
  show(canvas_testing::plainDocument(), 1.0f);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({30, 40});
  const platform::DictRef record = records()->at(0).dictionary();
  replaceTextBy("");
  EXPECT_EQ(record->get("text").string(), "");
  document_->setDirty(false);
  clickCanvas({300, 250});

  EXPECT_FALSE(canvas_->isEditingText());
  ASSERT_EQ(records()->size(), 1u);
  EXPECT_EQ(records()->at(0).dictionary()->get("text").string(), "");
  EXPECT_FALSE(document_->dirty()) << "an empty text leaves the flag as it was";
  // The edit registers nothing: the one step undone is the layer's creation.
  document_->undo();
  EXPECT_TRUE(records()->empty());
  EXPECT_FALSE(document_->undoManager().canUndo());
}

TEST_F(TextEditingTest, ATextToolClickOnExistingTextMakesASecondLayer) {
  const platform::DictRef existing = oldTextAt40By30();
  ASSERT_TRUE(existing);
  show(documentWith(400, 300, 1.0f, colourRecord(255, 255, 255, 255), {existing}), 1.0f);
  canvas_->selectTool(kCMToolText, nullptr);
  clickCanvas({45, 35});

  ASSERT_EQ(records()->size(), 2u);
  const platform::DictRef created = records()->at(1).dictionary();
  EXPECT_FLOAT_EQ(created->get("x").floatValue(), 45.0f);
  EXPECT_FLOAT_EQ(created->get("y").floatValue(), 35.0f);
  ASSERT_TRUE(editorShown());
  EXPECT_EQ(canvas_->textEditor()->string(), created->get("text").string());
  EXPECT_FALSE(canvas_->layers().front()->hidden()) << "the existing layer is not the one edited";
  EXPECT_EQ(existing->get("text").string(), "Old");
}

TEST_F(TextEditingTest, ADoubleClickUnderThePathToolEditsTheExistingLayerAndEndsInTheSelectTool) {
  const platform::DictRef existing = oldTextAt40By30();
  ASSERT_TRUE(existing);
  show(documentWith(400, 300, 1.0f, colourRecord(255, 255, 255, 255), {existing}), 1.0f);
  canvas_->selectTool(kCMToolPathPoints, nullptr);
  CMProject::shareProject().setEditMode(1);

  // Two presses in quick succession on the layer: the second is the double click.
  clickCanvas({45, 35});
  EXPECT_FALSE(canvas_->isEditingText()) << "a single click only selects";
  clickCanvas({45, 35});
  ASSERT_TRUE(editorShown());
  EXPECT_EQ(canvas_->textEditor()->string(), "Old");
  EXPECT_EQ(canvas_->textEditor()->frame().origin, (Point{40, 30}));
  EXPECT_EQ(CMProject::shareProject().editMode(), 2);
  EXPECT_EQ(canvas_->currentTool(), kCMToolPathPoints);

  replaceTextBy("New");
  controller().toolsSelected.clear();
  clickCanvas({350, 280});
  EXPECT_EQ(existing->get("text").string(), "New");
  EXPECT_EQ(records()->size(), 1u) << "no new layer";
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  EXPECT_EQ(controller().toolsSelected, std::vector<int>{kCMToolSelect});
  EXPECT_EQ(CMProject::shareProject().editMode(), 1) << "restored; the main window's tool selection then sets 0";
  ASSERT_TRUE(onlyLayer());
  EXPECT_FALSE(onlyLayer()->hidden());
}

}  // namespace
