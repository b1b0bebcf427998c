// The undo records that registration builds, as replay will read them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../platform/core/captured_log.h"
#include "document/CMUndoManager.h"
#include "document_test_support.h"

namespace {

using document_testing::group;
using document_testing::layer;
using document_testing::rootWith;
using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;

class UndoRegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A root layer, a group holding a layer and a nested group holding another.
    inner_ = group(30, {deep_});
    outer_ = group(20, {member_, inner_});
    root_ = rootWith({top_, outer_, topAbove_});
    undo_.setDocumentDataRef(root_);
    undo_.setEditHandler([this] { ++edits_; });
  }

  DictRef last() const { return undo_.undoStack().back(); }

  DictRef top_ = layer(1);
  DictRef member_ = layer(21);
  DictRef deep_ = layer(31);
  DictRef topAbove_ = layer(2);
  DictRef inner_, outer_, root_;
  CMUndoManager undo_;
  int edits_ = 0;
};

TEST_F(UndoRegistrationTest, ParentGroupIsTheInnermostHolder) {
  EXPECT_EQ(undo_.findParentGroupID(1), -1);
  EXPECT_EQ(undo_.findParentGroupID(21), 20);
  EXPECT_EQ(undo_.findParentGroupID(31), 30);
  EXPECT_EQ(undo_.findParentGroupID(30), 20);
  EXPECT_EQ(undo_.findParentGroupID(99), -1);

  ArrayRef list;
  std::size_t index = 77;
  std::int32_t groupId = -1;
  EXPECT_EQ(undo_.findLayer(31, root_->array("layers"), &list, &index, &groupId), deep_);
  EXPECT_EQ(list, inner_->array("items"));
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(groupId, 30);
  // A miss leaves every out value alone.
  EXPECT_FALSE(undo_.findLayer(99, root_->array("layers"), &list, &index, &groupId));
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(groupId, 30);
  EXPECT_FALSE(undo_.findLayer(1, nullptr, nullptr, nullptr));
}

TEST_F(UndoRegistrationTest, SingleLayerRecordHoldsADeepCopyAndItsParent) {
  member_->set("points", Array::make({Dictionary::make({{"point", "{1, 2}"}})}));
  undo_.regUndoDictionary(kCMUndoEditing, member_);
  DictRef record = last();
  EXPECT_EQ(record->get("type").integerValue(), 0);
  EXPECT_EQ(record->get("group_id").integerValue(), 20);
  DictRef data = record->dictionary("data");
  ASSERT_TRUE(data);
  EXPECT_NE(data, member_);
  // Later point edits of the live record do not reach the saved state.
  member_->array("points")->at(0).dictionary()->set("point", "{5, 5}");
  EXPECT_EQ(data->array("points")->at(0).dictionary()->get("point").string(), "{1, 2}");
  EXPECT_EQ(edits_, 1);
}

TEST_F(UndoRegistrationTest, KeyRecordsKeepOnlyPresentKeysInTheCallersOrder) {
  ArrayRef points = Array::make({Dictionary::make({{"point", "{0, 0}"}})});
  DictRef style = Dictionary::make({{"fill", Dictionary::make({{"use", true}})}});
  member_->set("shape", style);
  member_->set("points", points);
  undo_.regUndoDictionary(kCMUndoLayerKeys,
                          Dictionary::make({{"obj", member_}, {"keys", Array::make({"points", "absent", "shape"})}}));
  DictRef record = last();
  EXPECT_EQ(record->get("type").integerValue(), 5);
  EXPECT_EQ(record->dictionary("obj"), member_) << "the live record, not a copy";
  ASSERT_TRUE(record->array("keys") && record->array("values"));
  EXPECT_TRUE(record->array("keys")->isEqual(*Array::make({"points", "shape"})));
  ASSERT_EQ(record->array("values")->size(), 2u);
  // Arrays are copied deeply too, so the values are the state at registration.
  ArrayRef savedPoints = record->array("values")->at(0).array();
  EXPECT_NE(savedPoints, points);
  EXPECT_NE(savedPoints->at(0).dictionary(), points->at(0).dictionary());
  points->at(0).dictionary()->set("point", "{9, 9}");
  EXPECT_EQ(savedPoints->at(0).dictionary()->get("point").string(), "{0, 0}");
  EXPECT_NE(record->array("values")->at(1).dictionary(), style);
}

TEST_F(UndoRegistrationTest, KeyRecordKeepsKeysWithoutValueAndWithNoKeysRegistersNothing) {
  for (std::int32_t type : {kCMUndoLayerKeys, kCMUndoVisibility}) {
    undo_.regUndoDictionary(type, Dictionary::make({{"obj", member_}, {"keys", Array::make()}}));
  }
  EXPECT_EQ(undo_.undoCount(), 0u);
  EXPECT_EQ(edits_, 0);
  undo_.regUndoDictionary(kCMUndoLayerKeys,
                          Dictionary::make({{"obj", member_}, {"keys", Array::make({"nothing", "here"})}}));
  ASSERT_EQ(undo_.undoCount(), 1u);
  EXPECT_TRUE(last()->array("keys")->empty());
  EXPECT_TRUE(last()->array("absent")->isEqual(*Array::make({"nothing", "here"})));
}

TEST_F(UndoRegistrationTest, RootKeysAndLayerListsThroughTheArrayForm) {
  root_->set("background", Dictionary::make({{"bg_color", Dictionary::make({{"r", 255}})}}));
  undo_.regUndoArray(kCMUndoPageSize, Array::make({"width", "missing", "height"}));
  DictRef page = last();
  EXPECT_TRUE(page->array("keys")->isEqual(*Array::make({"width", "height"})));
  EXPECT_TRUE(page->array("values")->isEqual(*Array::make({800, 600})));
  EXPECT_FALSE(page->contains("obj"));

  undo_.regUndoArray(kCMUndoRootKeys, Array::make({"background"}));
  DictRef saved = last()->array("values")->at(0).dictionary();
  root_->dictionary("background")->dictionary("bg_color")->set("r", 0);
  EXPECT_EQ(saved->dictionary("bg_color")->get("r").integerValue(), 255);

  undo_.regUndoArray(kCMUndoAddingLayers, Array::make({top_, outer_}));
  DictRef added = last();
  EXPECT_EQ(added->get("type").integerValue(), 3);
  ArrayRef items = added->dictionary("data")->array("items");
  ASSERT_EQ(items->size(), 2u);
  EXPECT_NE(items->at(1).dictionary(), outer_);
  EXPECT_NE(items->at(1).dictionary()->array("items"), outer_->array("items"));
  EXPECT_TRUE(items->at(1).dictionary()->isEqual(*outer_));
  EXPECT_EQ(edits_, 3);
}

TEST_F(UndoRegistrationTest, LayerItemsCarryIndexAndParentOfEachRecord) {
  undo_.regUndoLayers(kCMUndoStacking, {topAbove_, deep_, layer(99)});
  DictRef record = last();
  EXPECT_EQ(record->get("type").integerValue(), 8);
  ArrayRef items = record->array("items");
  ASSERT_EQ(items->size(), 3u);
  auto item = [&](std::size_t i) { return items->at(i).dictionary(); };
  EXPECT_EQ(item(0)->get("index").integerValue(), 2);
  EXPECT_EQ(item(0)->get("group_id").integerValue(), -1);
  EXPECT_EQ(item(1)->get("index").integerValue(), 0);
  EXPECT_EQ(item(1)->get("group_id").integerValue(), 30);
  EXPECT_NE(item(1)->dictionary("data"), deep_);
  EXPECT_EQ(item(2)->get("index").integerValue(), 0) << "not in the tree";
  EXPECT_EQ(item(2)->get("group_id").integerValue(), -1);
}

TEST_F(UndoRegistrationTest, DeletionWritesPositionAndGroupIntoTheGivenRecords) {
  DictRef stranger = layer(99);
  stranger->set("group_id", 20);
  undo_.regDelete({member_, topAbove_, stranger, inner_});
  EXPECT_EQ(member_->get("position").integerValue(), 0);
  EXPECT_EQ(member_->get("group_id").integerValue(), 20);
  EXPECT_EQ(topAbove_->get("position").integerValue(), 2);
  EXPECT_EQ(topAbove_->get("group_id").integerValue(), -1);
  EXPECT_EQ(stranger->get("position").integerValue(), 0);
  EXPECT_EQ(stranger->get("group_id").integerValue(), -1);
  EXPECT_EQ(inner_->get("position").integerValue(), 1);
  EXPECT_EQ(inner_->get("group_id").integerValue(), 20);
  DictRef record = last();
  EXPECT_EQ(record->get("type").integerValue(), 2);
  ArrayRef items = record->dictionary("data")->array("items");
  ASSERT_EQ(items->size(), 4u);
  // The copies are taken after the annotation.
  EXPECT_EQ(items->at(0).dictionary()->get("group_id").integerValue(), 20);
  EXPECT_NE(items->at(0).dictionary(), member_);
}

TEST_F(UndoRegistrationTest, RegistrationOutsideATransactionEmptiesRedo) {
  std::vector<DictRef> replayed;
  undo_.setReplay([&](const DictRef& record) {
    replayed.push_back(record);
    return Dictionary::make({{"type", kCMUndoEditing}, {"inverse_of", record}});
  });
  undo_.regUndoDictionary(kCMUndoAdding, top_);
  undo_.regUndoDictionary(kCMUndoEditing, top_);
  undo_.undo();
  ASSERT_EQ(undo_.redoCount(), 1u);
  EXPECT_EQ(undo_.undoCount(), 1u);
  EXPECT_EQ(replayed.size(), 1u);
  undo_.regUndoDictionary(kCMUndoEditing, member_);
  EXPECT_EQ(undo_.redoCount(), 0u);
  EXPECT_EQ(undo_.undoCount(), 2u);
}

TEST_F(UndoRegistrationTest, TransactionsCollectRecordsAndEndAsOneStep) {
  undo_.setReplay([](const DictRef& record) { return record; });
  undo_.regUndoDictionary(kCMUndoAdding, top_);
  undo_.undo();
  ASSERT_EQ(undo_.redoCount(), 1u);

  undo_.startTransaction();
  EXPECT_TRUE(undo_.inTransaction());
  undo_.regDelete({member_});
  undo_.regUndoDictionary(kCMUndoAdding, outer_);
  EXPECT_EQ(undo_.undoCount(), 0u) << "collected, not pushed";
  EXPECT_EQ(undo_.redoCount(), 1u) << "redo stays while the transaction is open";
  undo_.endTransaction();
  EXPECT_FALSE(undo_.inTransaction());
  ASSERT_EQ(undo_.undoCount(), 1u);
  EXPECT_EQ(last()->get("type").integerValue(), 10);
  ArrayRef items = last()->array("items");
  ASSERT_EQ(items->size(), 2u);
  EXPECT_EQ(items->at(0).dictionary()->get("type").integerValue(), 2);
  EXPECT_EQ(items->at(1).dictionary()->get("type").integerValue(), 1);
  EXPECT_EQ(undo_.redoCount(), 0u) << "a changed tree makes the old redo records stale";
}

TEST_F(UndoRegistrationTest, EmptyTransactionIsStillOneStepAndKeepsRedo) {
  undo_.setReplay([](const DictRef& record) { return record; });
  undo_.regUndoDictionary(kCMUndoAdding, top_);
  undo_.undo();
  undo_.startTransaction();
  undo_.endTransaction();
  ASSERT_EQ(undo_.undoCount(), 1u);
  EXPECT_TRUE(last()->array("items")->empty());
  EXPECT_EQ(undo_.undoMenuItemTitle(), "Undo - Modify");
  EXPECT_EQ(undo_.redoCount(), 1u);
}

TEST_F(UndoRegistrationTest, UnbalancedTransactionsAreGuarded) {
  platform::testing::CapturedLog log;
  undo_.endTransaction();
  EXPECT_EQ(undo_.undoCount(), 0u);
  undo_.startTransaction();
  undo_.regUndoDictionary(kCMUndoAdding, top_);
  undo_.startTransaction();  // drops the open list
  undo_.regUndoDictionary(kCMUndoAdding, member_);
  undo_.endTransaction();
  ASSERT_EQ(undo_.undoCount(), 1u);
  ASSERT_EQ(last()->array("items")->size(), 1u);
  EXPECT_EQ(last()->array("items")->at(0).dictionary()->dictionary("data")->get("id").integerValue(), 21);
  EXPECT_EQ(log.warnings().size(), 2u);
}

TEST_F(UndoRegistrationTest, UndoAndRedoMoveRecordsBetweenTheStacksAndMarkEdits) {
  std::vector<std::int64_t> replayedTypes;
  undo_.setReplay([&](const DictRef& record) -> DictRef {
    replayedTypes.push_back(record->get("type").integerValue());
    // A record whose layer is gone has no inverse.
    if (record->get("type").integerValue() == kCMUndoEditing) return nullptr;
    return Dictionary::make({{"type", kCMUndoStacking}});
  });
  undo_.regUndoDictionary(kCMUndoEditing, top_);
  undo_.regUndoDictionary(kCMUndoAdding, top_);
  edits_ = 0;
  undo_.undo();
  EXPECT_EQ(undo_.redoMenuItemTitle(), "Redo - ");
  undo_.undo();
  EXPECT_EQ(replayedTypes, (std::vector<std::int64_t>{1, 0}));
  EXPECT_EQ(undo_.undoCount(), 0u);
  EXPECT_EQ(undo_.redoCount(), 1u) << "no inverse, nothing to redo";
  undo_.redo();
  EXPECT_EQ(undo_.undoCount(), 1u);
  EXPECT_EQ(undo_.redoCount(), 0u);
  undo_.undo();
  undo_.undo();  // empty: nothing happens
  EXPECT_EQ(edits_, 4);
  undo_.removeAllActions();
  EXPECT_FALSE(undo_.canUndo());
  EXPECT_FALSE(undo_.canRedo());
}

TEST(UndoTitles, CaptionsPerActionType) {
  const std::vector<std::string> expected = {"Editing", "Adding", "Deleting", "Adding", "Modify", "Modify",
                                             "Modify",  "Modify", "",         "",       "Modify"};
  for (std::int32_t type = 0; type <= 10; ++type) EXPECT_EQ(CMUndoManager::actionCaption(type), expected[type]) << type;
  EXPECT_EQ(CMUndoManager::actionCaption(-1), "");
  EXPECT_EQ(CMUndoManager::actionCaption(11), "");
}

TEST(UndoTitles, MenuTitlesFollowTheTopRecords) {
  CMUndoManager undo;
  undo.setDocumentDataRef(rootWith({layer(1)}));
  EXPECT_EQ(undo.undoMenuItemTitle(), "Undo");
  EXPECT_EQ(undo.redoMenuItemTitle(), "Redo");
  undo.regDelete({layer(1)});
  EXPECT_EQ(undo.undoMenuItemTitle(), "Undo - Deleting");
  undo.regUndoArray(kCMUndoAddingLayers, Array::make());
  EXPECT_EQ(undo.undoMenuItemTitle(), "Undo - Adding");
}

}  // namespace
