// Random layer commands on random selections of a drawing of every layer kind with nested groups: each command
// is at most one undo step, undoing them all gives back the drawing, redoing them all gives back the last state,
// and no record ever holds a number that is not finite. The seed is printed; set DRAFTWORK_TEST_SEED to replay one.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "layer_commands_test_support.h"
#include "../random_test_seed.h"

namespace {

using document_testing::curveRecord;
using document_testing::pointRecord;
using layer_commands_testing::defaultLayer;
using layer_commands_testing::filledShape;
using layer_commands_testing::groupOf;
using layer_commands_testing::LayerCommandsTest;
using layer_commands_testing::lineLayer;
using layer_commands_testing::sameContent;
using layer_commands_testing::withId;
using platform::DictRef;

constexpr void (CMEditorView::*kCommands[])() = {
    &CMEditorView::group,       &CMEditorView::ungroup,        &CMEditorView::flipH,
    &CMEditorView::flipV,       &CMEditorView::bringToFront,   &CMEditorView::bringForward,
    &CMEditorView::sendToBack,  &CMEditorView::sendTobackward, &CMEditorView::aligntop,
    &CMEditorView::alignbottom, &CMEditorView::alignleft,      &CMEditorView::alignright,
    &CMEditorView::pathUnion,   &CMEditorView::pathSubtract,   &CMEditorView::pathIntersect,
    &CMEditorView::pathDifference};


// Layer `id` of a kind chosen by the id, somewhere on a 400 × 300 page.
DictRef anyLayer(std::int64_t id, std::mt19937& random) {
  std::uniform_real_distribution<double> place(0, 300);
  std::uniform_real_distribution<double> size(10, 120);
  const platform::Rect frame{place(random), place(random) * 0.7, size(random), size(random)};
  switch (id % 8) {
    case 0: return filledShape(0, id, frame, 200, 0, 0);
    case 1: return filledShape(1, id, frame, 0, 0, 200);
    case 2: return filledShape(3, id, frame, 0, 200, 0);
    case 3: return lineLayer(id, frame.origin, {frame.origin.x + frame.size.width, frame.origin.y + frame.size.height});
    case 4: {
      // A pen curve still in clicks, measured from its first one.
      DictRef shape = platform::Dictionary::make(
          {{"start_point", platform::stringFromPoint(frame.origin)},
           {"points", platform::Array::make({pointRecord(1, frame.origin, 1),
                                             curveRecord(2, {frame.origin.x + 80, frame.origin.y + 30}, 4,
                                                         {frame.origin.x + 20, frame.origin.y},
                                                         {frame.origin.x + 80, frame.origin.y + 10})})}});
      return withId(document_testing::shapeLayerRecord(6, shape, frame.origin.x, frame.origin.y), id, id);
    }
    case 5: return defaultLayer("text", id, frame.origin);
    case 6: return defaultLayer("image", id, frame.origin);
    default: return filledShape(2, id, frame, 100, 100, 0);
  }
}

bool holdsNonFinite(const platform::DictRef& root) { return document_testing::holdsNonFinite(platform::Value(root)); }

TEST_F(LayerCommandsTest, RandomCommandsUndoAndRedoAsWholeSteps) {
  const std::uint32_t seed = randomTestSeed("LayerCommandsRandom");
  SCOPED_TRACE("DRAFTWORK_TEST_SEED=" + std::to_string(seed));
  std::mt19937 random(seed);
  // 30 layers: 20 at the top, a group of 6 holding a group of 4.
  std::vector<DictRef> top;
  for (std::int64_t id = 1; id <= 20; ++id) top.push_back(anyLayer(id, random));
  std::vector<DictRef> inner;
  for (std::int64_t id = 21; id <= 24; ++id) inner.push_back(anyLayer(id, random));
  std::vector<DictRef> outer{groupOf(100, inner)};
  for (std::int64_t id = 25; id <= 30; ++id) outer.push_back(anyLayer(id, random));
  top.insert(top.begin() + 7, groupOf(200, outer));
  show(top);
  const platform::Value original = snapshot();

  std::size_t steps = 0;
  for (int round = 0; round < 300; ++round) {
    const auto& layers = canvas().layers();
    ASSERT_FALSE(layers.empty());
    std::uniform_int_distribution<std::size_t> pick(0, layers.size() - 1);
    const std::int32_t primary = layers[pick(random)]->layerId();
    std::vector<std::int32_t> members;
    for (int count = std::uniform_int_distribution<int>(0, 4)(random); count > 0; --count)
      members.push_back(layers[pick(random)]->layerId());
    select(primary, members);
    const auto command = kCommands[std::uniform_int_distribution<std::size_t>(0, std::size(kCommands) - 1)(random)];
    (canvas().*command)();
    refresh();
    const std::size_t now = undoSteps();
    ASSERT_LE(now, steps + 1) << "round " << round;
    ASSERT_FALSE(document_->undoManager().inTransaction());
    ASSERT_FALSE(holdsNonFinite(document_->data())) << "round " << round;
    steps = now;
  }
  const platform::Value last = snapshot();
  while (document_->undoManager().canUndo()) undo();
  EXPECT_TRUE(sameContent(snapshot(), original));
  while (document_->undoManager().canRedo()) redo();
  EXPECT_TRUE(sameContent(snapshot(), last));
  EXPECT_FALSE(holdsNonFinite(document_->data()));
}

}  // namespace
