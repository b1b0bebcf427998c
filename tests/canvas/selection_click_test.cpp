#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "selection_test_support.h"
#include "../random_test_seed.h"

namespace {

using canvas_testing::filledRectangle;
using platform::Point;
using selection_testing::SelectionTest;

constexpr platform::ModifierFlags kShift = platform::modifier::Shift;

class SelectionClickTest : public SelectionTest {
 protected:
  SelectionClickTest() {
    show(canvas_testing::plainDocument(
        {filledRectangle(1, {20, 20, 60, 40}, 255, 0, 0), filledRectangle(2, {200, 100, 60, 40}, 0, 0, 255)}));
  }
  struct Flags {
    bool selected;
    bool member;
    bool operator==(const Flags&) const = default;
  };
  Flags flagsOf(std::int32_t id) const {
    const auto layer = layerWithId(id);
    return {layer->selected(), layer->selectedAsPartOfGroup()};
  }
};

TEST_F(SelectionClickTest, AClickSelectsTheLayerAndReportsIt) {
  click({30, 30});
  ASSERT_TRUE(canvas_->selectedLayer());
  EXPECT_EQ(canvas_->selectedLayer()->layerId(), 1);
  EXPECT_EQ(canvas_->selectedLayerDict(), canvas_->selectedLayer()->data());
  EXPECT_EQ(flagsOf(1), (Flags{true, true}));
  EXPECT_EQ(flagsOf(2), (Flags{false, false}));
  ASSERT_FALSE(controller().selections.empty());
  EXPECT_EQ(controller().selections.back().record, canvas_->selectedLayer()->data());
  EXPECT_EQ(controller().selections.back().sender, canvas_.get());
}

TEST_F(SelectionClickTest, ShiftAddsInObjectMode) {
  click({30, 30});
  click({210, 110}, kShift);
  EXPECT_EQ(canvas_->selectedLayer()->layerId(), 2);
  EXPECT_EQ(flagsOf(2), (Flags{true, true}));
  EXPECT_EQ(flagsOf(1), (Flags{false, true})) << "the earlier layer stays a member";
  EXPECT_EQ(canvas_->allSelectedLayers().size(), 2u);
}

TEST_F(SelectionClickTest, ShiftReplacesInPathPointMode) {
  CMProject::shareProject().setEditMode(kCMEditModePathPoints);
  click({30, 30});
  click({210, 110}, kShift);
  EXPECT_EQ(flagsOf(2), (Flags{true, true}));
  EXPECT_EQ(flagsOf(1), (Flags{false, false}));
}

TEST_F(SelectionClickTest, AMissClearsEverything) {
  click({30, 30});
  click({210, 110}, kShift);
  controller().selections.clear();
  click({150, 250});
  EXPECT_FALSE(canvas_->selectedLayer());
  EXPECT_FALSE(canvas_->selectedLayerDict());
  EXPECT_EQ(flagsOf(1), (Flags{false, false}));
  EXPECT_EQ(flagsOf(2), (Flags{false, false}));
  ASSERT_EQ(controller().selections.size(), 1u);
  EXPECT_FALSE(controller().selections[0].record);
}

TEST_F(SelectionClickTest, AClickOnAHandleKeepsThatHandle) {
  click({30, 30});
  click({80, 40});  // the right edge's middle
  ASSERT_TRUE(canvas_->selectedPoint());
  EXPECT_EQ(canvas_->selectedPoint()->get("type").intValue(), 1);
  click({40, 30});
  EXPECT_FALSE(canvas_->selectedPoint()) << "the next click forgets it";
}

TEST_F(SelectionClickTest, AClickOnAMemberOfTheSelectedGroupRecordChangesNothing) {
  const platform::DictRef group = platform::Dictionary::make(
      {{"id", 9}, {"type", 3}, {"items", platform::Array::make({layerWithId(1)->data(), layerWithId(2)->data()})}});
  canvas_->selectLayer(group);
  EXPECT_EQ(flagsOf(1), (Flags{false, true}));
  EXPECT_EQ(flagsOf(2), (Flags{false, true}));
  click({210, 110});
  EXPECT_FALSE(canvas_->selectedLayer());
  EXPECT_EQ(canvas_->selectedLayerDict(), group);
  EXPECT_EQ(flagsOf(1), (Flags{false, true}));
}

TEST_F(SelectionClickTest, SelectionByRecordsFromThePanel) {
  EXPECT_TRUE(canvas_->selectLayer(layerWithId(2)->data(), false, false));
  EXPECT_EQ(flagsOf(2), (Flags{true, true}));
  EXPECT_FALSE(canvas_->selectLayer(layerWithId(2)->data(), false, false)) << "nothing changed";
  EXPECT_TRUE(canvas_->selectLayer(layerWithId(1)->data(), true, false));
  EXPECT_EQ(flagsOf(1), (Flags{true, true}));
  EXPECT_EQ(flagsOf(2), (Flags{false, true}));

  canvas_->selectLayers({layerWithId(1)->data(), layerWithId(2)->data()});
  EXPECT_EQ(flagsOf(1), (Flags{false, true})) << "the later record takes the primary flag, both are members";
  EXPECT_EQ(flagsOf(2), (Flags{true, true}));
}

// The canvas's one-pass selectLayers against the per-record selection with Shift it stands for, over random
// records, groups of them (nested too) and repeats.
TEST_F(SelectionClickTest, SelectLayersAgreesWithSelectingEachRecordWithShift) {
  const unsigned seed = randomTestSeed("SelectionClickTest.SelectLayersAgreesWithSelectingEachRecordWithShift");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const auto record = [&]() -> platform::DictRef {
    const std::int32_t id = static_cast<std::int32_t>(random() % 3) + 1;  // 3 matches no layer
    return id <= 2 ? layerWithId(id)->data() : platform::Dictionary::make({{"id", 3}});
  };
  for (int round = 0; round < 200; ++round) {
    std::vector<platform::DictRef> records;
    for (unsigned n = random() % 4; n > 0; --n) {
      if (random() % 3 == 0) {
        platform::ArrayRef items = platform::Array::make({record()});
        if (random() % 2) items->add(platform::Dictionary::make({{"type", 3}, {"items", platform::Array::make({record()})}}));
        records.push_back(platform::Dictionary::make({{"id", 50}, {"type", 3}, {"items", items}}));
      } else {
        records.push_back(record());
      }
    }
    const Flags start1{random() % 2 == 0, random() % 2 == 0};
    const Flags start2{random() % 2 == 0, random() % 2 == 0};
    const auto setFlags = [&] {
      layerWithId(1)->setSelected(start1.selected);
      layerWithId(1)->setSelectedAsPartOfGroup(start1.member);
      layerWithId(2)->setSelected(start2.selected);
      layerWithId(2)->setSelectedAsPartOfGroup(start2.member);
    };
    setFlags();
    for (const auto& layer : canvas_->layers()) layer->setSelectedAsPartOfGroup(false);
    for (const auto& each : records) canvas_->selectLayer(each, true, each->get("type").intValue() == 3);
    const Flags expected1 = flagsOf(1), expected2 = flagsOf(2);
    setFlags();
    canvas_->selectLayers(records);
    ASSERT_EQ(flagsOf(1), expected1) << "round " << round;
    ASSERT_EQ(flagsOf(2), expected2) << "round " << round;
  }
}

TEST_F(SelectionClickTest, SelectAllMakesTheBottomLayerCurrentAndTellsTheWindowOnce) {
  canvas_->selectAll();
  EXPECT_EQ(controller().selectAllRelays, 1);
  ASSERT_TRUE(canvas_->selectedLayer());
  EXPECT_EQ(canvas_->selectedLayer()->layerId(), 1);
  EXPECT_EQ(flagsOf(1), (Flags{true, true}));
  EXPECT_EQ(flagsOf(2), (Flags{false, true}));
  ASSERT_EQ(controller().selections.size(), 1u);
  canvas_->selectAll();
  EXPECT_EQ(controller().selections.size(), 1u) << "with a current layer nothing is reported again";
}

}  // namespace
