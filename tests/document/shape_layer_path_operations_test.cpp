// Combining shape layers directly (the canvas's commands test the four operations on a whole drawing): the
// receiver's record takes the result as point records where the engine put it on the page, the other layer
// keeps its place when written as points, and nothing changes when the operation cannot be done. Areas are
// judged by the boolean tests' Green's-theorem oracle.

#include <gtest/gtest.h>


#include "document/CMShapeLayer.h"
#include "document_test_support.h"
#include "path_oracles.h"
#include "platform/core/error.h"
#include "shape_layer_support.h"

namespace {

using document_testing::frameShape;
using document_testing::lineShape;
using document_testing::pathLayerRecord;
using document_testing::pointRecord;
using document_testing::shapeLayerRecord;
using platform::DictRef;
using platform::Point;
using platform::Rect;

constexpr std::int64_t kRectangle = 0;
constexpr std::int64_t kOval = 1;
constexpr std::int64_t kLine = 4;

// A shape layer drawn at `frame` on the page: its shape spans (0, 0, w, h) and its record sits at the origin.
DictRef shapeAt(std::int64_t shapeType, const Rect& frame) {
  return shapeLayerRecord(shapeType, frameShape({0, 0, frame.size.width, frame.size.height}), frame.origin.x,
                          frame.origin.y);
}

void expectRectNear(const Rect& actual, const Rect& expected, double tolerance) {
  EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
  EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
  EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
  EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

class PathOperationsTest : public ::testing::Test {
 protected:
  document_testing::ScratchFolders folders_;
  document_testing::ObservedModel model_;
};

TEST_F(PathOperationsTest, AnArgumentWhoseOutlineDoesNotStartAtItsOriginKeepsItsPlace) {
  // Drawn at (50, 50, 100, 100): the record at (40, 30), its frame from (10, 20).
  const DictRef other = shapeLayerRecord(kRectangle, frameShape({10, 20, 100, 100}), 40, 30);
  const DictRef rectangle = shapeAt(kRectangle, {100, 100, 100, 100});
  CMShapeLayer receiver(rectangle);
  CMShapeLayer argument(other);
  ASSERT_TRUE(receiver.pathUnion(argument));
  EXPECT_TRUE(receiver.dirty());
  EXPECT_TRUE(rectangle->dictionary("shape")->get("isbezier").boolValue());
  EXPECT_EQ(rectangle->get("shape_type").integerValue(), kRectangle) << "the shape type stays";
  EXPECT_TRUE(other->dictionary("shape")->get("isbezier").boolValue());
  expectRectNear(CMShapeLayer(rectangle).layerRect(), {50, 50, 150, 150}, 1e-3);
  EXPECT_NEAR(pathoracles::evenOddArea(CMShapeLayer(rectangle).path()), 17500, 1e-6 * 17500);
  expectRectNear(CMShapeLayer(other).layerRect(), {50, 50, 100, 100}, 1e-3);
  EXPECT_NEAR(other->get("x").doubleValue(), 50, 1e-4);
}

TEST_F(PathOperationsTest, ALineReceiverIsTakenWhereItIsDrawn) {
  // The line's ends hold its place; its record stays at the page origin.
  const DictRef line = shapeLayerRecord(kLine, lineShape({100, 150}, {300, 150}));
  const DictRef rectangle = shapeAt(kRectangle, {100, 100, 100, 100});
  CMShapeLayer receiver(line);
  CMShapeLayer argument(rectangle);
  ASSERT_TRUE(receiver.pathUnion(argument));
  const Rect bounds = CMShapeLayer(line).layerRect();
  EXPECT_NEAR(bounds.origin.x, 100, 1e-3);
  EXPECT_NEAR(bounds.origin.y, 100, 1e-3);
  EXPECT_GE(pathoracles::evenOddArea(CMShapeLayer(line).path()), 10000 * (1 - 1e-6));
}

TEST_F(PathOperationsTest, APathReceiverKeepsTheResultWhenItsShapeIsRebuilt) {
  // A triangle of area 1,200 at (100, 50) united with a square that covers its right angle.
  const DictRef triangle = pathLayerRecord(
      {pointRecord(1, {0, 0}, 1), pointRecord(2, {60, 0}, 2), pointRecord(3, {0, 40}, 2 + 8)}, 100, 50);
  const DictRef square = shapeAt(kRectangle, {90, 40, 20, 20});
  CMShapeLayer receiver(triangle);
  CMShapeLayer argument(square);
  ASSERT_TRUE(receiver.pathUnion(argument));
  const double expected = 1200 + 400 - 100;
  EXPECT_NEAR(pathoracles::evenOddArea(receiver.path()), expected, 1e-6 * expected);
  receiver.update();
  EXPECT_NEAR(pathoracles::evenOddArea(receiver.path()), expected, 1e-6 * expected);
  EXPECT_NEAR(pathoracles::evenOddArea(CMShapeLayer(triangle).path()), expected, 1e-6 * expected);
  expectRectNear(CMShapeLayer(triangle).layerRect(), {90, 40, 70, 50}, 1e-3);
}

TEST_F(PathOperationsTest, ALayerWithoutAShapeRaisesInvalidTypeAndNothingChanges) {
  const DictRef rectangle = shapeAt(kRectangle, {0, 0, 50, 50});
  const DictRef unknown = shapeLayerRecord(99, frameShape({0, 0, 10, 10}));
  const DictRef shapeless = platform::Dictionary::make({{"id", 3}, {"type", 0}, {"shape_type", kOval}});
  for (const DictRef& odd : {unknown, shapeless}) {
    const DictRef rectangleBefore = platform::dictionaryCopy(rectangle);
    const DictRef oddBefore = platform::dictionaryCopy(odd);
    CMShapeLayer receiver(rectangle);
    CMShapeLayer other(odd);
    for (bool oddReceives : {false, true}) {
      try {
        oddReceives ? other.pathUnion(receiver) : receiver.pathSubtract(other);
        ADD_FAILURE() << "no exception";
      } catch (const platform::Exception& error) {
        EXPECT_STREQ(error.what(), "invalid type");
        EXPECT_EQ(error.name(), "org.draftwork.Draftwork");
      }
    }
    EXPECT_TRUE(rectangle->isEqual(*rectangleBefore));
    EXPECT_TRUE(odd->isEqual(*oddBefore));
  }
}

TEST_F(PathOperationsTest, AResultTheRecordCannotHoldChangesNothing) {
  // Outlines near 1e300: the engine's products overflow, or the result lies beyond float range.
  const DictRef huge = shapeLayerRecord(kRectangle, frameShape({1e300, 1e300, 1e300, 1e300}));
  const DictRef oval = shapeLayerRecord(kOval, frameShape({-1e300, 1e300, 3e300, 1e300}));
  const DictRef hugeBefore = platform::dictionaryCopy(huge);
  const DictRef ovalBefore = platform::dictionaryCopy(oval);
  CMShapeLayer receiver(huge);
  CMShapeLayer other(oval);
  EXPECT_FALSE(receiver.pathUnion(other));
  EXPECT_FALSE(receiver.pathDifference(other));
  EXPECT_TRUE(huge->isEqual(*hugeBefore));
  EXPECT_TRUE(oval->isEqual(*ovalBefore));
  EXPECT_FALSE(document_testing::holdsNonFinite(platform::Value(huge)));
}

TEST_F(PathOperationsTest, TheShapeAndOffsetFormLeavesTheOtherRecordAlone) {
  const DictRef rectangle = shapeAt(kRectangle, {100, 100, 100, 100});
  const DictRef oval = shapeAt(kOval, {50, 50, 100, 100});
  const DictRef ovalBefore = platform::dictionaryCopy(oval);
  CMShapeLayer receiver(rectangle);
  CMShapeLayer other(oval);
  ASSERT_TRUE(receiver.intersectPaths(*other.shape(), {50, 50}));
  expectRectNear(CMShapeLayer(rectangle).layerRect(), {100, 100, 50, 50}, 1e-3);
  EXPECT_TRUE(oval->isEqual(*ovalBefore));
}

}  // namespace
