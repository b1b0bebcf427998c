// Mask clipping of a layer: which mask records give clip paths, and the balanced
// save and restore around the layer's drawing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../platform/graphics/graphics_test_canvas.h"
#include "document/CMLayer.h"
#include "platform/core/geometry_strings.h"

namespace {

using platform::Array;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::Rect;

DictRef corner(std::int32_t id, platform::Point point, std::int32_t type) {
  return Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(point)}, {"type", type}});
}

// A rectangle shape layer record of the given frame, as a mask.
DictRef maskRecord(const Rect& frame, bool visible, bool isMask) {
  const double w = frame.size.width;
  const double h = frame.size.height;
  DictRef shape = Dictionary::make({{"points", Array::make({corner(1, {0, 0}, 1), corner(2, {0, h}, 2),
                                                            corner(3, {w, h}, 2), corner(4, {w, 0}, 10)})}});
  return Dictionary::make({{"type", 0},
                           {"shape_type", 0},
                           {"shape", shape},
                           {"x", frame.origin.x},
                           {"y", frame.origin.y},
                           {"visible", visible},
                           {"ismask", isMask}});
}

TEST(LayerBaseMasksTest, OnlyVisibleMaskRecordsGiveClipPaths) {
  DictRef record = Dictionary::make(
      {{"masks", Array::make({maskRecord({100, 100, 5, 5}, true, false), maskRecord({10, 20, 60, 40}, true, true),
                              maskRecord({0, 0, 80, 80}, false, true)})}});
  CMLayer layer(record);
  layer.addClipPath(BezierPath::rect({0, 0, 1, 1}));  // left from an earlier draw
  layer.applyClipPaths();
  ASSERT_EQ(layer.clipPaths().size(), 1u);
  EXPECT_EQ(layer.clipPaths()[0].bounds(), (Rect{10, 20, 60, 40}));
}

TEST(LayerBaseMasksTest, NoMaskListGivesNoClipPaths) {
  CMLayer layer(Dictionary::make({{"masks", "not a list"}}));
  layer.addClipPath(BezierPath::rect({0, 0, 1, 1}));
  layer.applyClipPaths();
  EXPECT_TRUE(layer.clipPaths().empty());
}

class LayerBaseClipBracketTest : public ::testing::Test {
 protected:
  LayerBaseClipBracketTest() {
    layer_.addClipPath(BezierPath::rect({0, 0, 100, 100}));
    layer_.addClipPath(BezierPath::rect({50, 40, 100, 100}));
    context().saveGraphicsState();
    context().clipToRect(outer_);
  }

  platform::GraphicsContext& context() { return canvas_.context(); }

  platform::testing::GraphicsCanvas canvas_{200, 200};
  CMLayer layer_{Dictionary::make()};
  const Rect outer_{0, 0, 180, 170};
};

TEST_F(LayerBaseClipBracketTest, ClipsIntersectAndTheEndRestoresExactlyWhatTheBeginSaved) {
  layer_.beginClipPath(context());
  EXPECT_EQ(context().clipBoundingBox(), (Rect{50, 40, 50, 60}));
  layer_.endClipPath(context());
  // One restore too many would lose the outer clip, one too few would keep the masks'.
  EXPECT_EQ(context().clipBoundingBox(), outer_);
  context().restoreGraphicsState();
  EXPECT_EQ(context().clipBoundingBox(), (Rect{0, 0, 200, 200}));
}

TEST_F(LayerBaseClipBracketTest, ClipPathsChangedWhileDrawingDoNotUnbalanceTheEnd) {
  layer_.beginClipPath(context());
  layer_.erasePaths();
  layer_.addClipPath(BezierPath::rect({0, 0, 10, 10}));
  layer_.addClipPath(BezierPath::rect({0, 0, 10, 10}));
  layer_.addClipPath(BezierPath::rect({0, 0, 10, 10}));
  layer_.endClipPath(context());
  EXPECT_EQ(context().clipBoundingBox(), outer_);
  // A second end restores nothing more.
  layer_.endClipPath(context());
  EXPECT_EQ(context().clipBoundingBox(), outer_);
}

}  // namespace
