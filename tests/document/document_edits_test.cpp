// Removing, deleting, the copy buffer, duplicating, locking and hiding.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/CMBaseDocument.h"
#include "document_test_support.h"

namespace {

using document_testing::group;
using document_testing::idsOf;
using document_testing::layer;
using document_testing::ObservedModel;
using document_testing::rootWith;
using document_testing::TreeAudit;
using platform::ArrayRef;
using platform::DictRef;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Ids = std::vector<std::int64_t>;

class DocumentEditsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inner_ = group(30, {layer(31), layer(32)}, 3);
    outer_ = group(20, {layer(21), inner_}, 2);
    document_.setData(rootWith({layer(1, 1), outer_, layer(2, 4)}));
    document_.findMaxID();
    model_.clear();
  }

  ArrayRef root() const { return document_.data()->array("layers"); }
  DictRef live(std::int32_t id) const { return document_.undoManager().findLayer(id, root(), nullptr, nullptr); }
  void expectSoundTree() const {
    TreeAudit audit(document_.data());
    EXPECT_THAT(audit.duplicateIds(), IsEmpty());
    EXPECT_TRUE(audit.everyRecordOnce());
  }
  DictRef lastUndo() const { return document_.undoManager().undoStack().back(); }

  document_testing::ScratchFolders folders_;
  ObservedModel model_;
  CMBaseDocument document_;
  DictRef inner_, outer_;
};

TEST_F(DocumentEditsTest, RemoveRegistersFirstThenTakesLayersOutOfAnyList) {
  DictRef deep = live(32);
  DictRef top = live(2);
  document_.remove({deep, top});
  EXPECT_EQ(idsOf(root()), (Ids{1, 20}));
  EXPECT_EQ(idsOf(inner_->array("items")), (Ids{31}));
  // The given records carry where they were.
  EXPECT_EQ(deep->get("position").integerValue(), 1);
  EXPECT_EQ(deep->get("group_id").integerValue(), 30);
  EXPECT_EQ(top->get("position").integerValue(), 2);
  EXPECT_EQ(lastUndo()->get("type").integerValue(), 2);
  EXPECT_EQ(lastUndo()->dictionary("data")->array("items")->size(), 2u);
  EXPECT_TRUE(document_.dirty());
  EXPECT_EQ(model_.window().editorUpdates, 0);
  EXPECT_THAT(model_.posted, IsEmpty());
}

TEST_F(DocumentEditsTest, RemovingAGroupWithItsMemberRegistersOnlyTheGroup) {
  document_.remove({live(31), outer_, live(31), layer(99)});
  EXPECT_EQ(idsOf(root()), (Ids{1, 2}));
  ArrayRef items = lastUndo()->dictionary("data")->array("items");
  ASSERT_EQ(items->size(), 1u) << "the member goes with its group; repeats and strangers are not registered";
  EXPECT_EQ(items->at(0).dictionary()->get("id").integerValue(), 20);
}

TEST_F(DocumentEditsTest, RemoveByIdReachesIntoGroupsAndIgnoresStrangers) {
  CMBaseDocument::remove(root(), 31);
  EXPECT_EQ(idsOf(inner_->array("items")), (Ids{32}));
  CMBaseDocument::remove(root(), 99);
  CMBaseDocument::remove(nullptr, 1);
  EXPECT_EQ(idsOf(root()), (Ids{1, 20, 2}));
}

TEST_F(DocumentEditsTest, DeleteRemovesCopiesRefreshesAndAnnounces) {
  DictRef given = live(21);
  document_.deleteLayers({given});
  EXPECT_EQ(idsOf(outer_->array("items")), (Ids{30}));
  EXPECT_FALSE(given->contains("group_id")) << "copies were annotated, not the caller's records";
  EXPECT_EQ(model_.window().editorUpdates, 1);
  EXPECT_THAT(model_.posted, ElementsAre("notificationLayersChanged", "notificationLayerRemoved"));
}

TEST_F(DocumentEditsTest, CopyAndPasteAddFreshLayersOnTopAtTheSamePlace) {
  DictRef original = live(21);
  original->set("x", 15.5);
  EXPECT_FALSE(document_.canPaste());
  document_.copy({original, live(1)});
  EXPECT_TRUE(document_.canPaste());
  EXPECT_EQ(document_.undoManager().undoCount(), 0u);
  document_.paste();
  ASSERT_EQ(root()->size(), 5u);
  DictRef first = root()->at(3).dictionary();
  DictRef second = root()->at(4).dictionary();
  EXPECT_EQ(first->get("id").integerValue(), 33) << "above every id in the tree";
  EXPECT_EQ(second->get("id").integerValue(), 34);
  EXPECT_EQ(first->get("position").integerValue(), 5);
  EXPECT_EQ(second->get("position").integerValue(), 6);
  EXPECT_EQ(first->get("x").doubleValue(), 15.5);
  EXPECT_NE(first, document_.copyBuffer()->at(0).dictionary());
  EXPECT_EQ(lastUndo()->get("type").integerValue(), 3);
  EXPECT_EQ(lastUndo()->dictionary("data")->array("items")->size(), 2u);
  EXPECT_EQ(model_.window().editorUpdates, 1);
  EXPECT_THAT(model_.posted, ElementsAre("notificationLayersChanged"));
  document_.paste();
  EXPECT_EQ(root()->size(), 7u);
  expectSoundTree();
}

TEST_F(DocumentEditsTest, PastedAndDuplicatedGroupsGetFreshIdsThroughout) {
  document_.copy({outer_});
  document_.paste();
  document_.paste();
  document_.duplicate({inner_, outer_});
  expectSoundTree();
  TreeAudit audit(document_.data());
  // 7 layers, two pastes of the 5-layer group, the inner group's copy (3) lands
  // inside the outer group, whose copy then holds 8.
  EXPECT_EQ(audit.layerCount(), 7u + 2 * 5u + 3u + 8u);
  // The pasted group's members are its own, not the original's.
  DictRef pasted = root()->at(3).dictionary();
  EXPECT_NE(pasted->array("items")->at(1).dictionary(), inner_);
  EXPECT_EQ(live(31), inner_->array("items")->at(0).dictionary()) << "lookups still find the original";
}

TEST_F(DocumentEditsTest, PasteOfAnEmptyCopyRegistersAnEmptyAddition) {
  document_.paste();
  EXPECT_EQ(document_.undoManager().undoCount(), 0u) << "no buffer yet";
  document_.copy({});
  EXPECT_TRUE(document_.canPaste());
  document_.paste();
  ASSERT_EQ(document_.undoManager().undoCount(), 1u);
  EXPECT_TRUE(lastUndo()->dictionary("data")->array("items")->empty());
  EXPECT_EQ(root()->size(), 3u);
}

TEST_F(DocumentEditsTest, CutThenPasteBringsTheLayersBackWithNewIds) {
  document_.cut({live(31), live(2)});
  EXPECT_EQ(idsOf(root()), (Ids{1, 20}));
  EXPECT_EQ(idsOf(inner_->array("items")), (Ids{32}));
  // The removal annotated the buffer's records.
  EXPECT_EQ(document_.copyBuffer()->at(0).dictionary()->get("group_id").integerValue(), 30);
  EXPECT_EQ(document_.copyBuffer()->at(1).dictionary()->get("position").integerValue(), 2);
  EXPECT_EQ(model_.window().editorUpdates, 1);
  EXPECT_THAT(model_.posted, ElementsAre("notificationLayersChanged"));
  document_.paste();
  EXPECT_EQ(idsOf(root()), (Ids{1, 20, 33, 34}));
  expectSoundTree();
}

TEST_F(DocumentEditsTest, DuplicateAppendsToTheHoldingList) {
  document_.duplicate({live(31), live(1), layer(99)});
  EXPECT_EQ(idsOf(inner_->array("items")), (Ids{31, 32, 33}));
  EXPECT_EQ(idsOf(root()), (Ids{1, 20, 2, 34}));
  EXPECT_EQ(inner_->array("items")->at(2).dictionary()->get("position").integerValue(), 5);
  ArrayRef registered = lastUndo()->dictionary("data")->array("items");
  ASSERT_EQ(registered->size(), 2u);
  EXPECT_EQ(registered->at(0).dictionary()->get("id").integerValue(), 33);
  EXPECT_EQ(model_.window().editorUpdates, 1);
  EXPECT_THAT(model_.posted, ElementsAre("notificationLayersChanged"));
  expectSoundTree();
}

TEST_F(DocumentEditsTest, LockAndUnlockSetIntegersAndMarkEditedWithoutUndo) {
  document_.lock({live(1), live(31)});
  EXPECT_TRUE(live(1)->get("lock").isInteger());
  EXPECT_EQ(live(31)->get("lock").integerValue(), 1);
  EXPECT_TRUE(document_.dirty());
  document_.setDirty(false);
  document_.unlock({live(31), nullptr});
  EXPECT_EQ(live(31)->get("lock").integerValue(), 0);
  EXPECT_TRUE(document_.dirty());
  document_.setDirty(false);
  document_.lock({});
  EXPECT_TRUE(document_.dirty());
  EXPECT_EQ(document_.undoManager().undoCount(), 0u);
}

TEST_F(DocumentEditsTest, ToggleHiddenFlipsVisibilityWithAnUndoRecordEachTime) {
  DictRef target = live(21);
  document_.toggleHiddenLayer(target);
  EXPECT_FALSE(target->get("visible").boolValue());
  EXPECT_TRUE(target->get("visible").isBool());
  document_.toggleHiddenLayer(target);
  EXPECT_TRUE(target->get("visible").boolValue());
  ASSERT_EQ(document_.undoManager().undoCount(), 2u);
  EXPECT_EQ(lastUndo()->get("type").integerValue(), 6);
  EXPECT_EQ(lastUndo()->dictionary("obj"), target);
  EXPECT_FALSE(lastUndo()->array("values")->at(0).boolValue()) << "the value before the second toggle";
  EXPECT_EQ(model_.window().editorUpdates, 2);
  EXPECT_THAT(model_.posted, IsEmpty());
}

TEST_F(DocumentEditsTest, ToggleHiddenWithoutAVisibleKeyShowsTheLayerAndUndoTakesTheKeyAway) {
  DictRef bare = live(1);
  bare->remove("visible");
  document_.toggleHiddenLayer(bare);
  EXPECT_TRUE(bare->get("visible").boolValue());
  ASSERT_EQ(document_.undoManager().undoCount(), 1u);
  document_.undo();
  EXPECT_FALSE(bare->contains("visible"));
}

}  // namespace
