// Undo and redo of every record form: do → undo → redo → undo must give back
// the trees seen before, with layers in their old lists at their old indexes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "document/CMBaseDocument.h"
#include "document/CMLayerTree.h"
#include "document/CMNotificationNames.h"
#include "document/CMUndoReplay.h"
#include "document_test_support.h"
#include "undo_replay_support.h"

namespace {

using document_testing::comparable;
using document_testing::group;
using document_testing::idsOf;
using document_testing::layer;
using document_testing::rootWith;
using document_testing::sameTree;
using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;
using ::testing::Contains;
using ::testing::ElementsAre;

class UndoReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    document_.setData(rootWith({a_, group(10, {layer(11), layer(12), layer(13)}), b_}));
    document_.setDirty(false);
  }

  ArrayRef rootList() { return document_.data()->array("layers"); }
  ArrayRef groupList() { return rootList()->at(1).dictionary()->array("items"); }
  DictRef member(std::size_t index) { return groupList()->at(index).dictionary(); }
  CMUndoManager& undo() { return document_.undoManager(); }

  // Runs the edit, then undo, redo and undo again; the trees must repeat.
  void roundTrip(const std::function<void()>& edit) {
    const DictRef before = comparable(document_.data());
    edit();
    const DictRef edited = comparable(document_.data());
    ASSERT_FALSE(sameTree(before, edited)) << "the edit changed nothing";
    document_.undo();
    const DictRef undone = platform::dictionaryCopy(document_.data());
    EXPECT_TRUE(sameTree(before, comparable(undone)));
    document_.redo();
    EXPECT_TRUE(sameTree(edited, comparable(document_.data())));
    document_.undo();
    // Second time round every annotation is already in place: the whole records match.
    EXPECT_TRUE(sameTree(undone, document_.data()));
  }

  document_testing::ObservedModel model_;
  CMBaseDocument document_;
  DictRef a_ = layer(1);
  DictRef b_ = layer(2);
};

TEST_F(UndoReplayTest, EditingOneLayerInsideAGroup) {
  roundTrip([&] {
    undo().regUndoDictionary(kCMUndoEditing, member(1));
    member(1)->set("x", 50);
  });
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
  EXPECT_FALSE(member(1)->contains("x"));
  EXPECT_TRUE(member(1)->get("dirty").boolValue()) << "the put-back copy must drop its cached drawing";
}

TEST_F(UndoReplayTest, EditingSeveralLayersAcrossLists) {
  roundTrip([&] {
    undo().regUndoLayers(kCMUndoEditing, {a_, member(2)});
    a_->set("rotate", 90);
    member(2)->set("rotate", 45);
  });
  EXPECT_FALSE(rootList()->at(0).dictionary()->contains("rotate"));
  EXPECT_FALSE(member(2)->contains("rotate"));
}

TEST_F(UndoReplayTest, EditingAGroupTogetherWithOneOfItsMembers) {
  // The group's copy comes back first; the member's copy then takes its place inside it.
  roundTrip([&] {
    const DictRef outer = rootList()->at(1).dictionary();
    undo().regUndoLayers(kCMUndoEditing, {member(0), outer});
    outer->set("name", "Pocket");
    member(0)->set("x", 5);
  });
  EXPECT_FALSE(rootList()->at(1).dictionary()->contains("name"));
  EXPECT_FALSE(member(0)->contains("x"));
  EXPECT_TRUE(member(0)->get("dirty").boolValue());
}

TEST_F(UndoReplayTest, EditingALayerDeletedMeanwhileChangesNothing) {
  undo().regUndoDictionary(kCMUndoEditing, a_);
  a_->set("x", 5);
  CMLayerTree::removeById(rootList(), 1);
  const DictRef before = platform::dictionaryCopy(document_.data());
  document_.undo();
  EXPECT_TRUE(sameTree(before, document_.data()));
  EXPECT_FALSE(undo().canRedo());
  EXPECT_FALSE(undo().canUndo());
}

TEST_F(UndoReplayTest, AddingOneLayerInsideAGroup) {
  const DictRef added = layer(14);
  roundTrip([&] {
    groupList()->insert(1, added);
    undo().regUndoDictionary(kCMUndoAdding, added);
  });
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
  document_.redo();
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 14, 12, 13})) << "back at its old index";
}

TEST_F(UndoReplayTest, DeletingTwoGroupMembersInEitherOrder) {
  for (const bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "registered high index first" : "registered low index first");
    SetUp();
    roundTrip([&] {
      const DictRef first = member(0);
      const DictRef last = member(2);
      document_.deleteLayers(reversed ? CMBaseDocument::Records{last, first} : CMBaseDocument::Records{first, last});
    });
    EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
    document_.redo();
    EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{12}));
  }
}

TEST_F(UndoReplayTest, DeletingFromSeveralListsInAnyOrder) {
  roundTrip([&] { document_.deleteLayers({b_, member(1), a_}); });
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
}

TEST_F(UndoReplayTest, DuplicateInsideAGroupComesBackIntoThatGroup) {
  roundTrip([&] { document_.duplicate({member(0), b_}); });
  EXPECT_EQ(groupList()->size(), 3u);
  document_.redo();
  ASSERT_EQ(groupList()->size(), 4u);
  EXPECT_EQ(rootList()->size(), 4u);
  // The copies sit on top of the lists that held their originals.
  EXPECT_GT(member(3)->get("id").integerValue(), 13);
  EXPECT_GT(rootList()->at(3).dictionary()->get("id").integerValue(), 13);
}

TEST_F(UndoReplayTest, PasteOfThreeLayersIsUndoneAsAWhole) {
  document_.copy({a_, member(1), b_});
  roundTrip([&] { document_.paste(); });
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  document_.redo();
  EXPECT_EQ(rootList()->size(), 6u);
}

TEST_F(UndoReplayTest, NestedAddRecordsAreReplayedOneByOne) {
  // The grouped form of several type-3 records, as another caller may register it.
  const DictRef first = layer(20);
  const DictRef second = layer(21);
  rootList()->add(first);
  groupList()->add(second);
  auto addRecord = [](const DictRef& record) {
    return Dictionary::make({{"type", kCMUndoAddingLayers},
                             {"data", Dictionary::make({{"items", Array::make({platform::dictionaryCopy(record)})}})}});
  };
  CMUndoReplay replay(document_.data());
  const DictRef inverse = replay.makeAction(
      Dictionary::make({{"type", kCMUndoAddingLayers}, {"items", Array::make({addRecord(first), addRecord(second)})}}));
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
  ASSERT_TRUE(inverse);
  replay.makeAction(inverse);
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2, 20}));
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13, 21}));
}

TEST_F(UndoReplayTest, PageSizeChangeRefreshesTheDocument) {
  roundTrip([&] {
    undo().regUndoArray(kCMUndoPageSize, Array::make({"width", "height", "not-there"}));
    document_.data()->set("width", 1024);
    document_.data()->set("height", 2048);
  });
  EXPECT_EQ(document_.data()->get("width").integerValue(), 800);
  EXPECT_FALSE(document_.data()->contains("not-there"));
  EXPECT_EQ(model_.window().documentUpdates, 3);
  EXPECT_THAT(model_.posted, Contains(std::string(kNotificationPageChanged)));
  document_.redo();
  EXPECT_EQ(document_.data()->get("height").integerValue(), 2048);
}

TEST_F(UndoReplayTest, RootKeyAbsentAtReplayIsWrittenButLeftOutOfTheInverse) {
  CMUndoReplay replay(document_.data());
  const DictRef inverse = replay.makeAction(Dictionary::make(
      {{"type", kCMUndoRootKeys}, {"keys", Array::make({"zoom", "width"})}, {"values", Array::make({2.0, 640})}}));
  EXPECT_EQ(document_.data()->get("zoom").doubleValue(), 2.0);
  ASSERT_TRUE(inverse);
  EXPECT_TRUE(inverse->get("keys").isEqual(Value(Array::make({"width"}))));
  EXPECT_TRUE(inverse->get("values").isEqual(Value(Array::make({800}))));
  EXPECT_EQ(model_.window().editorUpdates, 1) << "type 4 refreshes the canvas, not the document";
  EXPECT_EQ(model_.window().documentUpdates, 0);
}

TEST_F(UndoReplayTest, LayerKeysMarkTheEditedAndTheSelectedLayerDirty) {
  const ArrayRef points = Array::make({Dictionary::make({{"x", 1}}), Dictionary::make({{"x", 2}})});
  member(0)->set("points", points);
  model_.window().selected = b_;
  roundTrip([&] {
    undo().regUndoDictionary(kCMUndoLayerKeys,
                             Dictionary::make({{"obj", member(0)}, {"keys", Array::make({"points"})}}));
    points->at(0).dictionary()->set("x", 99);  // edited in place, as the canvas does
    points->removeLast();
  });
  const ArrayRef restored = member(0)->array("points");
  ASSERT_TRUE(restored);
  EXPECT_EQ(restored->size(), 2u);
  EXPECT_EQ(restored->at(0).dictionary()->get("x").integerValue(), 1);
  EXPECT_TRUE(member(0)->get("dirty").boolValue()) << "the edited layer is not the selected one";
  EXPECT_TRUE(b_->get("dirty").boolValue());
  EXPECT_THAT(model_.posted, Contains(std::string(kNotificationLayerChanged)));
  // What went back into the layer is a copy: editing it leaves the redo record alone.
  const DictRef redoRecord = undo().redoStack().back();
  restored->at(0).dictionary()->set("x", 7);
  EXPECT_EQ(redoRecord->array("values")->at(0).array()->at(0).dictionary()->get("x").integerValue(), 99);
}

TEST_F(UndoReplayTest, LayerKeysReachTheCopyThatReplacedTheLayer) {
  undo().regUndoDictionary(kCMUndoLayerKeys, Dictionary::make({{"obj", a_}, {"keys", Array::make({"visible"})}}));
  a_->set("visible", false);
  undo().regUndoDictionary(kCMUndoEditing, a_);
  a_->set("x", 12);
  document_.undo();  // puts a copy of the layer in its place
  document_.undo();
  const DictRef live = rootList()->at(0).dictionary();
  EXPECT_NE(live, a_);
  EXPECT_TRUE(live->get("visible").boolValue());
  EXPECT_FALSE(live->contains("x"));
}

TEST_F(UndoReplayTest, PointCommandsComeBackAfterAnotherUndoReplacedTheLayer) {
  a_->set("shape", Dictionary::make({{"isbezier", false}, {"points", Array::make({1, 2})}}));
  const DictRef before = comparable(document_.data());
  undo().regUndoShape(a_);
  a_->dictionary("shape")->set("isbezier", true);
  a_->dictionary("shape")->array("points")->add(3);
  undo().regUndoDictionary(kCMUndoEditing, a_);
  a_->set("x", 12);
  document_.undo();  // a copy of the layer takes its place
  document_.undo();
  EXPECT_TRUE(sameTree(before, comparable(document_.data())));
}

// A record without an id (a shape, a fill) is no layer: the layer with id 0 stays untouched.
TEST_F(UndoReplayTest, KeysOfARecordWithoutIdNeverReachLayerZero) {
  const DictRef zero = layer(0);
  rootList()->add(zero);
  const DictRef shape = Dictionary::make({{"points", Array::make({1, 2})}});
  a_->set("shape", shape);
  roundTrip([&] {
    undo().regUndoDictionary(kCMUndoLayerKeys, Dictionary::make({{"obj", shape}, {"keys", Array::make({"points"})}}));
    shape->set("points", Array::make({3}));
  });
  EXPECT_FALSE(zero->contains("points"));
  EXPECT_FALSE(shape->contains("dirty"));
}

TEST_F(UndoReplayTest, LockRegisteredAsRecordsIsUndoneLayerByLayer) {
  const DictRef zero = layer(0);
  rootList()->add(zero);
  roundTrip([&] {
    undo().regUndoArray(kCMUndoEditing, Array::make({a_, member(1)}));
    document_.lock({a_, member(1)});
  });
  EXPECT_EQ(rootList()->at(3).dictionary(), zero) << "read as one layer, the list would have replaced layer 0";
  EXPECT_FALSE(rootList()->at(0).dictionary()->contains("lock"));
  EXPECT_FALSE(member(1)->contains("lock"));
}

TEST_F(UndoReplayTest, EditsOfAMaskAreUndone) {
  a_->set("masks", Array::make({layer(50)}));
  roundTrip([&] {
    const DictRef mask = a_->array("masks")->at(0).dictionary();
    undo().regUndoDictionary(kCMUndoEditing, mask);
    mask->set("x", 5);
  });
  EXPECT_FALSE(a_->array("masks")->at(0).dictionary()->contains("x"));
}

TEST_F(UndoReplayTest, HidingALayerWithoutVisibilityIsUndoneToNoValueAtAll) {
  member(0)->remove("visible");
  roundTrip([&] { document_.toggleHiddenLayer(member(0)); });
  EXPECT_FALSE(member(0)->contains("visible"));
  document_.redo();
  EXPECT_TRUE(member(0)->get("visible").boolValue());
}

TEST_F(UndoReplayTest, HidingIsUndoneWithALayersNotification) {
  roundTrip([&] { document_.toggleHiddenLayer(member(2)); });
  EXPECT_TRUE(member(2)->get("visible").boolValue());
  EXPECT_THAT(model_.posted, Contains(std::string(kNotificationLayersChanged)));
}

TEST_F(UndoReplayTest, MovingAGroupMemberToTheTopAndBack) {
  roundTrip([&] { document_.moveLayersToFirst({member(2), member(0)}); });
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
}

TEST_F(UndoReplayTest, MovingAGroupTogetherWithOneOfItsMembers) {
  roundTrip([&] { document_.moveLayersToFirst({member(1), rootList()->at(1).dictionary()}); });
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
  document_testing::TreeAudit audit(document_.data());
  EXPECT_THAT(audit.duplicateIds(), ::testing::IsEmpty());
}

TEST_F(UndoReplayTest, MovingOnePlaceAndAfterATargetInAnotherList) {
  roundTrip([&] { document_.moveLayers({member(0), member(1)}, 1); });
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
  roundTrip([&] { document_.moveLayersAfter({a_, member(2)}, b_); });
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  EXPECT_EQ(idsOf(groupList()), (std::vector<std::int64_t>{11, 12, 13}));
}

TEST_F(UndoReplayTest, TransactionOfRemoveAndAddGroup) {
  // The canvas's group command: the two root layers go into a new group.
  const DictRef newGroup = group(30, {});
  roundTrip([&] {
    undo().startTransaction();
    document_.remove({a_, b_});
    newGroup->array("items")->add(a_);
    newGroup->array("items")->add(b_);
    rootList()->insert(0, newGroup);
    undo().regUndoDictionary(kCMUndoAdding, newGroup);
    undo().endTransaction();
  });
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  EXPECT_EQ(undo().redoMenuItemTitle(), "Redo - Modify");
}

TEST_F(UndoReplayTest, ATransactionOfManyAddsAnywhereIsUndoneAndRedoneInPlace) {
  // Layers added one by one at places before and after each other, in two lists: undo takes each out at the
  // index it had at its turn, so redo puts every one back where it was.
  roundTrip([&] {
    undo().startTransaction();
    const ArrayRef members = groupList();
    const std::pair<ArrayRef, std::size_t> places[] = {{rootList(), 0}, {members, 3}, {rootList(), 2}, {members, 0},
                                                       {rootList(), 5}, {members, 2}, {rootList(), 1}};
    std::int64_t id = 40;
    for (const auto& [list, index] : places) {
      const DictRef added = layer(id++);
      list->insert(index, added);
      undo().regUndoDictionary(kCMUndoAdding, added);
    }
    undo().endTransaction();
  });
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{1, 10, 2}));
  document_.redo();
  EXPECT_EQ(idsOf(rootList()), (std::vector<std::int64_t>{40, 46, 1, 42, 10, 2, 44}));
  EXPECT_EQ(idsOf(rootList()->at(4).dictionary()->array("items")), (std::vector<std::int64_t>{43, 11, 45, 12, 13, 41}));
}

TEST_F(UndoReplayTest, UndoAndRedoMarkTheDocumentEdited) {
  document_.toggleHiddenLayer(a_);
  document_.setDirty(false);
  document_.undo();
  EXPECT_TRUE(document_.dirty());
  document_.setDirty(false);
  document_.redo();
  EXPECT_TRUE(document_.dirty());
  document_.setDirty(false);
  document_.redo();  // nothing left to redo
  EXPECT_FALSE(document_.dirty());
}

TEST_F(UndoReplayTest, UnusedTypesReplayAsNothing) {
  CMUndoReplay replay(document_.data());
  const DictRef before = platform::dictionaryCopy(document_.data());
  for (const int type : {9, 11, -1}) {
    EXPECT_FALSE(replay.makeAction(Dictionary::make({{"type", type}, {"items", Array::make()}}))) << type;
  }
  EXPECT_FALSE(replay.makeAction(Dictionary::make({{"type", kCMUndoStacking}}))) << "no items: no inverse";
  EXPECT_TRUE(sameTree(before, document_.data()));
}

}  // namespace

namespace {

// A record inside a layer: undo finds it again down its path in the layer the tree holds by then, even after a copy
// replaced the layer, and never in a layer whose id happens to be 0.
TEST(UndoKeysInsideALayer, FindTheirRecordDownThePathOfTheLayerThereNow) {
  CMBaseDocument document;
  DictRef zero = layer(0);
  zero->set("lineWidth", 7.0F);
  DictRef owner = layer(5);
  DictRef stroke = Dictionary::make({{"lineWidth", 1.0F}});
  owner->set("shape", Dictionary::make({{"stroke1", stroke}}));
  document.setData(rootWith({zero, owner}));
  CMUndoManager& undo = document.undoManager();

  ASSERT_TRUE(undo.regUndoKeys(owner, Array::make({"shape", "stroke1"}), stroke, Array::make({"lineWidth"})));
  stroke->set("lineWidth", 4.0F);
  EXPECT_FALSE(undo.regUndoKeys(owner, Array::make({"shape", "stroke1"}), stroke, Array::make({"missing"})))
      << "no key with a value, no record";
  // A copy of the layer takes its place (an editing record undone).
  undo.regUndoDictionary(kCMUndoEditing, owner);
  owner->set("x", 3);
  undo.undo();
  const DictRef live = document.data()->array("layers")->at(1).dictionary();
  ASSERT_NE(live, owner);
  undo.undo();
  const DictRef liveStroke = live->dictionary("shape")->dictionary("stroke1");
  EXPECT_FLOAT_EQ(liveStroke->get("lineWidth").floatValue(), 1);
  EXPECT_FLOAT_EQ(zero->get("lineWidth").floatValue(), 7) << "the layer with id 0 is left alone";
  EXPECT_FALSE(liveStroke->contains("dirty"));
  undo.redo();
  EXPECT_FLOAT_EQ(liveStroke->get("lineWidth").floatValue(), 4);

  // Values given as the previous ones stand for the record's current values.
  const DictRef previous = Dictionary::make({{"lineWidth", 2.0F}});
  ASSERT_TRUE(
      undo.regUndoKeys(live, Array::make({"shape", "stroke1"}), liveStroke, Array::make({"lineWidth"}), previous));
  undo.undo();
  EXPECT_FLOAT_EQ(liveStroke->get("lineWidth").floatValue(), 2);
}

}  // namespace
