// Random sequences of layer-list edits must keep the tree sound: unique ids and
// every record in exactly one list. The seed is printed; set DRAFTWORK_TEST_SEED to
// replay one.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "document/CMBaseDocument.h"
#include "document_test_support.h"
#include "../random_test_seed.h"

namespace {

using document_testing::TreeAudit;
using platform::ArrayRef;
using platform::DictRef;
using Records = CMBaseDocument::Records;
using Entry = document_testing::ListedRecord;

class RandomEditor : public document_testing::RandomLayerChoices {
 public:
  using RandomLayerChoices::RandomLayerChoices;

  // Returns a name for the trace and whether the layer count must stay the same.
  std::pair<std::string, bool> editOnce() {
    std::vector<Entry> entries;
    std::vector<ArrayRef> lists;
    document_testing::collectRecords(document_.data()->array("layers"), entries, lists);
    const int operation = entries.empty() ? 0 : pick(0, 9);
    switch (operation) {
      case 0:
        document_.addObject(pick(0, 1) ? "rect" : "oval", {double(pick(0, 500)), double(pick(0, 500))});
        return {"add", false};
      case 1:
        groupSome(lists[pick(0, int(lists.size()) - 1)]);
        return {"group", false};  // the group record itself is new
      case 2:
        document_.copy(some(entries));
        document_.paste();
        return {"copy and paste", false};
      case 3:
        document_.cut(some(entries));
        return {"cut", false};
      case 4:
        document_.deleteLayers(some(entries));
        return {"delete", false};
      case 5:
        document_.moveLayers(some(entries), pick(0, 1) ? 1 : -1);
        return {"move one place", true};
      case 6:
        document_.moveLayersAfter(some(entries), one(entries));
        return {"move after", true};
      case 7:
        document_.moveLayersToFirst(some(entries));
        return {"move to first", true};
      case 8:
        document_.duplicate(some(entries));
        return {"duplicate", false};
      default:
        document_.toggleHiddenLayer(one(entries));
        return {"hide", true};
    }
  }
};

TEST(RandomEdits, FiveHundredEditsKeepIdsUniqueAndEveryRecordInOneList) {
  document_testing::ScratchFolders folders;
  document_testing::ObservedModel model;
  const std::uint32_t seed = randomTestSeed("DocumentRandomEdits");
  SCOPED_TRACE("DRAFTWORK_TEST_SEED=" + std::to_string(seed));
  CMBaseDocument document;
  RandomEditor editor(document, seed);
  for (int step = 0; step < 500; ++step) {
    const std::size_t before = TreeAudit(document.data()).layerCount();
    const auto [name, keepsCount] = editor.editOnce();
    TreeAudit audit(document.data());
    ASSERT_THAT(audit.duplicateIds(), ::testing::IsEmpty()) << "step " << step << ": " << name;
    ASSERT_TRUE(audit.everyRecordOnce()) << "step " << step << ": " << name;
    if (keepsCount) {
      ASSERT_EQ(audit.layerCount(), before) << "step " << step << ": " << name;
    }
    // Only a move may be refused and leave the document as it was.
    if (name.find("move") == std::string::npos) {
      ASSERT_TRUE(document.dirty()) << "step " << step << ": " << name;
    }
    document.setDirty(false);
  }
}

}  // namespace
