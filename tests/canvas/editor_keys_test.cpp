#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "platform/ui/key_translation.h"
#include "spy_canvas.h"
#include "ui_test_harness.h"

namespace {

using canvas_testing::filledRectangle;
using platform::DictRef;
using platform::EventType;

platform::Event key(char32_t character, std::uint16_t keyCode) {
  return platform::test::keyEvent(EventType::KeyDown, platform::utf8FromCodePoint(character), keyCode);
}

// The live record with that id in the document's top-level list, or null.
DictRef recordWithId(const CMDocument& document, std::int64_t id) {
  for (const platform::Value& entry : *document.data()->array("layers"))
    if (entry.dictionary()->get("id").integerValue() == id) return entry.dictionary();
  return nullptr;
}

class EditorKeysTest : public canvas_testing::CanvasTest {
 protected:
  EditorKeysTest() {
    document_ = canvas_testing::plainDocument({filledRectangle(1, {10, 20, 30, 30}, 255, 0, 0),
                                               filledRectangle(2, {100, 20, 30, 30}, 0, 255, 0),
                                               filledRectangle(3, {200, 20, 30, 30}, 0, 0, 255)});
    canvas_->setDocument(document_);
  }
  std::shared_ptr<CMLayer> layer(std::size_t index) const { return canvas_->layers().at(index); }
  void makeCurrent(std::size_t index) {
    layer(index)->setSelected(true);
    canvas_->setSelectedLayer(layer(index));
    canvas_->setSelectedLayerDict(layer(index)->data());
  }
  double x(std::int64_t id) const { return recordWithId(*document_, id)->get("x").doubleValue(); }
  double y(std::int64_t id) const { return recordWithId(*document_, id)->get("y").doubleValue(); }

  std::shared_ptr<CMDocument> document_;
  std::shared_ptr<canvas_testing::SpyCanvas> canvas_ = std::make_shared<canvas_testing::SpyCanvas>();
};

TEST_F(EditorKeysTest, ArrowsNudgeTheCurrentLayerByOneUnitWithOneUndoStepEach) {
  makeCurrent(0);
  EXPECT_TRUE(canvas_->customKeyDown(key(platform::function_key::DownArrow, 125)));
  EXPECT_TRUE(canvas_->customKeyDown(key(platform::function_key::RightArrow, 124)));
  EXPECT_TRUE(canvas_->customKeyDown(key(platform::function_key::RightArrow, 124)));
  EXPECT_EQ(x(1), 12);
  EXPECT_EQ(y(1), 21);
  EXPECT_EQ(document_->undoManager().undoCount(), 3u);
  EXPECT_TRUE(document_->dirty());

  document_->undo();
  EXPECT_EQ(x(1), 11);
  document_->undo();
  document_->undo();
  EXPECT_EQ(x(1), 10);
  EXPECT_EQ(y(1), 20);
  EXPECT_EQ(x(2), 100);  // the others never moved
}

TEST_F(EditorKeysTest, KeypadDigitsAndFunctionKeyCharactersNudgeToo) {
  makeCurrent(1);
  // Keypad 8 and 4 by their key codes, up and left by their characters alone.
  EXPECT_TRUE(canvas_->customKeyDown(key(U'8', 91)));
  EXPECT_TRUE(canvas_->customKeyDown(key(U'4', 86)));
  EXPECT_TRUE(canvas_->customKeyDown(key(platform::function_key::UpArrow, platform::UnknownKeyCode)));
  EXPECT_TRUE(canvas_->customKeyDown(key(platform::function_key::LeftArrow, platform::UnknownKeyCode)));
  EXPECT_TRUE(canvas_->customKeyDown(key(U'2', 84)));
  EXPECT_TRUE(canvas_->customKeyDown(key(U'6', 88)));
  EXPECT_EQ(x(2), 99);
  EXPECT_EQ(y(2), 19);
  EXPECT_EQ(document_->undoManager().undoCount(), 6u);
}

TEST_F(EditorKeysTest, ArrowsWithoutACurrentLayerAreTakenButMoveNothing) {
  EXPECT_TRUE(canvas_->customKeyDown(key(platform::function_key::DownArrow, 125)));
  EXPECT_EQ(document_->undoManager().undoCount(), 0u);
  EXPECT_FALSE(canvas_->customKeyDown(key(U'a', 0)));
}

TEST_F(EditorKeysTest, DeleteRemovesTheCurrentLayerAndTheGroupSelectedOnes) {
  makeCurrent(0);
  layer(2)->setSelectedAsPartOfGroup(true);
  EXPECT_TRUE(canvas_->customKeyDown(key(0x7F, 51)));  // Backspace
  EXPECT_EQ(recordWithId(*document_, 1), nullptr);
  EXPECT_EQ(recordWithId(*document_, 3), nullptr);
  EXPECT_NE(recordWithId(*document_, 2), nullptr);
  EXPECT_EQ(canvas_->selectedLayer(), nullptr);
  EXPECT_EQ(canvas_->selectedLayerDict(), nullptr);
  ASSERT_EQ(controller().selections.size(), 1u);
  EXPECT_EQ(controller().selections[0].record, nullptr);
  EXPECT_EQ(canvas_->calls, (std::vector<std::string>{"hideSel"}));
  document_->undo();
  EXPECT_NE(recordWithId(*document_, 1), nullptr);
  EXPECT_NE(recordWithId(*document_, 3), nullptr);
}

TEST_F(EditorKeysTest, DeleteWithOnlyAPanelSelectionDeletesGroupSelectedLayersYetPassesTheKeyOn) {
  canvas_->setSelectedLayerDict(layer(1)->data());
  layer(1)->setSelectedAsPartOfGroup(true);
  EXPECT_FALSE(canvas_->customKeyDown(key(platform::function_key::Delete, 117)));
  EXPECT_EQ(recordWithId(*document_, 2), nullptr);
  EXPECT_NE(recordWithId(*document_, 1), nullptr);
  EXPECT_EQ(controller().propertyUpdates, 1);
  EXPECT_TRUE(controller().selections.empty());
}

TEST_F(EditorKeysTest, OnlyASingleDeleteCharacterDeletes) {
  makeCurrent(0);
  for (const char* text : {"\x7F\x7F", "\xFF", "\x7F" "a", ""})
    EXPECT_FALSE(canvas_->customKeyDown(platform::test::keyEvent(EventType::KeyDown, text, 0))) << text;
  EXPECT_EQ(document_->data()->array("layers")->size(), 3u);
}

TEST_F(EditorKeysTest, DeleteWithNothingSelectedDoesNothing) {
  EXPECT_FALSE(canvas_->customKeyDown(key(0x7F, 51)));
  EXPECT_EQ(document_->data()->array("layers")->size(), 3u);
  EXPECT_EQ(document_->undoManager().undoCount(), 0u);
}

}  // namespace
