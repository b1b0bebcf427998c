// The three stacking moves: single steps, moves after a target, moves to the bottom.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../platform/core/captured_log.h"
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

class DocumentMovesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    group_ = group(10, {layer(11), layer(12), layer(13)});
    document_.setData(rootWith({layer(1), layer(2), group_, layer(3), layer(4)}));
    model_.clear();
  }

  ArrayRef root() const { return document_.data()->array("layers"); }
  ArrayRef items() const { return group_->array("items"); }
  DictRef live(std::int32_t id) const { return document_.undoManager().findLayer(id, root(), nullptr, nullptr); }
  std::size_t undoCount() const { return document_.undoManager().undoCount(); }
  DictRef lastUndo() const { return document_.undoManager().undoStack().back(); }
  Ids registeredIndexes() const {
    Ids indexes;
    for (const auto& item : *lastUndo()->array("items"))
      indexes.push_back(item.dictionary()->get("index").integerValue());
    return indexes;
  }
  void expectMoveFinished() {
    EXPECT_TRUE(document_.dirty());
    EXPECT_EQ(model_.window().editorUpdates, 1);
    EXPECT_THAT(model_.posted, ElementsAre("notificationLayersChanged"));
  }
  void expectNothingHappened() {
    EXPECT_EQ(undoCount(), 0u);
    EXPECT_FALSE(document_.dirty());
    EXPECT_EQ(model_.window().editorUpdates, 0);
    EXPECT_THAT(model_.posted, IsEmpty());
  }

  document_testing::ScratchFolders folders_;
  ObservedModel model_;
  CMBaseDocument document_;
  DictRef group_;
};

TEST_F(DocumentMovesTest, OneStepInsideEachHoldingList) {
  document_.moveLayers({live(12), live(2)}, +1);
  EXPECT_EQ(idsOf(root()), (Ids{1, 10, 2, 3, 4}));
  EXPECT_EQ(idsOf(items()), (Ids{11, 13, 12}));
  EXPECT_EQ(lastUndo()->get("type").integerValue(), 8);
  expectMoveFinished();
}

TEST_F(DocumentMovesTest, AdjacentLayersMoveTogetherWhateverTheGivenOrder) {
  document_.moveLayers({live(2), live(1)}, +1);
  EXPECT_EQ(idsOf(root()), (Ids{10, 1, 2, 3, 4}));
  document_.moveLayers({live(3), live(4)}, -1);
  EXPECT_EQ(idsOf(root()), (Ids{10, 1, 3, 4, 2}));
  // Registered lowest index first, so that putting each back at its index restores the order.
  EXPECT_EQ(registeredIndexes(), (Ids{3, 4}));
}

TEST_F(DocumentMovesTest, AMoveThatWouldLeaveAListIsRefusedAsAWhole) {
  document_.moveLayers({live(2), live(1)}, -1);
  document_.moveLayers({live(3), live(4)}, +1);
  document_.moveLayers({live(11)}, -1);
  document_.moveLayers({layer(99)}, +1);
  document_.moveLayers({live(1), nullptr}, +1);
  document_.moveLayers({live(2)}, 2);
  EXPECT_EQ(idsOf(root()), (Ids{1, 2, 10, 3, 4}));
  EXPECT_EQ(idsOf(items()), (Ids{11, 12, 13}));
  expectNothingHappened();
}

TEST_F(DocumentMovesTest, AnEmptyMoveStillRegistersAndRefreshes) {
  document_.moveLayers({}, -1);
  ASSERT_EQ(undoCount(), 1u);
  EXPECT_TRUE(lastUndo()->array("items")->empty());
  expectMoveFinished();
}

TEST_F(DocumentMovesTest, ALayerNamedTwiceMovesOnce) {
  document_.moveLayers({live(1), live(1)}, +1);
  EXPECT_EQ(idsOf(root()), (Ids{2, 1, 10, 3, 4}));
  EXPECT_EQ(lastUndo()->array("items")->size(), 1u);
}

TEST_F(DocumentMovesTest, AfterATargetInTheTargetsList) {
  document_.moveLayersAfter({live(1), live(12)}, live(3));
  EXPECT_EQ(idsOf(root()), (Ids{2, 10, 3, 1, 12, 4}));
  EXPECT_EQ(idsOf(items()), (Ids{11, 13}));
  expectMoveFinished();
}

TEST_F(DocumentMovesTest, AfterATargetWhenTheMovedLayersPrecedeItInItsList) {
  // Read before the removals, the target's index would point past the list's end.
  document_.moveLayersAfter({live(11), live(12)}, live(13));
  EXPECT_EQ(idsOf(items()), (Ids{13, 11, 12}));
  document_.moveLayersAfter({live(1), live(2), live(3)}, live(4));
  EXPECT_EQ(idsOf(root()), (Ids{10, 4, 1, 2, 3}));
  TreeAudit audit(document_.data());
  EXPECT_TRUE(audit.everyRecordOnce());
}

TEST_F(DocumentMovesTest, AfterAMemberOfAMovedGroupIsRefused) {
  document_.moveLayersAfter({group_}, live(12));
  document_.moveLayersAfter({live(4), group_}, live(10));
  EXPECT_EQ(idsOf(root()), (Ids{1, 2, 10, 3, 4}));
  expectNothingHappened();
}

TEST_F(DocumentMovesTest, AfterAMissingTargetRegistersButMovesNothing) {
  document_.moveLayersAfter({live(1)}, layer(99));
  EXPECT_EQ(idsOf(root()), (Ids{1, 2, 10, 3, 4}));
  EXPECT_EQ(undoCount(), 1u);
  expectMoveFinished();
}

TEST_F(DocumentMovesTest, AGroupMovedWithItsMemberKeepsTheMember) {
  document_.moveLayersAfter({live(12), group_}, live(4));
  EXPECT_EQ(idsOf(root()), (Ids{1, 2, 3, 4, 10}));
  EXPECT_EQ(idsOf(items()), (Ids{11, 12, 13}));
}

TEST_F(DocumentMovesTest, ToFirstTakesLayersOutOfGroupsToTheBottomInTheGivenOrder) {
  document_.moveLayersToFirst({live(13), live(11)});
  EXPECT_EQ(idsOf(root()), (Ids{13, 11, 1, 2, 10, 3, 4}));
  EXPECT_EQ(idsOf(items()), (Ids{12}));
  EXPECT_EQ(registeredIndexes(), (Ids{0, 2}));
  expectMoveFinished();
}

TEST_F(DocumentMovesTest, ToFirstWithAGroupAndItsMemberKeepsTheTreeSound) {
  document_.moveLayersToFirst({group_, live(12), live(99)});
  EXPECT_EQ(idsOf(root()), (Ids{10, 12, 1, 2, 3, 4}));
  EXPECT_EQ(idsOf(items()), (Ids{11, 13}));
  TreeAudit audit(document_.data());
  EXPECT_TRUE(audit.everyRecordOnce());
}

}  // namespace
