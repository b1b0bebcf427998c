#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "document/CMOvalShape.h"
#include "document/CMPolygonShape.h"
#include "document/CMProject.h"
#include "document/CMRectShape.h"
#include "document/CMStarShape.h"
#include "document_test_support.h"
#include "platform/core/geometry_strings.h"

using platform::Array;
using platform::ArrayRef;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::PathElement;
using platform::Point;
using platform::Rect;

namespace {

Point elementEnd(const BezierPath& path, int index) {
  Point points[3];
  return path.elementAt(index, points) == PathElement::Curve ? points[2] : points[0];
}

std::vector<Point> anchors(const BezierPath& path) {
  std::vector<Point> result;
  for (int index = 0; index < path.elementCount(); ++index) {
    if (path.elementAt(index) != PathElement::Close) result.push_back(elementEnd(path, index));
  }
  return result;
}

// A frame record: corners in the first and third point records, as a new shape stores them.
DictRef frameRecord(Point from, Point to) {
  auto corner = [](std::int64_t id, Point p, std::int64_t type) {
    return Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(p)}, {"type", type}});
  };
  return Dictionary::make({{"points", Array::make({corner(1, from, 1), corner(2, {from.x, to.y}, 2),
                                                   corner(4, to, 2), corner(5, {to.x, from.y}, 10)})}});
}

std::vector<std::int64_t> column(const ArrayRef& records, const char* key) {
  std::vector<std::int64_t> values;
  for (const auto& entry : *records) values.push_back(entry.dictionary()->get(key).integerValue());
  return values;
}

Point pointAt(const ArrayRef& records, std::size_t index, const char* key = "point") {
  return platform::pointFromString(records->at(index).dictionary()->get(key).string());
}

class ParametricShape : public ::testing::Test {
 protected:
  CMGlobalProfile& profile() { return CMProject::shareProject().profile(); }

 private:
  document_testing::ScratchFolders folders_;
};

TEST_F(ParametricShape, RectangleIsItsFramePlainOrRounded) {
  auto plain = shapeWithDictionary<CMRectShape>(Dictionary::make());
  EXPECT_EQ(anchors(plain->path()), (std::vector<Point>{{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
  EXPECT_EQ(plain->path().elementAt(4), PathElement::Close);

  profile().setInteger(10, "round_width");
  DictRef rounded = Dictionary::make({{"round", true}});
  auto shape = shapeWithDictionary<CMRectShape>(rounded);
  EXPECT_EQ(shape->path().bounds(), Rect(0, 0, 100, 100));
  EXPECT_EQ(elementEnd(shape->path(), 0), (Point{10, 0}));  // the bottom edge starts after the corner
  EXPECT_FALSE(shape->path().containsPoint({1, 1}));
  EXPECT_TRUE(shape->path().containsPoint({5, 5}));  // inside a radius-10 corner arc

  profile().setInteger(0, "round_width");
  auto square = shapeWithDictionary<CMRectShape>(Dictionary::make({{"round", true}}));
  EXPECT_EQ(square->path().elementCount(), 5);
}

TEST_F(ParametricShape, ToolOptionsAreKeptFromCreation) {
  profile().setInteger(10, "round_width");
  profile().setInteger(2, "polygon_sides");
  DictRef rectangle = Dictionary::make({{"round", true}});
  DictRef polygon = frameRecord({0, 0}, {100, 100});
  const BezierPath roundedAsCreated = shapeWithDictionary<CMRectShape>(rectangle)->path();
  const BezierPath pentagonAsCreated = shapeWithDictionary<CMPolygonShape>(polygon)->path();
  EXPECT_EQ(rectangle->get("round_width").integerValue(), 10);

  profile().setInteger(0, "round_width");
  profile().setInteger(5, "polygon_sides");
  EXPECT_EQ(shapeWithDictionary<CMRectShape>(rectangle)->path(), roundedAsCreated);
  EXPECT_EQ(shapeWithDictionary<CMPolygonShape>(polygon)->path(), pentagonAsCreated);
  EXPECT_EQ(shapeWithDictionary<CMPolygonShape>(frameRecord({0, 0}, {100, 100}))->path().elementCount(), 9);  // 8 sides
}

TEST_F(ParametricShape, PolygonSidesPickTheirTemplate) {
  profile().setInteger(2, "polygon_sides");
  auto pentagon = shapeWithDictionary<CMPolygonShape>(frameRecord({0, 0}, {100, 100}));
  EXPECT_EQ(anchors(pentagon->path()), (std::vector<Point>{{50, 0}, {0, 40}, {20, 100}, {80, 100}, {100, 40}}));
  EXPECT_EQ(pentagon->path().elementAt(5), PathElement::Close);

  const Rect frame(10, 20, 200, 100);
  for (std::int64_t sides = 3; sides <= 8; ++sides) EXPECT_EQ(CMPolygonShape::points(frame, sides).size(), sides);
  EXPECT_EQ(CMPolygonShape::points(frame, 7)[5], (Point{210, 70}));  // (1, 0.5)
  EXPECT_TRUE(CMPolygonShape::points(frame, 9).empty());
  EXPECT_TRUE(CMPolygonShape::points(frame, 2).empty());

  profile().setInteger(6, "polygon_sides");
  EXPECT_TRUE(shapeWithDictionary<CMPolygonShape>(frameRecord({0, 0}, {100, 100}))->path().isEmpty());
  DictRef hostile = frameRecord({0, 0}, {100, 100});
  hostile->set("polygon_sides", std::numeric_limits<std::int64_t>::max());
  EXPECT_TRUE(shapeWithDictionary<CMPolygonShape>(hostile)->path().isEmpty());
}

TEST_F(ParametricShape, StarPointsAlternateOuterAndInner) {
  auto three = shapeWithDictionary<CMStarShape>(frameRecord({0, 0}, {100, 100}));  // "star_angles" 0
  EXPECT_EQ(anchors(three->path()),
            (std::vector<Point>{{50, 0}, {40, 60}, {0, 100}, {50, 80}, {100, 100}, {60, 60}}));

  const Rect frame(10, 20, 200, 100);
  for (std::int64_t points : {3, 4, 6, 7, 8}) EXPECT_EQ(CMStarShape::points(frame, points).size(), 2 * points);
  const auto five = CMStarShape::points(frame, 5);
  ASSERT_EQ(five.size(), 11u);
  EXPECT_EQ(five.front(), five.back());
  EXPECT_EQ(CMStarShape::points(frame, 8)[3], (Point{40, 55}));  // (0.15, 0.35)
  EXPECT_TRUE(CMStarShape::points(frame, 9).empty());
}

// Point editing must not move the outline: the points lie where the frame does, with no offset for the layer.
TEST_F(ParametricShape, PreparingARectangleGivesFourPointRecordsWhereItLies) {
  DictRef record = frameRecord({20, 30}, {120, 80});
  const ArrayRef frame = record->array("points");
  auto shape = shapeWithDictionary<CMRectShape>(record);
  shape->prepareEditing();
  EXPECT_TRUE(shape->isPathEditing());
  EXPECT_DOUBLE_EQ(record->get("x_offset").doubleValue(), 0);
  EXPECT_DOUBLE_EQ(record->get("y_offset").doubleValue(), 0);
  const ArrayRef converted = shape->points();
  ASSERT_EQ(converted->size(), 4u);
  EXPECT_EQ(record->array("points"), frame) << "the record keeps its parameters while its points are edited";
  EXPECT_EQ(column(converted, "type"), (std::vector<std::int64_t>{1, 2, 2, 10}));
  EXPECT_EQ(column(converted, "id"), (std::vector<std::int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(pointAt(converted, 2), (Point{120, 80}));
  EXPECT_EQ(shape->path().bounds(), Rect(20, 30, 100, 50));

  shape->endEditing();
  EXPECT_FALSE(shape->isPathEditing());
  EXPECT_EQ(record->array("points"), frame);
  EXPECT_EQ(shape->points(), frame);
  EXPECT_FALSE(record->get("isbezier").boolValue());
}

TEST_F(ParametricShape, OvalConvertsToFourCurvesClosedOnTheLast) {
  auto shape = shapeWithDictionary<CMOvalShape>(frameRecord({0, 0}, {100, 50}));
  shape->prepareEditing();
  const ArrayRef converted = shape->points();
  EXPECT_EQ(column(converted, "type"), (std::vector<std::int64_t>{1, 4, 4, 4, 12}));
  EXPECT_EQ(pointAt(converted, 0), (Point{100, 25}));
  EXPECT_EQ(pointAt(converted, 1), (Point{50, 50}));
  EXPECT_NEAR(pointAt(converted, 1, "control_point1").y, 25 + 25 * 0.5522847498, 1e-6);
}

TEST_F(ParametricShape, SaveAsBezierKeepsThePointRecordsForGood) {
  DictRef record = frameRecord({20, 30}, {120, 80});
  auto shape = shapeWithDictionary<CMRectShape>(record);
  shape->saveAsBezier();
  EXPECT_TRUE(record->get("isbezier").boolValue());
  EXPECT_FALSE(shape->isPathEditing());
  EXPECT_EQ(column(record->array("points"), "type"), (std::vector<std::int64_t>{1, 2, 2, 10}));
  shape->updatePath();
  EXPECT_EQ(shape->path().bounds(), Rect(0, 0, 100, 50));

  auto reopened = shapeWithDictionary<CMRectShape>(record);  // built from the point records now
  reopened->setPathPoint({0, 70}, 4);
  EXPECT_EQ(reopened->path().bounds(), Rect(0, 0, 100, 70));
  const ArrayRef saved = record->array("points");
  reopened->prepareEditing();  // already Bezier: nothing to convert
  EXPECT_EQ(record->array("points"), saved);
  reopened->endEditing();
  EXPECT_EQ(record->array("points"), saved);
}

TEST_F(ParametricShape, AnOverflowingFrameWritesNoInfiniteValue) {
  // Opposite corners far apart: the frame's width overflows to -infinity.
  auto shape = shapeWithDictionary<CMRectShape>(frameRecord({1e308, 0}, {-1e308, 10}));
  shape->prepareEditing();
  EXPECT_TRUE(std::isfinite(shape->data()->get("x_offset").doubleValue()));
  EXPECT_TRUE(std::isfinite(shape->data()->get("y_offset").doubleValue()));
  for (const auto& entry : *shape->points()) {
    const DictRef point = entry.dictionary();
    if (!point->contains("point")) continue;  // refused rather than written
    const Point p = platform::pointFromString(point->get("point").string());
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << point->get("point").string();
  }
}

}  // namespace
