#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "document/CMGradientEditorService.h"
#include "document/CMShapeLayer.h"
#include "document_test_support.h"
#include "shape_layer_support.h"

using platform::Dictionary;
using platform::DictRef;
using platform::Point;

namespace {

using document_testing::entryAt;
using document_testing::frameShape;
using document_testing::holdsNonFinite;
using document_testing::pointOf;
using document_testing::shapeLayerRecord;

class CountingEditor final : public CMGradientEditorService {
 public:
  void update() override { ++updates; }
  int updates = 0;
};

class ShapeLayerGradient : public ::testing::Test {
 protected:
  ShapeLayerGradient() : previous_(CMGradientEditorService::install(editor_)) {}
  ~ShapeLayerGradient() override { CMGradientEditorService::install(previous_); }

  // A layer whose frame is `frame` with a gradient fill of the given gradient record.
  DictRef layerRecord(DictRef gradient, const platform::Rect& frame = {0, 0, 200, 100}, double x = 0, double y = 0) {
    DictRef shape = frameShape(frame);
    shape->set("fill", Dictionary::make({{"use", true}, {"type", 3}, {"gradient", std::move(gradient)}}));
    return shapeLayerRecord(0, shape, x, y);
  }

  static DictRef gradientOf(const DictRef& layer) {
    return layer->dictionary("shape")->dictionary("fill")->dictionary("gradient");
  }

  document_testing::ScratchFolders folders_;
  std::shared_ptr<CountingEditor> editor_ = std::make_shared<CountingEditor>();

 private:
  std::shared_ptr<CMGradientEditorService> previous_;
};

void expectPointNear(Point actual, Point expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-4);
  EXPECT_NEAR(actual.y, expected.y, 1e-4);
}

TEST_F(ShapeLayerGradient, RadialHandlesStandAtTheCentreAndFourTenthsOfTheWidthRight) {
  CMShapeLayer layer(layerRecord(Dictionary::make({{"type", 1}})));
  const platform::ArrayRef handles = layer.gradientEditingPoints();
  ASSERT_TRUE(handles);
  ASSERT_EQ(handles->size(), 2u);
  EXPECT_EQ(entryAt(handles, 0)->get("type").integerValue(), 18);
  EXPECT_EQ(pointOf(entryAt(handles, 0)), (Point{180, 50}));
  EXPECT_EQ(entryAt(handles, 1)->get("type").integerValue(), 17);
  EXPECT_EQ(pointOf(entryAt(handles, 1)), (Point{100, 50}));
  EXPECT_EQ(layer.findPoint(17), (Point{100, 50}));
  EXPECT_EQ(layer.findPoint(99), (Point{0, 0}));
  // On a canvas at 200 % they stay in the layer's units: the canvas zooms them as it draws and hits them.
  layer.setZoomTransform({2, 0, 0, 2, 0, 0});
  EXPECT_EQ(pointOf(entryAt(layer.gradientEditingPoints(), 0)), (Point{180, 50}));
}

TEST_F(ShapeLayerGradient, OffsetsAndRadiusFactorMoveTheHandles) {
  // Centre (10 + 100 + 0.25·200, 20 + 50 − 0.1·100); radius 0.5 · 80 to the right.
  CMShapeLayer layer(
      layerRecord(Dictionary::make({{"type", 0}, {"fx", 0.25f}, {"fy", -0.125f}, {"radius_factor", 0.5f}}),
                  {0, 0, 200, 100}, 10, 20));
  const platform::ArrayRef handles = layer.gradientEditingPoints();
  expectPointNear(pointOf(entryAt(handles, 0)), {200, 57.5});
  expectPointNear(pointOf(entryAt(handles, 1)), {160, 57.5});
}

TEST_F(ShapeLayerGradient, AngledHandleTurnsAgainstTheAngle) {
  CMShapeLayer upward(layerRecord(Dictionary::make({{"type", 2}, {"angle", 90.0f}})));
  expectPointNear(pointOf(entryAt(upward.gradientEditingPoints(), 0)), {100, -30});
  CMShapeLayer thirty(layerRecord(Dictionary::make({{"type", 2}, {"angle", 30.0f}})));
  // Turned by 330°: (80·cos 330°, 80·sin 330°) from the centre.
  expectPointNear(pointOf(entryAt(thirty.gradientEditingPoints(), 0)), {100 + 40 * std::sqrt(3.0), 10});
}

TEST_F(ShapeLayerGradient, RadiusHandleIsClampedBetweenOneUnitAndAHundredWidths) {
  DictRef record = layerRecord(Dictionary::make({{"type", 1}}));
  CMShapeLayer layer(record);
  const DictRef gradient = gradientOf(record);
  layer.setGradientPoint({100.5, 50});
  EXPECT_TRUE(gradient->get("radius_factor").isReal32());
  EXPECT_FLOAT_EQ(gradient->get("radius_factor").floatValue(), 1.0f / 80);
  layer.setGradientPoint({30000, 50});
  EXPECT_FLOAT_EQ(gradient->get("radius_factor").floatValue(), 250);
  layer.setGradientPoint({20, 50});  // left of the centre
  EXPECT_FLOAT_EQ(gradient->get("radius_factor").floatValue(), 1.0f / 80);
  layer.setGradientPoint({260, 0});  // only the horizontal distance counts
  EXPECT_FLOAT_EQ(gradient->get("radius_factor").floatValue(), 2);
  EXPECT_EQ(editor_->updates, 4);
  EXPECT_TRUE(layer.dirty());
  EXPECT_FALSE(gradient->contains("angle"));
}

TEST_F(ShapeLayerGradient, AngledGradientTakesItsAngleFromTheDragDirection) {
  DictRef record = layerRecord(Dictionary::make({{"type", 2}}));
  CMShapeLayer layer(record);
  const DictRef gradient = gradientOf(record);
  const struct {
    Point offset;
    float angle;
  } drags[] = {{{10, 0}, 0}, {{0, 10}, -90}, {{-10, 0}, -180}, {{0, -10}, 90}};
  for (const auto& drag : drags) {
    layer.setGradientPoint({100 + drag.offset.x, 50 + drag.offset.y});
    EXPECT_FLOAT_EQ(gradient->get("angle").floatValue(), drag.angle) << drag.offset.x << ", " << drag.offset.y;
    EXPECT_FLOAT_EQ(gradient->get("radius_factor").floatValue(), 10.0f / 80);
  }
  // A drag onto the centre has no direction: angle 90 − 0.
  layer.setGradientPoint({100, 50});
  EXPECT_FLOAT_EQ(gradient->get("angle").floatValue(), 90);

  // Dropping the handle where it is shown keeps the gradient.
  gradient->set("angle", 30.0f);
  gradient->set("radius_factor", 1.5f);
  layer.setGradientPoint(layer.findPoint(18));
  EXPECT_NEAR(gradient->get("angle").floatValue(), 30, 1e-3);
  EXPECT_NEAR(gradient->get("radius_factor").floatValue(), 1.5, 1e-5);
}

TEST_F(ShapeLayerGradient, CentreDragOnALeftToRightGradientChangesOnlyFx) {
  DictRef record = layerRecord(Dictionary::make({{"type", 0}, {"fy", 0.5f}}));
  CMShapeLayer layer(record);
  const DictRef gradient = gradientOf(record);
  layer.setGradientCentralPoint({150, 80});
  EXPECT_FLOAT_EQ(gradient->get("fx").floatValue(), 0.25f);
  EXPECT_FLOAT_EQ(gradient->get("fy").floatValue(), 0.5f);
  EXPECT_EQ(editor_->updates, 1);
  EXPECT_TRUE(layer.dirty());

  gradient->set("type", 1);
  layer.setGradientCentralPoint({50, 80});
  EXPECT_FLOAT_EQ(gradient->get("fx").floatValue(), -0.25f);
  EXPECT_FLOAT_EQ(gradient->get("fy").floatValue(), 0.3f);
  expectPointNear(layer.findPoint(17), {50, 80});
}

TEST_F(ShapeLayerGradient, FrameWithoutWidthOrHeightWritesNothing) {
  for (const platform::Rect frame : {platform::Rect{0, 0, 0, 100}, platform::Rect{0, 0, 200, 0}}) {
    for (const std::int64_t type : {0, 1, 2}) {
      DictRef record = layerRecord(Dictionary::make({{"type", type}}), frame);
      const DictRef before = platform::dictionaryCopy(record);
      CMShapeLayer layer(record);
      layer.setGradientPoint({300, 300});
      layer.setGradientCentralPoint({300, 300});
      EXPECT_TRUE(record->isEqual(*before));
      EXPECT_FALSE(layer.dirty());
    }
  }
  EXPECT_EQ(editor_->updates, 0);
}

TEST_F(ShapeLayerGradient, OtherFillsHaveNoGradientHandles) {
  DictRef colourFill = shapeLayerRecord(0, frameShape({0, 0, 200, 100}));
  colourFill->dictionary("shape")->set("fill", Dictionary::make({{"use", true}, {"type", 1}}));
  DictRef unknownGradient = layerRecord(Dictionary::make({{"type", 5}}));
  DictRef noGradientRecord = shapeLayerRecord(0, frameShape({0, 0, 200, 100}));
  noGradientRecord->dictionary("shape")->set("fill", Dictionary::make({{"type", 3}}));
  for (const DictRef& record : {colourFill, unknownGradient, noGradientRecord}) {
    const DictRef before = platform::dictionaryCopy(record);
    CMShapeLayer layer(record);
    EXPECT_FALSE(layer.gradientEditingPoints());
    layer.setGradientPoint({150, 50});
    EXPECT_TRUE(record->isEqual(*before));
  }
  EXPECT_EQ(editor_->updates, 0);
}

TEST_F(ShapeLayerGradient, NoNonFiniteNumberReachesTheGradient) {
  DictRef record = layerRecord(Dictionary::make({{"type", 2}}));
  CMShapeLayer layer(record);
  for (const Point p : {Point{INFINITY, 0}, Point{NAN, NAN}, Point{-INFINITY, 1e308}, Point{1e308, -1e308}}) {
    layer.setGradientPoint(p);
    layer.setGradientCentralPoint(p);
  }
  EXPECT_FALSE(holdsNonFinite(record));

  // A frame so thin that the radius factor leaves single precision.
  DictRef thin = layerRecord(Dictionary::make({{"type", 1}}), {0, 0, 1e-40, 100});
  CMShapeLayer thinLayer(thin);
  thinLayer.setGradientPoint({500, 50});
  EXPECT_FALSE(holdsNonFinite(thin));

  // A hostile radius factor has no place to be shown.
  DictRef hostile = layerRecord(Dictionary::make({{"type", 1}, {"radius_factor", 1e39}}));
  EXPECT_FALSE(CMShapeLayer(hostile).gradientEditingPoints());
}

}  // namespace
