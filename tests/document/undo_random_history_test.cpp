// A random history of 300 edits, undone to the start and redone to the end:
// both ends must come back (see undo_replay_support.h for the keys left out).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "document/CMBaseDocument.h"
#include "document_test_support.h"
#include "undo_replay_support.h"

namespace {

using document_testing::comparable;
using document_testing::sameTree;
using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using Records = CMBaseDocument::Records;
using Entry = document_testing::ListedRecord;

// The document's own edits plus what the canvas and the panels register.
class RandomHistory : public document_testing::RandomLayerChoices {
 public:
  using RandomLayerChoices::RandomLayerChoices;

  std::string editOnce() {
    std::vector<Entry> entries;
    std::vector<ArrayRef> lists;
    document_testing::collectRecords(document_.data()->array("layers"), entries, lists);
    switch (entries.empty() ? 0 : pick(0, 13)) {
      case 0:
        document_.addObject(pick(0, 1) ? "rect" : "oval", {double(pick(0, 500)), double(pick(0, 500))});
        return "add";
      case 1:
        groupSome(lists[pick(0, int(lists.size()) - 1)]);
        return "group";
      case 2:
        document_.copy(some(entries));
        document_.paste();
        return "paste";
      case 3:
        document_.cut(some(entries));
        return "cut";
      case 4:
        document_.deleteLayers(some(entries));
        return "delete";
      case 5:
        document_.moveLayers(some(entries), pick(0, 1) ? 1 : -1);
        return "move one place";
      case 6:
        document_.moveLayersAfter(some(entries), one(entries));
        return "move after";
      case 7:
        document_.moveLayersToFirst(some(entries));
        return "move to first";
      case 8:
        document_.duplicate(some(entries));
        return "duplicate";
      case 9:
        document_.toggleHiddenLayer(one(entries));
        return "hide";
      case 10: {
        // The canvas moving layers: editing records registered first.
        const Records chosen = some(entries);
        document_.undoManager().regUndoLayers(kCMUndoEditing, chosen);
        for (const DictRef& record : chosen) record->set("x", pick(-100, 900));
        return "move by the canvas";
      }
      case 11: {
        const DictRef record = one(entries);
        document_.undoManager().regUndoDictionary(
            kCMUndoLayerKeys, Dictionary::make({{"obj", record}, {"keys", Array::make({"y", "alpha"})}}));
        record->set("y", pick(0, 700));
        record->set("alpha", pick(0, 100) / 100.0);
        return "layer style";
      }
      case 12:
        document_.undoManager().regUndoArray(kCMUndoPageSize, Array::make({"width", "height"}));
        document_.data()->set("width", pick(100, 4000));
        document_.data()->set("height", pick(100, 4000));
        return "page size";
      default: {
        const DictRef record = one(entries);
        document_.undoManager().regUndoDictionary(kCMUndoEditing, record);
        record->set("rotate", pick(0, 359));
        return "rotate";
      }
    }
  }
};

class UndoRandomHistoryTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(UndoRandomHistoryTest, UndoAllGivesTheStartAndRedoAllTheEnd) {
  document_testing::ScratchFolders folders;
  document_testing::ObservedModel model;
  CMBaseDocument document;
  document.setData(document_testing::rootWith({}));  // with a page size to change
  RandomHistory history(document, GetParam());
  // A few layers to start from, so the history does not begin with an empty page.
  for (int i = 0; i < 6; ++i) history.editOnce();
  document.undoManager().removeAllActions();
  const DictRef start = comparable(document.data());

  std::vector<std::string> trace;
  for (int step = 0; step < 300; ++step) trace.push_back(history.editOnce());
  const DictRef end = comparable(document.data());

  while (document.undoManager().canUndo()) document.undo();
  EXPECT_TRUE(sameTree(start, comparable(document.data())));
  document_testing::TreeAudit undone(document.data());
  EXPECT_THAT(undone.duplicateIds(), ::testing::IsEmpty());
  EXPECT_TRUE(undone.everyRecordOnce());

  while (document.undoManager().canRedo()) document.redo();
  EXPECT_TRUE(sameTree(end, comparable(document.data())));
  document_testing::TreeAudit redone(document.data());
  EXPECT_THAT(redone.duplicateIds(), ::testing::IsEmpty());
  EXPECT_TRUE(redone.everyRecordOnce());
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoRandomHistoryTest, ::testing::Values(1u, 7u, 42u, 2024u, 31337u, 99991u));

}  // namespace
