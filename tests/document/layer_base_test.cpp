// The layer object base: the record it wraps, geometry written back as integers,
// transforms into the canvas, resize and rotation handles, selection and the base drawing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "../platform/graphics/graphics_test_canvas.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "document_test_support.h"
#include "layer_test_support.h"
#include "platform/core/geometry_strings.h"

namespace {

using document_testing::LayerChangedCounter;
using document_testing::RecordRectLayer;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

DictRef rectRecord(double x, double y, double width, double height) {
  return Dictionary::make({{"x", x}, {"y", y}, {"width", width}, {"height", height}});
}

TEST(LayerBaseRecordTest, DirtyTravelsFromTheRecordToTheFirstObjectOnly) {
  DictRef record = Dictionary::make({{"dirty", true}});
  CMLayer first(record);
  EXPECT_TRUE(first.dirty());
  ASSERT_TRUE(record->contains("dirty"));
  EXPECT_FALSE(record->get("dirty").boolValue());
  CMLayer second(record);
  EXPECT_FALSE(second.dirty());
  EXPECT_EQ(first.data(), record);  // shared, not copied

  DictRef clean = Dictionary::make();
  CMLayer plain(clean);
  EXPECT_FALSE(plain.dirty());
  EXPECT_FALSE(clean->contains("dirty"));
}

TEST(LayerBaseRecordTest, MissingKeysReadAsZeroAndTheBaseHasNoGeometry) {
  CMLayer layer(Dictionary::make({{"id", 42}, {"visible", true}, {"x", "12.5"}}));
  EXPECT_EQ(layer.layerId(), 42);
  EXPECT_TRUE(layer.isVisible());
  EXPECT_EQ(layer.originPoint(), (Point{12.5, 0}));
  EXPECT_EQ(layer.layerRect(), platform::Rect{});
  EXPECT_EQ(layer.originalSize(), platform::Size{});
  EXPECT_TRUE(layer.path().isEmpty());
  EXPECT_TRUE(layer.framePath().isEmpty());
  EXPECT_EQ(layer.lineEditingPoints(), nullptr);
  EXPECT_EQ(layer.pathEditingPoints(), nullptr);
  EXPECT_EQ(layer.gradientEditingPoints(), nullptr);

  CMLayer bare(Dictionary::make());
  EXPECT_EQ(bare.layerId(), 0);
  EXPECT_FALSE(bare.isVisible());
  EXPECT_EQ(bare.viewZoom(), 1.0f);
  EXPECT_EQ(bare.backZoomTransform(), nullptr);
}

TEST(LayerBaseRecordTest, VectorViewModeOffResetsTheViewZoom) {
  CMLayer layer(Dictionary::make());
  layer.setViewZoom(3);
  layer.setVectorViewMode(true);
  EXPECT_EQ(layer.viewZoom(), 3.0f);
  layer.setVectorViewMode(false);
  EXPECT_FALSE(layer.vectorViewMode());
  EXPECT_EQ(layer.viewZoom(), 1.0f);
}

class LayerBaseSettersTest : public ::testing::Test {
 protected:
  DictRef record_ = rectRecord(5, 6, 7, 8);
  RecordRectLayer layer_{record_};
  LayerChangedCounter posts_;
};

TEST_F(LayerBaseSettersTest, OriginPointTruncatesTowardZeroAndPostsWithoutDirtying) {
  layer_.setOriginPoint({10.9, -3.7});
  EXPECT_TRUE(record_->get("x").isInteger());
  EXPECT_EQ(record_->get("x").integerValue(), 10);
  EXPECT_EQ(record_->get("y").integerValue(), -3);
  EXPECT_EQ(posts_.count, 1);
  EXPECT_FALSE(layer_.dirty());
  EXPECT_EQ(layer_.rectUpdates, 1);
  EXPECT_EQ(layer_.cachedRect().origin, (Point{10, -3}));
}

TEST_F(LayerBaseSettersTest, OriginSizeTruncatesDirtiesAndPosts) {
  layer_.setOriginSize({20.99, -0.5});
  EXPECT_EQ(record_->get("width").integerValue(), 20);
  EXPECT_TRUE(record_->get("height").isInteger());
  EXPECT_EQ(record_->get("height").integerValue(), 0);
  EXPECT_EQ(posts_.count, 1);
  EXPECT_TRUE(layer_.dirty());
  EXPECT_EQ(layer_.rectUpdates, 1);
}

TEST_F(LayerBaseSettersTest, LayerRectWritesSizeThenOriginDirtiesAndPostsNothing) {
  DictRef fresh = Dictionary::make();
  RecordRectLayer layer(fresh);
  layer.setLayerRect({-1.5, 2.5, 30.2, 40.8});
  EXPECT_EQ(fresh->keys(), (std::vector<std::string>{"width", "height", "x", "y"}));
  EXPECT_EQ(layer.cachedRect(), (platform::Rect{-1, 2, 30, 40}));
  EXPECT_EQ(posts_.count, 0);
  EXPECT_TRUE(layer.dirty());
  EXPECT_EQ(layer.rectUpdates, 1);
}

TEST_F(LayerBaseSettersTest, HugeAndNonFiniteNumbersSaturate) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  layer_.setLayerRect({1e30, -1e30, nan, inf});
  EXPECT_EQ(record_->get("x").integerValue(), kIntMax);
  EXPECT_EQ(record_->get("y").integerValue(), kIntMin);
  EXPECT_EQ(record_->get("width").integerValue(), 0);
  EXPECT_EQ(record_->get("height").integerValue(), kIntMax);
  layer_.setOriginPoint({-inf, 2147483647.9});
  EXPECT_EQ(record_->get("x").integerValue(), kIntMin);
  EXPECT_EQ(record_->get("y").integerValue(), kIntMax);
  layer_.setOriginSize({nan, -2147483649.0});
  EXPECT_EQ(record_->get("width").integerValue(), 0);
  EXPECT_EQ(record_->get("height").integerValue(), kIntMin);
}

TEST_F(LayerBaseSettersTest, RotationIsStoredAsAFloatPostsAndMarksRotating) {
  layer_.setRotation(30.25f);
  EXPECT_TRUE(record_->get("rotate").isReal32());
  EXPECT_EQ(record_->get("rotate").doubleValue(), 30.25);
  EXPECT_EQ(posts_.count, 1);
  EXPECT_EQ(layer_.editingType(), kCMEditingTypeRotating);
  // A non-finite angle never reaches the record.
  layer_.setRotation(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(record_->get("rotate").doubleValue(), 30.25);
}

TEST(LayerBaseTransformsTest, MapLayerPointsIntoTheCanvasAndBack) {
  CMLayer layer(rectRecord(10, 20, 0, 0));
  layer.setViewZoom(2);
  EXPECT_EQ(layer.transform().transformPoint({1, 1}), (Point{22, 42}));       // 2·((1, 1) + (10, 20))
  EXPECT_EQ(layer.transform2().transformPoint({1, 1}), (Point{21, 41}));      // (1, 1) + 2·(10, 20)
  EXPECT_EQ(layer.backTransform().transformPoint({22, 42}), (Point{6, 11}));  // ((22, 42) − (10, 20)) / 2
  EXPECT_EQ(layer.backTransform2().transformPoint({11, 21}), (Point{1, 1}));
  // At zoom 1 the back transform undoes the transform.
  layer.setViewZoom(1);
  EXPECT_EQ(layer.backTransform().transformPoint(layer.transform().transformPoint({3, -4})), (Point{3, -4}));
  // A zero view zoom never produces an infinite transform.
  layer.setViewZoom(0);
  const Point back = layer.backTransform().transformPoint({5, 5});
  EXPECT_TRUE(std::isfinite(back.x) && std::isfinite(back.y));
}

struct ExpectedHandle {
  std::int32_t type;
  Point point;
};

void expectHandles(const platform::ArrayRef& handles, const std::vector<ExpectedHandle>& expected) {
  ASSERT_NE(handles, nullptr);
  ASSERT_EQ(handles->size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const DictRef handle = handles->at(i).dictionary();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->get("type").intValue(), expected[i].type) << "handle " << i;
    const Point at = platform::pointFromString(handle->get("point").string());
    EXPECT_NEAR(at.x, expected[i].point.x, 1e-4) << "handle " << i;
    EXPECT_NEAR(at.y, expected[i].point.y, 1e-4) << "handle " << i;
  }
}

TEST(LayerBaseHandlesTest, RotationHandlesStandTenUnitsBeyondTheHalfDiagonalInTheFixedOrder) {
  RecordRectLayer layer(rectRecord(0, 0, 30, 40));
  // Half-diagonal 25, so the rotation handles are 35 above and below the centre (15, 20).
  expectHandles(layer.editingPoints(), {{10, {15, 55}},
                                        {11, {15, -15}},
                                        {7, {0, 0}},
                                        {8, {0, 40}},
                                        {6, {30, 40}},
                                        {5, {30, 0}},
                                        {3, {15, 0}},
                                        {4, {15, 40}},
                                        {2, {0, 20}},
                                        {1, {30, 20}}});
}

TEST(LayerBaseHandlesTest, TheLayerOffsetGrowsTheFrameByHalfOnEverySide) {
  RecordRectLayer layer(rectRecord(100, 200, 30, 40));
  layer.offset = 4;
  // The frame becomes (98, 198, 34, 44).
  const double d = (std::hypot(34.0, 44.0) + 20) / 2;
  expectHandles(layer.editingPoints(), {{10, {115, 220 + d}},
                                        {11, {115, 220 - d}},
                                        {7, {98, 198}},
                                        {8, {98, 242}},
                                        {6, {132, 242}},
                                        {5, {132, 198}},
                                        {3, {115, 198}},
                                        {4, {115, 242}},
                                        {2, {98, 220}},
                                        {1, {132, 220}}});
}

class LayerBaseSelectionTest : public ::testing::Test {
 protected:
  document_testing::ScratchFolders folders_;
  RecordRectLayer layer_{rectRecord(0, 0, 10, 10)};
};

TEST_F(LayerBaseSelectionTest, PathPointModePreparesEditingOnceAndDeselectingEndsItOnce) {
  CMProject::shareProject().setEditMode(kCMEditModePathPoints);
  layer_.setSelected(true);
  layer_.setSelected(true);
  EXPECT_TRUE(layer_.selected());
  EXPECT_EQ(layer_.preparations, 1);
  EXPECT_EQ(layer_.endings, 0);
  layer_.setSelected(false);
  layer_.setSelected(false);
  EXPECT_FALSE(layer_.selected());
  EXPECT_EQ(layer_.preparations, 1);
  EXPECT_EQ(layer_.endings, 1);
}

TEST_F(LayerBaseSelectionTest, OtherModesOnlyEndEditingOnDeselection) {
  CMProject::shareProject().setEditMode(kCMEditModeObject);
  layer_.setSelected(true);
  EXPECT_EQ(layer_.preparations, 0);
  CMProject::shareProject().setEditMode(kCMEditModeGradient);
  layer_.setSelected(false);
  EXPECT_EQ(layer_.endings, 1);
  // Deselecting a layer that was never selected ends nothing.
  layer_.setSelected(false);
  EXPECT_EQ(layer_.endings, 1);
}

TEST(LayerBaseDrawingTest, TheBaseDrawsAnOpaqueBlackSquareAtTenTen) {
  platform::testing::GraphicsCanvas canvas(80, 80);
  canvas.context().setFillColor(platform::Color(1, 0, 0, 0.5));
  CMLayer::setFillColor(canvas.context());
  EXPECT_EQ(canvas.context().fillColor(), platform::Color(0, 0, 0, 1));

  CMLayer layer(Dictionary::make());
  layer.drawL(canvas.context(), {0, 0, 80, 80});
  // Rows count from the top; the context is y-up, so user y = 79 − row.
  auto atUser = [&canvas](int x, int y) { return canvas.at(x, 79 - y); };
  EXPECT_EQ(atUser(10, 10).a, 255);
  EXPECT_EQ(atUser(59, 59).a, 255);
  EXPECT_EQ(atUser(35, 35).r + atUser(35, 35).g + atUser(35, 35).b, 0);
  EXPECT_EQ(atUser(9, 35).a, 0);
  EXPECT_EQ(atUser(60, 35).a, 0);
  EXPECT_EQ(atUser(35, 60).a, 0);
  EXPECT_EQ(atUser(35, 9).a, 0);
}

}  // namespace
