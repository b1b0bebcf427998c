// Turning a layer: the rotation transforms, the locked centre and its release, the
// context rotation, and the rotation read from imported transform strings.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "../platform/graphics/graphics_test_canvas.h"
#include "document/CMLayer.h"
#include "layer_test_support.h"
#include "platform/graphics/graphics_context.h"

namespace {

using document_testing::LayerChangedCounter;
using document_testing::RecordRectLayer;
using platform::AffineTransform;
using platform::Array;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;
using platform::Rect;

DictRef rectRecord(double x, double y, double width, double height) {
  return Dictionary::make({{"x", x}, {"y", y}, {"width", width}, {"height", height}});
}

// Turning `p` about `c` by `degrees` counter-clockwise, worked out independently in double precision.
Point turned(Point p, Point c, double degrees) {
  const double a = degrees * std::numbers::pi / 180;
  const double dx = p.x - c.x;
  const double dy = p.y - c.y;
  return {c.x + dx * std::cos(a) - dy * std::sin(a), c.y + dx * std::sin(a) + dy * std::cos(a)};
}

#define EXPECT_POINT_NEAR(actual, expected, tolerance) \
  do {                                                 \
    const Point a_ = (actual);                         \
    const Point e_ = (expected);                       \
    EXPECT_NEAR(a_.x, e_.x, tolerance);                \
    EXPECT_NEAR(a_.y, e_.y, tolerance);                \
  } while (false)

TEST(LayerBaseRotationTest, NoRotationIsTheIdentityAndTheRectVariantStillTurnsNothing) {
  CMLayer layer(Dictionary::make({{"rotate", 0}}));
  const BezierPath frame = BezierPath::rect({10, 10, 30, 40});
  EXPECT_EQ(layer.rotateTransform(&frame, nullptr), AffineTransform::identity());
  EXPECT_EQ(layer.rotateTransform(nullptr), AffineTransform::identity());
  EXPECT_POINT_NEAR(layer.rotateTransformInRect({10, 10, 30, 40}).transformPoint({3, 7}), (Point{3, 7}), 1e-9);
}

TEST(LayerBaseRotationTest, TurnsAboutTheCentreOfThePathOrTheOriginWithoutOne) {
  CMLayer layer(Dictionary::make({{"rotate", 90}}));
  const BezierPath frame = BezierPath::rect({0, 0, 30, 40});
  // About (15, 20): the right edge's midpoint goes to the top edge's.
  EXPECT_POINT_NEAR(layer.rotateTransform(&frame).transformPoint({30, 20}), (Point{15, 35}), 1e-5);
  EXPECT_POINT_NEAR(layer.rotateTransform(nullptr).transformPoint({10, 0}), (Point{0, 10}), 1e-5);
  EXPECT_POINT_NEAR(layer.rotateTransformInRect({100, 100, 10, 10}).transformPoint({110, 105}), (Point{105, 110}),
                    1e-5);
  // The back rotation undoes the rotation about the same centre.
  const Point p{-7, 13};
  EXPECT_POINT_NEAR(layer.backRotateTransform(&frame).transformPoint(layer.rotateTransform(&frame).transformPoint(p)),
                    p, 1e-4);
  EXPECT_POINT_NEAR(layer.backRotateTransform(Point{15, 20}).transformPoint({15, 35}), (Point{30, 20}), 1e-5);
}

TEST(LayerBaseRotationTest, ALockedCentreWinsOverThePathAndFollowsTheBackZoom) {
  CMLayer layer(Dictionary::make({{"rotate", 90}}));
  const BezierPath around = BezierPath::rect({90, 90, 20, 20});
  layer.lockCenter(&around);
  EXPECT_TRUE(layer.centerLocked());
  EXPECT_EQ(layer.centerPoint(), (Point{100, 100}));
  const BezierPath frame = BezierPath::rect({0, 0, 30, 40});
  EXPECT_POINT_NEAR(layer.rotateTransform(&frame).transformPoint({110, 100}), (Point{100, 110}), 1e-4);
  EXPECT_POINT_NEAR(layer.rotateTransformInRect({0, 0, 30, 40}).transformPoint({110, 100}), (Point{100, 110}), 1e-4);
  AffineTransform half;
  half.scaleBy(0.5);
  EXPECT_POINT_NEAR(layer.rotateTransform(&frame, &half).transformPoint({60, 50}), (Point{50, 60}), 1e-4);
  EXPECT_POINT_NEAR(layer.backRotateTransform(&frame, &half).transformPoint({50, 60}), (Point{60, 50}), 1e-4);
  EXPECT_POINT_NEAR(layer.backRotateTransform(&frame).transformPoint({100, 110}), (Point{110, 100}), 1e-4);
}

TEST(LayerBaseRotationTest, TheLockedCentreIsKeptInSinglePrecision) {
  CMLayer layer(Dictionary::make());
  const BezierPath tiny = BezierPath::rect({0, 0, 0.2, 0.2});
  layer.lockCenter(&tiny);
  EXPECT_EQ(layer.centerPoint().x, static_cast<double>(0.1f));
  EXPECT_NE(layer.centerPoint().x, 0.1);
  layer.lockCenter(nullptr);
  EXPECT_EQ(layer.centerPoint(), Point{});
}

TEST(LayerBaseRotationTest, AHostileRotationTurnsNothing) {
  CMLayer layer(Dictionary::make({{"rotate", std::numeric_limits<double>::quiet_NaN()}}));
  EXPECT_EQ(layer.rotateTransform(nullptr), AffineTransform::identity());
}

TEST(LayerBaseRotationTest, RotateTurnsTheCurrentContextOnlyWhenTheRecordHasARotation) {
  platform::testing::GraphicsCanvas canvas(50, 50);
  platform::CurrentContextScope scope(canvas.context());
  const AffineTransform before = canvas.context().currentTransform();
  RecordRectLayer plain(rectRecord(0, 0, 30, 40));
  plain.rotate();
  EXPECT_EQ(canvas.context().currentTransform(), before);

  DictRef record = rectRecord(0, 0, 30, 40);
  record->set("rotate", 90);
  RecordRectLayer turning(record);
  turning.rotate();
  // The frame's right midpoint now lands where its top midpoint was drawn.
  const AffineTransform after = canvas.context().currentTransform();
  EXPECT_POINT_NEAR(after.transformPoint({30, 20}), before.transformPoint({15, 35}), 1e-4);
}

class LayerBaseUnlockCenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const BezierPath elsewhere = BezierPath::rect({90, 70, 20, 20});
    layer_.lockCenter(&elsewhere);  // centre (100, 80)
    layer_.setRotation(30);
  }

  DictRef record_ = rectRecord(40, 60, 30, 40);
  RecordRectLayer layer_{record_};
};

TEST_F(LayerBaseUnlockCenterTest, MovesTheOriginSoTurningAboutTheOwnCentreKeepsThePicture) {
  layer_.setBackZoomTransform(AffineTransform::identity());
  const Point lockedCorner = turned({40, 60}, {100, 80}, 30);
  const Point lockedOpposite = turned({70, 100}, {100, 80}, 30);
  LayerChangedCounter posts;
  layer_.unlockCenter();
  EXPECT_FALSE(layer_.centerLocked());
  EXPECT_EQ(layer_.editingType(), 0);
  EXPECT_EQ(posts.count, 1);
  const Rect moved = layer_.layerRect();
  EXPECT_EQ(moved.size, (platform::Size{30, 40}));
  const Point ownCentre{moved.origin.x + 15, moved.origin.y + 20};
  // Origins are integers, so the picture may shift by less than a unit.
  EXPECT_POINT_NEAR(turned(moved.origin, ownCentre, 30), lockedCorner, 1.0);
  EXPECT_POINT_NEAR(turned({moved.origin.x + 30, moved.origin.y + 40}, ownCentre, 30), lockedOpposite, 1.0);
  // The frame now turns about its own centre, as the rotation transform says.
  EXPECT_POINT_NEAR(layer_.rotateTransform(nullptr).transformPoint({10, 0}), turned({10, 0}, {0, 0}, 30), 1e-4);
}

TEST_F(LayerBaseUnlockCenterTest, TheScrollOffsetOfTheBackZoomDoesNotMoveTheLayer) {
  // The origin moves by a displacement, so only the linear part of the back-zoom transform counts.
  AffineTransform scrolled;
  scrolled.translate(500, -300);
  layer_.setBackZoomTransform(scrolled);
  const Point lockedCorner = turned({40, 60}, {100, 80}, 30);
  layer_.unlockCenter();
  const Rect moved = layer_.layerRect();
  EXPECT_POINT_NEAR(turned(moved.origin, {moved.origin.x + 15, moved.origin.y + 20}, 30), lockedCorner, 1.0);
}

TEST_F(LayerBaseUnlockCenterTest, WithoutABackZoomTransformTheOriginStays) {
  layer_.unlockCenter();
  EXPECT_EQ(record_->get("x").doubleValue(), 40);
  EXPECT_EQ(record_->get("y").doubleValue(), 60);
  EXPECT_FALSE(layer_.centerLocked());
  EXPECT_EQ(layer_.editingType(), 0);
}

TEST(LayerBaseTransformStringsTest, ARotateEntryInAnyCaseSetsAngleAndCentre) {
  DictRef record = Dictionary::make();
  CMLayer layer(record);
  layer.applyTransformation(Array::make({"ROTATE(45 10 20)"}));
  EXPECT_EQ(record->get("rotate").doubleValue(), 45);
  EXPECT_EQ(record->get("rotate_x").doubleValue(), 10);
  EXPECT_EQ(record->get("rotate_y").doubleValue(), 20);
  EXPECT_TRUE(record->get("rotate").isReal32());
}

TEST(LayerBaseTransformStringsTest, MalformedOrOtherEntriesChangeNothing) {
  for (const char* entry : {"rotate(45,10,20)", "rotate(45 10 20", "translate(45 10 20)", "rotate(45 10)",
                            ")rotate(45 10 20(", "rotate", "rotate(1e39 10 20)"}) {
    DictRef record = Dictionary::make();
    CMLayer layer(record);
    layer.applyTransformation(Array::make({entry, 7}));
    EXPECT_TRUE(record->empty()) << entry;
  }
  CMLayer layer(Dictionary::make());
  layer.applyTransformation(nullptr);
  EXPECT_TRUE(layer.data()->empty());
}

TEST(LayerBaseTransformStringsTest, SingleSpacesSeparateSoAnEmptyPartReadsZero) {
  DictRef record = Dictionary::make();
  CMLayer layer(record);
  layer.applyTransformation(Array::make({"matrix(1 0 0 1 0 0)", "Rotate(30  5 9)"}));
  EXPECT_EQ(record->get("rotate").doubleValue(), 30);
  EXPECT_EQ(record->get("rotate_x").doubleValue(), 0);
  EXPECT_EQ(record->get("rotate_y").doubleValue(), 5);
}

TEST(LayerBaseTransformStringsTest, ImportedRotationAppliesOnlyUntilTheLayerHasItsOwn) {
  DictRef record = rectRecord(0, 0, 100, 50);
  record->set("transforms", Array::make({"rotate(45 10 20)"}));
  RecordRectLayer imported(record);
  imported.applyTransformation();
  EXPECT_EQ(record->get("rotate").doubleValue(), 45);
  EXPECT_EQ(imported.matrixApplications, 1);
  // The rect is centred on the imported centre.
  EXPECT_EQ(imported.cachedRect(), (Rect{-40, -5, 100, 50}));

  imported.setRotation(90);
  RecordRectLayer later(record);
  later.applyTransformation();
  EXPECT_EQ(record->get("rotate").doubleValue(), 90);
}

TEST(LayerBaseTransformStringsTest, ApplyRotateCentresTheCachedRectWithoutTouchingTheRecord) {
  DictRef record = Dictionary::make({{"rotate_x", 200}, {"rotate_y", 300}});
  RecordRectLayer layer(record);
  layer.cachedRect() = {1, 2, 100, 50};
  const DictRef before = platform::dictionaryCopy(record);
  layer.applyRotate();
  EXPECT_EQ(layer.cachedRect(), (Rect{150, 275, 100, 50}));
  EXPECT_TRUE(record->isEqual(*before));

  RecordRectLayer halfCentre(Dictionary::make({{"rotate_x", 200}}));
  halfCentre.cachedRect() = {1, 2, 100, 50};
  halfCentre.applyRotate();
  EXPECT_EQ(halfCentre.cachedRect(), (Rect{1, 2, 100, 50}));
}

}  // namespace
