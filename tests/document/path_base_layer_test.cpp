// The outline of text and image layers: building it from point records, editing its
// points through the view transform, and the default rectangle written on first use.

#include <gtest/gtest.h>

#include <limits>

#include "document/CMImageLayer.h"
#include "document/CMPathBaseLayer.h"
#include "document/CMTextLayer.h"
#include "path_elements_support.h"
#include "platform/core/geometry_strings.h"
#include "style_canvas.h"

namespace {

using document_testing::elementPoint;
using document_testing::kinds;
using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::PathElement;
using platform::Point;

DictRef pointRecord(int id, Point point, int type) {
  return Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(point)}, {"type", type}});
}

Point recordPoint(const ArrayRef& points, std::size_t index, const char* key = "point") {
  return platform::pointFromString(points->at(index).dictionary()->get(key).string());
}

// Origin (5, 7): a move, a line, a curve that closes, all in layer-local units.
DictRef outlinedRecord() {
  DictRef curve = pointRecord(3, {30, 40}, 4 | 8);
  curve->set("control_point1", "{40, 25}");
  curve->set("control_point2", "{35, 38}");
  return Dictionary::make(
      {{"x", 5}, {"y", 7}, {"points", Array::make({pointRecord(1, {10, 20}, 1), pointRecord(2, {30, 20}, 2), curve})}});
}

TEST(PathBaseLayerOutline, NoPointsMeansNoOutline) {
  CMPathBaseLayer missing(Dictionary::make({{"x", 5}}));
  EXPECT_TRUE(missing.path().isEmpty());
  CMPathBaseLayer empty(Dictionary::make({{"points", Array::make()}}));
  EXPECT_TRUE(empty.path().isEmpty());
}

TEST(PathBaseLayerOutline, PointsAreMappedIntoViewUnits) {
  CMPathBaseLayer layer(outlinedRecord());
  layer.setViewZoom(2);
  const platform::BezierPath path = layer.path();
  // z·(p + o) with o = (5, 7), z = 2.
  ASSERT_EQ(kinds(path), (std::vector{PathElement::Move, PathElement::Line, PathElement::Curve, PathElement::Close}));
  EXPECT_EQ(elementPoint(path, 0), (Point{30, 54}));
  EXPECT_EQ(elementPoint(path, 1), (Point{70, 54}));
  EXPECT_EQ(elementPoint(path, 2, 0), (Point{90, 64}));
  EXPECT_EQ(elementPoint(path, 2, 1), (Point{80, 90}));
  EXPECT_EQ(elementPoint(path, 2, 2), (Point{70, 94}));
}

TEST(PathBaseLayerOutline, PointTypeWithoutSegmentBitsAddsNoElement) {
  DictRef record = outlinedRecord();
  record->array("points")->insert(1, pointRecord(9, {99, 99}, 0));
  CMPathBaseLayer layer(record);
  EXPECT_EQ(layer.path().elementCount(), 4);
}

TEST(PathBaseLayerEditing, SetPointMapsBackIntoEveryRecordWithTheId) {
  DictRef record = outlinedRecord();
  record->array("points")->add(pointRecord(2, {0, 0}, 2));
  CMPathBaseLayer layer(record);
  layer.setViewZoom(2);
  layer.setPathPoint({30, 27}, 2);
  const ArrayRef points = record->array("points");
  // (p − o)/z = ((30 − 5)/2, (27 − 7)/2).
  EXPECT_EQ(recordPoint(points, 1), (Point{12.5, 10}));
  EXPECT_EQ(recordPoint(points, 3), (Point{12.5, 10}));
  EXPECT_EQ(recordPoint(points, 0), (Point{10, 20}));
  EXPECT_TRUE(layer.dirty());
}

TEST(PathBaseLayerEditing, ControlPointsGoToTheirOwnKeys) {
  DictRef record = outlinedRecord();
  CMPathBaseLayer layer(record);
  layer.setPathControlPoint1({15, 17}, 3);
  layer.setPathControlPoint2({6, 8}, 3);
  const ArrayRef points = record->array("points");
  EXPECT_EQ(recordPoint(points, 2, "control_point1"), (Point{10, 10}));
  EXPECT_EQ(recordPoint(points, 2, "control_point2"), (Point{1, 1}));
  EXPECT_EQ(recordPoint(points, 2), (Point{30, 40}));
}

TEST(PathBaseLayerEditing, UnknownIdChangesNothingButMarksDirty) {
  DictRef record = outlinedRecord();
  const DictRef before = record->mutableCopy();
  const DictRef firstPoint = record->array("points")->at(0).dictionary()->mutableCopy();
  CMPathBaseLayer layer(record);
  ASSERT_FALSE(layer.dirty());
  layer.setPathPoint({1, 1}, 77);
  EXPECT_TRUE(layer.dirty());
  EXPECT_TRUE(record->isEqual(*before));
  EXPECT_TRUE(record->array("points")->at(0).dictionary()->isEqual(*firstPoint));
}

TEST(PathBaseLayerEditing, NonFinitePointIsNotWritten) {
  DictRef record = outlinedRecord();
  CMPathBaseLayer layer(record);
  layer.setPathPoint({std::numeric_limits<double>::infinity(), 0}, 1);
  EXPECT_EQ(recordPoint(record->array("points"), 0), (Point{10, 20}));
  EXPECT_TRUE(layer.dirty());
}

TEST(PathBaseLayerHandles, EachPointAndControlPointGetsAHandle) {
  CMPathBaseLayer layer(outlinedRecord());
  const ArrayRef handles = layer.pathEditingPoints();
  ASSERT_EQ(handles->size(), 5u);
  const std::vector<int> types{12, 12, 12, 13, 14};
  const std::vector<int> ids{1, 2, 3, 3, 3};
  const std::vector<Point> points{{15, 27}, {35, 27}, {35, 47}, {45, 32}, {40, 45}};
  for (std::size_t i = 0; i < handles->size(); ++i) {
    const DictRef handle = handles->at(i).dictionary();
    EXPECT_EQ(handle->get("type").intValue(), types[i]) << i;
    EXPECT_EQ(handle->get("id").intValue(), ids[i]) << i;
    EXPECT_EQ(platform::pointFromString(handle->get("point").string()), points[i]) << i;
    EXPECT_EQ(handle->size(), 3u) << i;
  }
}

class DefaultOutlineTest : public ::testing::Test {
 protected:
  static void expectRectangle(const ArrayRef& points, double w, double h) {
    ASSERT_EQ(points->size(), 4u);
    const std::vector<Point> corners{{0, 0}, {0, h}, {w, h}, {w, 0}};
    const std::vector<int> types{1, 2, 2, 10};
    const std::vector<int> ids{1, 2, 4, 5};
    for (std::size_t i = 0; i < 4; ++i) {
      const DictRef record = points->at(i).dictionary();
      EXPECT_EQ(recordPoint(points, i), corners[i]) << i;
      EXPECT_EQ(record->get("type").intValue(), types[i]) << i;
      EXPECT_EQ(record->get("id").intValue(), ids[i]) << i;
    }
  }
};

TEST_F(DefaultOutlineTest, ImageLayerWithoutPointsGetsTheRectangleOfItsPicture) {
  DictRef record = Dictionary::make(
      {{"x", 10}, {"y", 20}, {"image", document_testing::pngOf({40, 30}, platform::Color{1, 0, 0, 1})}});
  CMImageLayer layer(record, 1);
  ASSERT_NE(layer.image(), nullptr);
  const ArrayRef handles = layer.pathEditingPoints();
  expectRectangle(record->array("points"), 40, 30);
  ASSERT_EQ(handles->size(), 4u);
  const std::vector<Point> expected{{10, 20}, {10, 50}, {50, 50}, {50, 20}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(handles->at(i).dictionary()->get("type").intValue(), 12);
    EXPECT_EQ(platform::pointFromString(handles->at(i).dictionary()->get("point").string()), expected[i]);
  }
}

TEST_F(DefaultOutlineTest, WrittenInLayerUnitsSoTheOutlineCoversTheLayerRectAtAnyViewZoom) {
  DictRef record = Dictionary::make({{"x", 3}, {"y", 4}, {"text", "A"}, {"width", 120}, {"height", 50}});
  CMTextLayer layer(record, 2);
  ASSERT_EQ(layer.layerRect(), (platform::Rect{6, 8, 240, 100}));
  layer.pathEditingPoints();
  expectRectangle(record->array("points"), 120, 50);
  EXPECT_EQ(layer.path().bounds(), layer.layerRect());
}

TEST_F(DefaultOutlineTest, SecondRequestKeepsTheStoredPoints) {
  DictRef record = Dictionary::make({{"text", ""}});
  CMTextLayer layer(record, 1);
  layer.pathEditingPoints();
  const ArrayRef stored = record->array("points");
  ASSERT_NE(stored, nullptr);
  layer.setPathPoint({7, 9}, 4);
  const ArrayRef handles = layer.pathEditingPoints();
  EXPECT_EQ(record->array("points"), stored);
  ASSERT_EQ(handles->size(), 4u);
  EXPECT_EQ(platform::pointFromString(handles->at(2).dictionary()->get("point").string()), (Point{7, 9}));
}

}  // namespace
