// Ids, positions, creation from the default records and lookups.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>

#include "document/CMBaseDocument.h"
#include "document_test_support.h"

namespace {

using document_testing::group;
using document_testing::idsOf;
using document_testing::layer;
using document_testing::ObservedModel;
using document_testing::rootWith;
using platform::DictRef;

class DocumentIdsTest : public ::testing::Test {
 protected:
  document_testing::ScratchFolders folders_;
  ObservedModel model_;
  CMBaseDocument document_;
};

TEST_F(DocumentIdsTest, FirstCreationInAnEmptyDocument) {
  EXPECT_EQ(document_.maxID(), 0);
  DictRef first = document_.createObject("rect", {12.5, -3});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->get("id").integerValue(), 1);
  EXPECT_EQ(first->get("position").integerValue(), 1);
  EXPECT_EQ(document_.maxID(), 2);
  EXPECT_TRUE(first->get("x").isReal32());
  EXPECT_EQ(first->get("x").doubleValue(), 12.5);
  EXPECT_EQ(first->get("y").doubleValue(), -3);
  EXPECT_TRUE(document_.data()->array("layers")->empty()) << "created, not added";
  EXPECT_EQ(document_.undoManager().undoCount(), 0u);
  EXPECT_FALSE(document_.dirty());

  document_.data()->array("layers")->add(first);
  DictRef second = document_.createObject("oval", {0, 0});
  EXPECT_EQ(second->get("id").integerValue(), 2);
  EXPECT_EQ(document_.maxID(), 3);
}

TEST_F(DocumentIdsTest, CreatedButUnaddedRecordsStillGetDistinctIds) {
  DictRef a = document_.createObject("rect", {0, 0});
  DictRef b = document_.createObject("rect", {0, 0});
  DictRef g = document_.createGroup();
  ASSERT_TRUE(a && b && g);
  EXPECT_NE(a->get("id").integerValue(), b->get("id").integerValue());
  EXPECT_NE(b->get("id").integerValue(), g->get("id").integerValue());
  EXPECT_EQ(g->get("type").integerValue(), 3);
  EXPECT_TRUE(g->array("items"));
}

TEST_F(DocumentIdsTest, UnknownDefaultNameCreatesNothing) {
  EXPECT_FALSE(document_.createObject("hexagon", {0, 0}));
  EXPECT_FALSE(document_.addObject("hexagon", {0, 0}));
  EXPECT_EQ(document_.maxID(), 0);
  EXPECT_TRUE(document_.data()->array("layers")->empty());
  EXPECT_EQ(document_.undoManager().undoCount(), 0u);
}

TEST_F(DocumentIdsTest, AddObjectAppendsAndRegistersAnAddition) {
  document_.setData(rootWith({layer(4, 4)}));
  DictRef added = document_.addObject("text", {1, 2});
  ASSERT_TRUE(added);
  EXPECT_EQ(added->get("id").integerValue(), 5);
  EXPECT_EQ(added->get("position").integerValue(), 5) << "position is the id, not the next position";
  EXPECT_EQ(idsOf(document_.data()->array("layers")), (std::vector<std::int64_t>{4, 5}));
  ASSERT_EQ(document_.undoManager().undoCount(), 1u);
  DictRef record = document_.undoManager().undoStack().back();
  EXPECT_EQ(record->get("type").integerValue(), 1);
  EXPECT_EQ(record->get("group_id").integerValue(), -1);
  EXPECT_EQ(record->dictionary("data")->get("id").integerValue(), 5);
  EXPECT_TRUE(document_.dirty());
  EXPECT_EQ(model_.window().editorUpdates, 0) << "the canvas builds the layer object itself";
  EXPECT_TRUE(model_.posted.empty());
}

TEST_F(DocumentIdsTest, IdsInsideGroupsCountForNewIdButNotForFindMaxIdOrPositions) {
  document_.setData(rootWith({layer(3, 7), group(5, {layer(40, 90), group(41, {layer(60, 95)})}, 2)}));
  document_.findMaxID();
  EXPECT_EQ(document_.maxID(), 6) << "top-level ids only";
  EXPECT_EQ(document_.newPosition(), 8) << "top-level positions only";
  EXPECT_EQ(document_.newID(), 61);
  EXPECT_EQ(document_.maxID(), 61);
  // newID alone hands out the last id again until something enters the tree;
  // creation moves the counter past it, and the counter then wins over the tree.
  EXPECT_EQ(document_.newID(), 61);
  EXPECT_EQ(document_.createGroup()->get("id").integerValue(), 61);
  EXPECT_EQ(document_.maxID(), 62);
  EXPECT_EQ(document_.newID(), 63);
  EXPECT_EQ(CMBaseDocument::findMaxIDForGroup(1, document_.data()->array("layers")->at(1).dictionary()), 61);
  EXPECT_EQ(CMBaseDocument::findMaxIDForGroup(100, document_.data()->array("layers")->at(1).dictionary()), 100);
  EXPECT_EQ(CMBaseDocument::findMaxIDForGroup(9, layer(50)), 9) << "not a group";
}

TEST_F(DocumentIdsTest, EmptyDocumentPositionsAndIdsStartAtOne) {
  EXPECT_EQ(document_.newPosition(), 1);
  EXPECT_EQ(document_.newID(), 1);
  document_.setData(rootWith({layer(1, -5)}));
  EXPECT_EQ(document_.newPosition(), 1);
}

TEST_F(DocumentIdsTest, HostileIdsAndPositionsStayWithinRange) {
  const std::int64_t top = std::numeric_limits<std::int32_t>::max();
  DictRef huge = layer(top, std::numeric_limits<std::int64_t>::max());
  document_.setData(rootWith({huge, layer(-8, -9)}));
  document_.findMaxID();
  EXPECT_EQ(document_.maxID(), top);
  // Nothing is free above the largest id: the lowest free one is handed out, never a taken one.
  EXPECT_EQ(document_.newID(), 1);
  EXPECT_EQ(document_.newPosition(), top);
  // A root record without a layer list gets one on the first edit.
  document_.setData(platform::Dictionary::make({{"width", 10}}));
  EXPECT_TRUE(document_.addObject("rect", {0, 0}));
  EXPECT_EQ(document_.data()->array("layers")->size(), 1u);
}

TEST_F(DocumentIdsTest, NewIdsAndCopiesNeverRepeatAnIdOfTheTree) {
  const std::int32_t top = std::numeric_limits<std::int32_t>::max();
  DictRef masked = layer(3);
  masked->set("masks", platform::Array::make({layer(50), layer(top)}));
  document_.setData(rootWith({layer(1), layer(2), masked, group(4, {layer(1000)})}));
  for (int i = 0; i < 3; ++i) {
    document_.duplicate({masked});
    document_.copy({masked, document_.data()->array("layers")->at(3).dictionary()});
    document_.paste();
  }
  std::map<std::int64_t, int> seen;
  std::function<void(const platform::ArrayRef&)> count = [&](const platform::ArrayRef& list) {
    for (const platform::Value& entry : *list) {
      ++seen[entry.dictionary()->get("id").integerValue()];
      for (const char* key : {"items", "masks"})
        if (const platform::ArrayRef inner = entry.dictionary()->array(key)) count(inner);
    }
  };
  count(document_.data()->array("layers"));
  EXPECT_EQ(seen.size(), 7u + 3 * (3 + 3 + 2)) << "every layer, member and mask has an id of its own";
  for (const auto& [id, times] : seen) EXPECT_EQ(times, 1) << "id " << id;
}

TEST_F(DocumentIdsTest, FindTopLayersGivesTheInnermostHoldingList) {
  DictRef inner = group(30, {layer(31)});
  DictRef outer = group(20, {layer(21), inner});
  document_.setData(rootWith({layer(1), outer}));
  platform::ArrayRef root = document_.data()->array("layers");
  EXPECT_EQ(document_.findTopLayers({}), root);
  EXPECT_EQ(document_.findTopLayers({layer(31)}), inner->array("items"));
  EXPECT_EQ(document_.findTopLayers({layer(30), layer(1)}), outer->array("items"));
  EXPECT_FALSE(document_.findTopLayers({layer(1), layer(99)}));
  EXPECT_FALSE(document_.findTopLayers({nullptr}));
  EXPECT_EQ(CMBaseDocument::findTopLayers(root, 20), root);
  EXPECT_FALSE(CMBaseDocument::findTopLayers(nullptr, 20));
}

}  // namespace
