// Group, ungroup and the stacking commands through the canvas on a real document: where the records go, one
// undo step each, and nothing registered when nothing moves.

#include <gtest/gtest.h>

#include "document/CMNotificationNames.h"
#include "layer_commands_test_support.h"
#include "platform/core/notification_center.h"

namespace {

using canvas_testing::filledRectangle;
using layer_commands_testing::groupOf;
using layer_commands_testing::LayerCommandsTest;
using layer_commands_testing::sameContent;
using platform::DictRef;

DictRef layerAt(std::int64_t id, std::int64_t position) {
  DictRef record = filledRectangle(id, {10.0 * id, 10, 20, 20}, 200, 0, 0);
  record->set("position", position);
  return record;
}

std::vector<std::int64_t> memberIds(const DictRef& group) { return document_testing::idsOf(group->array("items")); }

std::vector<std::int32_t> selectedIds(const CMEditorView& canvas) {
  std::vector<std::int32_t> ids;
  for (const auto& layer : canvas.allSelectedLayers()) ids.push_back(layer->layerId());
  std::sort(ids.begin(), ids.end());
  return ids;
}

TEST_F(LayerCommandsTest, GroupGathersTheLayersInPositionOrderAtTheTopOfTheirList) {
  show({layerAt(1, 5), layerAt(2, 1), layerAt(3, 2), layerAt(4, 9), layerAt(5, 3)});
  const platform::Value before = snapshot();
  select(1, {3, 4});
  canvas().group();
  ASSERT_EQ(rootIds().size(), 3u);
  EXPECT_EQ(rootIds()[0], 2);
  EXPECT_EQ(rootIds()[1], 5);
  const DictRef group = root(2);
  EXPECT_EQ(group->get("type").intValue(), 3);
  EXPECT_EQ(memberIds(group), (std::vector<std::int64_t>{3, 1, 4}));
  EXPECT_EQ(undoSteps(), 1u);
  // Only the members stay selected, none as the primary layer; the window is told of the group record.
  EXPECT_EQ(selectedIds(canvas()), (std::vector<std::int32_t>{1, 3, 4}));
  EXPECT_TRUE(canvas().layerSelected().empty());
  ASSERT_FALSE(controller().selections.empty());
  EXPECT_EQ(controller().selections.back().record, group);
  EXPECT_EQ(controller().propertyUpdates, 1);
  refresh();
  EXPECT_EQ(selectedIds(canvas()), (std::vector<std::int32_t>{1, 3, 4}));

  undo();
  EXPECT_TRUE(sameContent(platform::Value(rootLayers()), before));
  redo();
  ASSERT_EQ(rootIds().size(), 3u);
  EXPECT_EQ(memberIds(root(2)), (std::vector<std::int64_t>{3, 1, 4}));
}

TEST_F(LayerCommandsTest, GroupAndUngroupRefuseLayersThatAreNotAtOneLevel) {
  // "group_level" is not written yet: the depth comes from the tree.
  show({layerAt(1, 1), groupOf(100, {layerAt(2, 1), layerAt(3, 2)}), layerAt(4, 3)});
  const platform::Value before = snapshot();
  select(1, {2});
  canvas().group();
  canvas().ungroup();
  // Layers at the top level have no group to leave.
  select(1, {4});
  canvas().ungroup();
  // A record the tree does not hold, and one given twice.
  canvas().group({filledRectangle(7, {0, 0, 5, 5}, 0, 0, 0)});
  canvas().group({root(0), root(0)});
  EXPECT_TRUE(sameContent(snapshot(), before));
  EXPECT_EQ(undoSteps(), 0u);
}

TEST_F(LayerCommandsTest, UngroupMovesTheMembersOutAndRemovesTheFirstEmptyGroup) {
  show({layerAt(1, 1), groupOf(100, {layerAt(2, 7), layerAt(3, 4)}), groupOf(200, {}), layerAt(4, 3)});
  const platform::Value before = snapshot();
  select(2, {3});
  canvas().ungroup();
  // The emptied group was the first empty one; the later one stays.
  EXPECT_EQ(rootIds(), (std::vector<std::int64_t>{1, 200, 4, 3, 2}));
  EXPECT_EQ(undoSteps(), 1u);
  undo();
  EXPECT_TRUE(sameContent(snapshot(), before));
  EXPECT_EQ(memberIds(root(1)), (std::vector<std::int64_t>{2, 3}));
  redo();
  EXPECT_EQ(rootIds(), (std::vector<std::int64_t>{1, 200, 4, 3, 2}));
}

TEST_F(LayerCommandsTest, UngroupInsideAGroupLandsInTheOuterGroup) {
  show({groupOf(100, {layerAt(1, 1), groupOf(200, {layerAt(2, 1), layerAt(3, 2)})})});
  select(3, {2});
  canvas().ungroup();
  EXPECT_EQ(rootIds(), (std::vector<std::int64_t>{100}));
  EXPECT_EQ(memberIds(root(0)), (std::vector<std::int64_t>{1, 2, 3}));
}

struct OrderCase {
  const char* name;
  void (CMEditorView::*command)();
  std::int32_t primary;
  std::vector<std::int64_t> rootAfter;
  std::vector<std::int64_t> groupAfter;
  // Names the case in test listings instead of dumping its bytes, pointers included.
  friend void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.name; }
};

class StackingOrder : public LayerCommandsTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(StackingOrder, MovesThePrimaryLayerInsideItsList) {
  const OrderCase& expected = GetParam();
  show({layerAt(1, 1), layerAt(2, 2), groupOf(4, {layerAt(5, 1), layerAt(6, 2), layerAt(7, 3)}), layerAt(3, 3)});
  const platform::Value before = snapshot();
  select(expected.primary);
  std::vector<const void*> senders;
  const platform::ObserverToken token = platform::NotificationCenter::defaultCenter().addObserver(
      kNotificationLayersChanged, [&](const platform::Notification& note) { senders.push_back(note.object); });
  (canvas().*expected.command)();
  const std::vector<std::int64_t> ids = rootIds();
  ASSERT_EQ(ids, expected.rootAfter);
  EXPECT_EQ(memberIds(root(static_cast<std::size_t>(std::find(ids.begin(), ids.end(), 4) - ids.begin()))),
            expected.groupAfter);
  const bool moved = !sameContent(snapshot(), before);
  EXPECT_EQ(undoSteps(), moved ? 1u : 0u);
  EXPECT_EQ(senders, moved ? std::vector<const void*>{&canvas()} : std::vector<const void*>{});
  if (moved) {
    undo();
    EXPECT_TRUE(sameContent(snapshot(), before));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, StackingOrder,
    ::testing::Values(OrderCase{"ForwardAtTheTop", &CMEditorView::bringForward, 3, {1, 2, 4, 3}, {5, 6, 7}},
                      OrderCase{"BackwardAtTheBottom", &CMEditorView::sendTobackward, 1, {1, 2, 4, 3}, {5, 6, 7}},
                      OrderCase{"FrontAtTheTop", &CMEditorView::bringToFront, 3, {1, 2, 4, 3}, {5, 6, 7}},
                      OrderCase{"BackAtTheBottom", &CMEditorView::sendToBack, 1, {1, 2, 4, 3}, {5, 6, 7}},
                      OrderCase{"ToBack", &CMEditorView::sendToBack, 3, {3, 1, 2, 4}, {5, 6, 7}},
                      OrderCase{"ToFront", &CMEditorView::bringToFront, 1, {2, 4, 3, 1}, {5, 6, 7}},
                      OrderCase{"Forward", &CMEditorView::bringForward, 2, {1, 4, 2, 3}, {5, 6, 7}},
                      OrderCase{"Backward", &CMEditorView::sendTobackward, 2, {2, 1, 4, 3}, {5, 6, 7}},
                      OrderCase{"ForwardInAGroup", &CMEditorView::bringForward, 5, {1, 2, 4, 3}, {6, 5, 7}},
                      OrderCase{"ToBackInAGroup", &CMEditorView::sendToBack, 7, {1, 2, 4, 3}, {7, 5, 6}}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

}  // namespace
