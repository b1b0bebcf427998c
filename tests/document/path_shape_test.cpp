#include "document/CMPathShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/core/geometry_strings.h"
#include "path_elements_support.h"

using platform::Array;
using platform::ArrayRef;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::PathElement;
using platform::Point;
using platform::Rect;

namespace {

using document_testing::elementPoint;
using document_testing::kinds;

DictRef pointRecord(std::int64_t id, Point point, std::int64_t type) {
  return Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(point)}, {"type", type}});
}

DictRef curveRecord(std::int64_t id, Point point, std::int64_t type, Point control1, Point control2) {
  DictRef record = pointRecord(id, point, type);
  record->set("control_point1", platform::stringFromPoint(control1));
  record->set("control_point2", platform::stringFromPoint(control2));
  return record;
}

std::unique_ptr<CMPathShape> shapeWithPoints(std::vector<DictRef> records) {
  ArrayRef points = Array::make();
  for (const DictRef& record : records) points->add(record);
  return shapeWithDictionary<CMPathShape>(Dictionary::make({{"points", points}}));
}

void expectRectNear(const Rect& actual, const Rect& expected) {
  EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-9);
  EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-9);
  EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9);
  EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9);
}

constexpr PathElement kMove = PathElement::Move;
constexpr PathElement kLine = PathElement::Line;
constexpr PathElement kCurve = PathElement::Curve;
constexpr PathElement kClose = PathElement::Close;

TEST(PathShapeOutline, RecordWithoutPointsGetsTheDefaultSquareStoredInIt) {
  DictRef record = Dictionary::make();
  auto shape = shapeWithDictionary<CMPathShape>(record);
  const ArrayRef stored = record->array("points");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored, shape->points());  // shared, so point edits are document edits
  std::vector<std::int64_t> ids;
  for (const auto& entry : *stored) ids.push_back(entry.dictionary()->get("id").integerValue());
  EXPECT_EQ(ids, (std::vector<std::int64_t>{1, 2, 4, 5}));
  EXPECT_EQ(kinds(shape->path()), (std::vector<PathElement>{kMove, kLine, kLine, kLine, kClose}));
  EXPECT_EQ(shape->path().bounds(), Rect(0, 0, 100, 100));
  EXPECT_FALSE(shape->isBezier());
  EXPECT_TRUE(shape->hasEditingPoint());
}

TEST(PathShapeOutline, TypeBitsBuildMovesLinesCurvesAndCloses) {
  auto shape = shapeWithPoints({pointRecord(1, {0, 0}, 1), pointRecord(2, {10, 0}, 2),
                                curveRecord(3, {10, 10}, 12, {12, 2}, {12, 8}), pointRecord(4, {50, 50}, 9),
                                pointRecord(5, {60, 50}, 6), pointRecord(6, {60, 60}, 10)});
  // A line after a close starts again from the closed subpath's start, as NSBezierPath does.
  EXPECT_EQ(kinds(shape->path()),
            (std::vector<PathElement>{kMove, kLine, kCurve, kClose, kMove, kClose, kMove, kLine, kLine, kClose}));
  EXPECT_EQ(elementPoint(shape->path(), 2, 0), (Point{12, 2}));
  EXPECT_EQ(elementPoint(shape->path(), 2, 1), (Point{12, 8}));
  EXPECT_EQ(elementPoint(shape->path(), 2, 2), (Point{10, 10}));
  EXPECT_EQ(elementPoint(shape->path(), 7), (Point{60, 50}));  // bits 2 and 4: only the line
}

TEST(PathShapeOutline, VirtualTypeAndCorrectionPointStartTheContourAtTheNamedPoint) {
  DictRef curve = curveRecord(3, {40, 40}, 4, {45, 40}, {50, 45});
  curve->set("virtual_type", 5);
  curve->set("correction_point_id", 7);
  auto shape = shapeWithPoints({curve, pointRecord(7, {10, 20}, 0)});
  EXPECT_EQ(kinds(shape->path()), (std::vector<PathElement>{kMove, kCurve}));
  EXPECT_EQ(elementPoint(shape->path(), 0), (Point{10, 20}));
  EXPECT_EQ(elementPoint(shape->path(), 1, 2), (Point{40, 40}));

  curve->set("correction_point_id", 99);  // names nothing: the contour starts at the point itself
  shape->updatePath();
  EXPECT_EQ(elementPoint(shape->path(), 0), (Point{40, 40}));

  curve->set("virtual_type", 0);  // 0 leaves "type" in force: the first segment starts the subpath
  shape->updatePath();
  EXPECT_EQ(kinds(shape->path()), (std::vector<PathElement>{kMove}));
}

TEST(PathShapeOutline, FirstSegmentWithoutMoveStartsTheSubpath) {
  auto shape = shapeWithPoints({pointRecord(1, {5, 5}, 2), pointRecord(2, {9, 5}, 2)});
  EXPECT_EQ(kinds(shape->path()), (std::vector<PathElement>{kMove, kLine}));
  EXPECT_EQ(elementPoint(shape->path(), 0), (Point{5, 5}));
}

TEST(PathShapeOutline, NonFinitePointStringsReadAsZero) {
  DictRef hostile = Dictionary::make({{"id", 1}, {"point", "{nan, inf}"}, {"type", 1}});
  auto shape = shapeWithPoints({hostile, pointRecord(2, {4, 4}, 2)});
  EXPECT_EQ(elementPoint(shape->path(), 0), (Point{0, 0}));
}

TEST(PathShapeMeasure, RectUsesTightCurveBoundsTimesZoom) {
  // The cubic peaks at 3/4 of its control points' height.
  auto shape = shapeWithPoints({pointRecord(1, {0, 0}, 1), curveRecord(2, {100, 0}, 4, {0, 100}, {100, 100})});
  shape->setViewZoom(2);
  expectRectNear(shape->rect(), Rect(0, 0, 200, 150));
}

TEST(PathShapeMeasure, DrawingPathStartsAtOriginAndIsZoomed) {
  auto shape = shapeWithPoints({pointRecord(1, {50, 20}, 1), pointRecord(2, {80, 60}, 10)});
  shape->setViewZoom(2);
  expectRectNear(shape->drawingPath().bounds(), Rect(0, 0, 60, 80));
  EXPECT_EQ(shape->path().bounds(), Rect(50, 20, 30, 40));  // the shape's own path is untouched
}

TEST(PathShapeMeasure, LayerOffsetIsTheWidestUsedStrokeTimesZoom) {
  DictRef record = Dictionary::make(
      {{"stroke", Dictionary::make({{"use", true}, {"lineWidth", 2}})},
       {"stroke2", Dictionary::make({{"use", false}, {"lineWidth", 9}})},
       {"stroke7", Dictionary::make({{"use", true}, {"lineWidth", 5}})},
       {"stroke10", Dictionary::make({{"use", true}, {"lineWidth", 20}})}});  // no such slot
  auto shape = shapeWithDictionary<CMPathShape>(record);
  shape->setViewZoom(2);
  EXPECT_FLOAT_EQ(shape->layerOffset(), 10);
  record->remove("stroke");
  record->remove("stroke7");
  EXPECT_FLOAT_EQ(shape->layerOffset(), 0);
}

TEST(PathShapeResize, ScalesPointsAndControlPointsAboutTheBoundsOrigin) {
  auto shape = shapeWithPoints({pointRecord(1, {10, 10}, 1), pointRecord(2, {30, 10}, 2),
                                curveRecord(3, {30, 50}, 4, {30, 20}, {30, 40}), pointRecord(4, {10, 50}, 10)});
  shape->setSize({40, 20});  // x doubled, y halved
  const ArrayRef points = shape->points();
  EXPECT_EQ(platform::pointFromString(points->at(1).dictionary()->get("point").string()), (Point{50, 10}));
  EXPECT_EQ(platform::pointFromString(points->at(2).dictionary()->get("point").string()), (Point{50, 30}));
  EXPECT_EQ(platform::pointFromString(points->at(2).dictionary()->get("control_point1").string()), (Point{50, 15}));
  EXPECT_EQ(platform::pointFromString(points->at(2).dictionary()->get("control_point2").string()), (Point{50, 25}));
  EXPECT_FALSE(points->at(0).dictionary()->contains("control_point1"));
  EXPECT_EQ(shape->path().bounds(), Rect(10, 10, 40, 20));
}

TEST(PathShapeResize, FlatAxisKeepsItsScale) {
  auto shape = shapeWithPoints({pointRecord(1, {0, 5}, 1), pointRecord(2, {10, 5}, 2)});
  shape->setSize({20, 30});
  EXPECT_EQ(shape->path().bounds(), Rect(0, 5, 20, 0));
  shape->setSize({std::numeric_limits<double>::infinity(), 1});
  EXPECT_EQ(shape->path().bounds(), Rect(0, 5, 20, 0));  // no finite factor: unchanged
}

TEST(PathShapePointSetters, WriteTheFirstMatchAndAlwaysMakeTheShapeBezier) {
  DictRef record = Dictionary::make({{"points", Array::make({pointRecord(1, {0, 0}, 1), pointRecord(2, {10, 0}, 2),
                                                             pointRecord(2, {20, 0}, 2)})}});
  auto shape = shapeWithDictionary<CMPathShape>(record);
  shape->setPathPoint({10, 30}, 2);
  EXPECT_TRUE(record->get("isbezier").boolValue());
  EXPECT_TRUE(shape->isBezier());
  EXPECT_EQ(elementPoint(shape->path(), 1), (Point{10, 30}));
  EXPECT_EQ(elementPoint(shape->path(), 2), (Point{20, 0}));

  shape->setPathControlPoint1({1, 2}, 1);
  shape->setPathControlPoint2({3, 4}, 1);
  EXPECT_EQ(record->array("points")->at(0).dictionary()->get("control_point1").string(), "{1, 2}");
  EXPECT_EQ(record->array("points")->at(0).dictionary()->get("control_point2").string(), "{3, 4}");

  record->set("isbezier", false);
  const BezierPath before = shape->path();
  shape->setPathPoint({7, 7}, 42);  // no such id
  EXPECT_TRUE(record->get("isbezier").boolValue());
  EXPECT_EQ(shape->path(), before);

  shape->setPathPoint({std::numeric_limits<double>::quiet_NaN(), 1}, 1);  // never written
  EXPECT_EQ(record->array("points")->at(0).dictionary()->get("point").string(), "{0, 0}");
}

}  // namespace
