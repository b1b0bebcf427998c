#include "document/CMShapeLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <typeinfo>
#include <algorithm>
#include <string>
#include <vector>

#include "document/CMBetheierShape.h"
#include "document/CMFreeLineShape.h"
#include "document/CMLineShape.h"
#include "document/CMOvalShape.h"
#include "document/CMPolygonShape.h"
#include "document/CMRectShape.h"
#include "document/CMStarShape.h"
#include "document_test_support.h"
#include "shape_layer_support.h"
#include "style_canvas.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;
using platform::Rect;

namespace {

using document_testing::entryAt;
using document_testing::frameShape;
using document_testing::lineShape;
using document_testing::pointOf;
using document_testing::shapeLayerRecord;

void expectRectNear(const Rect& actual, const Rect& expected, double tolerance = 1e-9) {
  EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
  EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
  EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
  EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

DictRef colour(double r, double g, double b) { return Dictionary::make({{"r", r}, {"g", g}, {"b", b}}); }

DictRef paint(DictRef colourRecord, double lineWidth = 0) {
  return Dictionary::make({{"use", true}, {"type", 1}, {"color", colourRecord}, {"lineWidth", lineWidth}});
}

std::size_t countOf(const std::vector<std::string>& names, const std::string& name) {
  return static_cast<std::size_t>(std::count(names.begin(), names.end(), name));
}

class ShapeLayerTest : public ::testing::Test {
 protected:
  document_testing::ScratchFolders folders_;
  document_testing::ObservedModel model_;
};

TEST_F(ShapeLayerTest, UnknownShapeTypeIsInert) {
  for (const std::int64_t type : {8, 9, -1}) {
    DictRef record = shapeLayerRecord(type, frameShape({0, 0, 30, 40}), 5, 7);
    const DictRef before = platform::dictionaryCopy(record);
    CMShapeLayer layer(record);
    EXPECT_EQ(layer.shape(), nullptr);
    EXPECT_TRUE(layer.path().isEmpty());
    EXPECT_EQ(layer.layerRect(), Rect(5, 7, 0, 0));
    EXPECT_EQ(layer.layerOffset(), 0);
    EXPECT_EQ(layer.editingPoints()->size(), 10u);
    EXPECT_FALSE(layer.lineEditingPoints());
    EXPECT_FALSE(layer.pathEditingPoints());
    EXPECT_FALSE(layer.gradientEditingPoints());
    EXPECT_TRUE(layer.bezierEditingPoints()->empty());
    EXPECT_FALSE(layer.isLineShape());

    const DictRef handle = Dictionary::make({{"id", 1}, {"control_point1_id", 1}, {"id_friend", 1}});
    layer.setPathPoint({3, 3}, handle);
    layer.setPathControlPoint1({3, 3}, handle);
    layer.setPathControlPoint2({3, 3}, handle);
    layer.setLineStartPoint({1, 2});
    layer.setLineEndPoint({1, 2});
    layer.setLinePosition({1, 2});
    layer.setGradientPoint({1, 2});
    layer.setGradientCentralPoint({1, 2});
    layer.update();
    layer.prepareEditing();
    layer.endEditing();
    layer.saveAsBezier();
    layer.applyMatrix(platform::AffineTransform{});
    layer.setVectorViewMode(true);
    layer.setSize();
    EXPECT_TRUE(record->isEqual(*before));
    EXPECT_FALSE(layer.dirty());

    // Point edits still mark the layer and tell the canvas, as they do for an id no point carries.
    model_.clear();
    layer.addPoint({1, 1});
    layer.removePoint(handle);
    layer.changePointType(1, handle);
    EXPECT_TRUE(record->isEqual(*before));
    EXPECT_TRUE(layer.dirty());
    EXPECT_EQ(countOf(model_.posted, "notificationLayerChanged"), 3u);
  }
}

TEST_F(ShapeLayerTest, RecordWithoutShapeRecordHasNoShape) {
  DictRef record = Dictionary::make({{"type", 0}, {"shape_type", 0}, {"x", 4}, {"y", 6}});
  CMShapeLayer layer(record);
  EXPECT_EQ(layer.shape(), nullptr);
  EXPECT_EQ(layer.layerRect(), Rect(4, 6, 0, 0));
  EXPECT_FALSE(record->contains("shape"));
}

TEST_F(ShapeLayerTest, ShapeTypeCodesPickTheirShapes) {
  auto shapeOf = [](std::int64_t type) {
    return std::make_unique<CMShapeLayer>(shapeLayerRecord(type, frameShape({0, 0, 10, 10})));
  };
  EXPECT_TRUE(dynamic_cast<CMRectShape*>(shapeOf(0)->shape()));
  EXPECT_TRUE(dynamic_cast<CMOvalShape*>(shapeOf(1)->shape()));
  EXPECT_TRUE(dynamic_cast<CMPolygonShape*>(shapeOf(2)->shape()));
  EXPECT_TRUE(dynamic_cast<CMStarShape*>(shapeOf(3)->shape()));
  EXPECT_TRUE(dynamic_cast<CMLineShape*>(shapeOf(4)->shape()));
  EXPECT_TRUE(dynamic_cast<CMFreeLineShape*>(shapeOf(5)->shape()));
  EXPECT_TRUE(dynamic_cast<CMBetheierShape*>(shapeOf(6)->shape()));
  const auto pathLayer = shapeOf(7);
  const CMShape* path = pathLayer->shape();
  ASSERT_TRUE(path);
  EXPECT_EQ(typeid(*path), typeid(CMPathShape));
}

TEST_F(ShapeLayerTest, BoundsOfRectangleOvalAndLineAtZoomOne) {
  CMShapeLayer rectangle(shapeLayerRecord(0, frameShape({0, 0, 30, 40}), 10, 20));
  EXPECT_EQ(rectangle.layerRect(), Rect(10, 20, 30, 40));
  EXPECT_EQ(rectangle.originalSize(), (platform::Size{30, 40}));
  expectRectNear(rectangle.path().bounds(), {10, 20, 30, 40});

  CMShapeLayer oval(shapeLayerRecord(1, frameShape({0, 0, 30, 40}), 10, 20));
  expectRectNear(oval.layerRect(), {10, 20, 30, 40});
  EXPECT_FALSE(oval.path().containsPoint({11, 21}));  // outside the ellipse, inside its box

  CMShapeLayer line(shapeLayerRecord(4, lineShape({5, 5}, {65, 45}), 10, 20));
  EXPECT_EQ(line.layerRect(), Rect(15, 25, 60, 40));
  EXPECT_EQ(line.originPoint(), (Point{5, 5}));  // a line's origin is its start
}

TEST_F(ShapeLayerTest, VectorViewModeScalesBoundsByTheExactZoom) {
  CMShapeLayer layer(shapeLayerRecord(0, frameShape({0, 0, 30, 40}), 10, 20), 2.0f);
  layer.setVectorViewMode(true);
  layer.setViewZoom(2);
  EXPECT_EQ(layer.layerRect(), Rect(20, 40, 60, 80));
  layer.setVectorViewMode(false);
  EXPECT_EQ(layer.layerRect(), Rect(10, 20, 30, 40));

  // A zoom below 1 keeps its value: no zero-size bounds.
  CMShapeLayer small(shapeLayerRecord(0, frameShape({0, 0, 30, 40}), 10, 20), 0.5f);
  small.setVectorViewMode(true);
  small.setViewZoom(0.5f);
  EXPECT_EQ(small.layerRect(), Rect(5, 10, 15, 20));
}

TEST_F(ShapeLayerTest, LineHandlesSitAtTheLineEnds) {
  CMShapeLayer line(shapeLayerRecord(4, lineShape({5, 5}, {65, 45}), 10, 20));
  ASSERT_TRUE(line.isLineShape());
  const ArrayRef handles = line.editingPoints();
  ASSERT_EQ(handles->size(), 2u);
  EXPECT_EQ(entryAt(handles, 0)->get("type").integerValue(), 15);
  EXPECT_EQ(pointOf(entryAt(handles, 0)), (Point{15, 25}));
  EXPECT_EQ(entryAt(handles, 1)->get("type").integerValue(), 16);
  EXPECT_EQ(pointOf(entryAt(handles, 1)), (Point{75, 65}));
  EXPECT_EQ(line.selectedFrameType(), 1);

  CMShapeLayer zoomed(shapeLayerRecord(4, lineShape({5, 5}, {65, 45}), 10, 20), 2.0f);
  zoomed.setVectorViewMode(true);
  zoomed.setViewZoom(2);
  const ArrayRef scaled = zoomed.lineEditingPoints();
  EXPECT_EQ(pointOf(entryAt(scaled, 0)), (Point{30, 50}));
  EXPECT_EQ(pointOf(entryAt(scaled, 1)), (Point{150, 130}));
}

TEST_F(ShapeLayerTest, LineWrittenAsBezierIsAnOrdinaryShape) {
  DictRef shape = lineShape({5, 5}, {65, 45});
  shape->set("isbezier", true);
  CMShapeLayer line(shapeLayerRecord(4, shape, 10, 20));
  EXPECT_FALSE(line.isLineShape());
  EXPECT_EQ(line.editingPoints()->size(), 10u);
  EXPECT_EQ(line.originPoint(), (Point{10, 20}));
  EXPECT_EQ(line.selectedFrameType(), 0);
}

TEST_F(ShapeLayerTest, MovingALineMovesBothEnds) {
  DictRef record = shapeLayerRecord(4, lineShape({5, 5}, {65, 45}), 10, 20);
  CMShapeLayer line(record);
  line.setOriginPoint({100, 50});
  const DictRef shape = record->dictionary("shape");
  EXPECT_EQ(shape->get("x1").doubleValue(), 100);
  EXPECT_EQ(shape->get("y1").doubleValue(), 50);
  EXPECT_EQ(shape->get("x2").doubleValue(), 160);
  EXPECT_EQ(shape->get("y2").doubleValue(), 90);
  EXPECT_EQ(record->get("x").doubleValue(), 10);  // the layer's own origin stays

  model_.clear();
  line.setLineEndPoint({0, 0});
  EXPECT_EQ(shape->get("x2").doubleValue(), 0);
  EXPECT_TRUE(line.dirty());
  EXPECT_EQ(countOf(model_.posted, "notificationLayerChanged"), 1u);
  line.setLineStartPoint({7, 8});
  EXPECT_EQ(pointOf(entryAt(line.lineEditingPoints(), 0)), (Point{17, 28}));
}

TEST_F(ShapeLayerTest, SetLayerRectInVectorViewModeDividesOnlyTheOrigin) {
  DictRef record = shapeLayerRecord(0, frameShape({0, 0, 30, 40}), 10, 20);
  CMShapeLayer layer(record, 2.0f);
  layer.setVectorViewMode(true);
  model_.clear();
  layer.setLayerRect({100, 40, 30, 20});
  for (const char* key : {"x", "y", "width", "height"}) EXPECT_TRUE(record->get(key).isReal32()) << key;
  EXPECT_EQ(record->get("x").doubleValue(), 50);
  EXPECT_EQ(record->get("y").doubleValue(), 20);
  EXPECT_EQ(record->get("width").doubleValue(), 30);
  EXPECT_EQ(record->get("height").doubleValue(), 20);
  EXPECT_TRUE(layer.dirty());
  EXPECT_TRUE(model_.posted.empty());
  const auto* shape = dynamic_cast<CMPathShape*>(layer.shape());
  expectRectNear(shape->path().bounds(), {0, 0, 30, 20});

  layer.setVectorViewMode(false);
  layer.setLayerRect({100.5, 40.25, 30, 20});
  EXPECT_EQ(record->get("x").doubleValue(), 100.5);  // floats, not truncated
  EXPECT_EQ(record->get("y").doubleValue(), 40.25);
}

TEST_F(ShapeLayerTest, SetLayerRectAtZoomZeroKeepsTheOrigin) {
  DictRef record = shapeLayerRecord(0, frameShape({0, 0, 30, 40}), 10, 20);
  CMShapeLayer layer(record, 0.0f);
  layer.setVectorViewMode(true);
  layer.setLayerRect({100, 40, 30, 20});
  EXPECT_EQ(record->get("x").doubleValue(), 10);
  EXPECT_EQ(record->get("y").doubleValue(), 20);
  layer.setLayerRect({std::nan(""), 0, INFINITY, 5});
  EXPECT_FALSE(document_testing::holdsNonFinite(record));
}

TEST_F(ShapeLayerTest, SetOriginSizeWritesIntegersAndResizesTheShape) {
  DictRef record = shapeLayerRecord(0, frameShape({0, 0, 30, 40}), 10, 20);
  CMShapeLayer layer(record);
  model_.clear();
  layer.setOriginSize({60.7, 80.2});
  EXPECT_TRUE(record->get("width").isInteger());
  EXPECT_EQ(record->get("width").integerValue(), 60);
  EXPECT_EQ(record->get("height").integerValue(), 80);
  EXPECT_EQ(countOf(model_.posted, "notificationLayerChanged"), 1u);
  expectRectNear(layer.layerRect(), {10, 20, 60.7, 80.2}, 1e-4);  // the shape scales in single precision
}

TEST_F(ShapeLayerTest, SetSizeTakesTheShapeSizeAndItsOffsets) {
  DictRef shape = frameShape({0, 0, 30, 40});
  shape->set("x_offset", 5);
  shape->set("y_offset", -3);
  DictRef record = shapeLayerRecord(0, shape, 10, 20);
  CMShapeLayer layer(record);
  layer.setSize();
  EXPECT_EQ(record->get("width").doubleValue(), 30);
  EXPECT_EQ(record->get("height").doubleValue(), 40);
  EXPECT_EQ(record->get("x").doubleValue(), 15);
  EXPECT_EQ(record->get("y").doubleValue(), 17);
}

TEST_F(ShapeLayerTest, FrameIsGrownByHalfTheStrokeAndMasksHaveNoOutset) {
  DictRef shape = frameShape({0, 0, 30, 40});
  shape->set("stroke", paint(colour(0, 0, 0), 4));
  DictRef record = shapeLayerRecord(0, shape, 10, 20);
  CMShapeLayer layer(record);
  EXPECT_EQ(layer.layerOffset(), 4);
  expectRectNear(layer.framePath(false).bounds(), {8, 18, 34, 44});
  platform::AffineTransform doubled;
  doubled.scaleBy(2);
  layer.setZoomTransform(doubled);
  expectRectNear(layer.framePath(true).bounds(), {16, 36, 68, 88});
  expectRectNear(layer.framePath(false).bounds(), {8, 18, 34, 44});

  record->set("ismask", true);
  EXPECT_EQ(layer.layerOffset(), 0);
  expectRectNear(layer.framePath(false).bounds(), {10, 20, 30, 40});
}

TEST_F(ShapeLayerTest, SelectedFrameTypeTellsGroupMembersApart) {
  CMShapeLayer layer(shapeLayerRecord(0, frameShape({0, 0, 30, 40})));
  layer.setSelectedAsPartOfGroup(true);
  EXPECT_EQ(layer.selectedFrameType(), 2);
  layer.setSelected(true);
  EXPECT_EQ(layer.selectedFrameType(), 0);
}

// Area and bounds of the outline the point records describe, read without the shape classes:
// each cubic sampled finely, then the shoelace formula.
struct Outline {
  double area = 0;
  Rect bounds;
};

Outline outlineOfRecords(const ArrayRef& points) {
  std::vector<Point> polygon;
  for (const platform::Value& entry : *points) {
    const DictRef record = entry.dictionary();
    const std::int64_t type = record->get("type").integerValue();
    const Point end = pointOf(record);
    if ((type & 4) && !(type & 2) && !polygon.empty()) {
      const Point start = polygon.back();
      const Point c1 = pointOf(record, "control_point1");
      const Point c2 = pointOf(record, "control_point2");
      for (int step = 1; step <= 256; ++step) {
        const double t = step / 256.0;
        const double u = 1 - t;
        polygon.push_back({u * u * u * start.x + 3 * u * u * t * c1.x + 3 * u * t * t * c2.x + t * t * t * end.x,
                           u * u * u * start.y + 3 * u * u * t * c1.y + 3 * u * t * t * c2.y + t * t * t * end.y});
      }
    } else {
      polygon.push_back(end);
    }
  }
  Outline outline;
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point a = polygon[i];
    const Point b = polygon[(i + 1) % polygon.size()];
    outline.area += a.x * b.y - b.x * a.y;
    minX = std::min(minX, a.x);
    minY = std::min(minY, a.y);
    maxX = std::max(maxX, a.x);
    maxY = std::max(maxY, a.y);
  }
  outline.area = std::fabs(outline.area) / 2;
  outline.bounds = {minX, minY, maxX - minX, maxY - minY};
  return outline;
}

TEST_F(ShapeLayerTest, SaveAsBezierWritesPointsThatRedrawTheSameOutline) {
  DictRef ovalRecord = shapeLayerRecord(1, frameShape({0, 0, 200, 100}), 10, 20);
  CMShapeLayer oval(ovalRecord);
  const Rect boundsBefore = oval.layerRect();
  oval.saveAsBezier();
  const DictRef shape = ovalRecord->dictionary("shape");
  EXPECT_TRUE(shape->get("isbezier").boolValue());
  const Outline written = outlineOfRecords(shape->array("points"));
  EXPECT_NEAR(written.area, std::numbers::pi * 100 * 50, std::numbers::pi * 100 * 50 * 1e-3);
  expectRectNear(written.bounds, {0, 0, 200, 100}, 1e-6);
  CMShapeLayer reread(ovalRecord);  // a new object draws from the records alone
  expectRectNear(reread.layerRect(), boundsBefore, 1e-6);

  DictRef rectangleRecord = shapeLayerRecord(0, frameShape({0, 0, 30, 40}));
  CMShapeLayer rectangle(rectangleRecord);
  rectangle.saveAsBezier();
  const Outline box = outlineOfRecords(rectangleRecord->dictionary("shape")->array("points"));
  EXPECT_DOUBLE_EQ(box.area, 1200);
  EXPECT_EQ(box.bounds, Rect(0, 0, 30, 40));
}

class ShapeLayerDrawing : public document_testing::StyleCanvasTest {
 protected:
  document_testing::ScratchFolders folders_;
};

TEST_F(ShapeLayerDrawing, ShapeLayerDrawsItsShape) {
  DictRef shape = frameShape({0, 0, 50, 40});
  shape->set("fill", paint(colour(255, 0, 0)));
  CMShapeLayer layer(shapeLayerRecord(0, shape));
  layer.drawL(context(), {0, 0, 200, 100});
  EXPECT_EQ(at(25, 20).r, 255);
  EXPECT_EQ(at(25, 20).a, 255);
  EXPECT_EQ(at(75, 20).a, 0);
}

TEST_F(ShapeLayerDrawing, MaskDrawsNothingOutsideDesignMode) {
  DictRef shape = frameShape({0, 0, 50, 40});
  shape->set("fill", paint(colour(255, 0, 0)));
  DictRef record = shapeLayerRecord(0, shape);
  record->set("ismask", true);
  CMShapeLayer mask(record);
  mask.drawL(context(), {0, 0, 200, 100});
  for (const Point probe : {Point{25, 20}, Point{25, 39}, Point{0, 20}}) EXPECT_EQ(at(probe.x, probe.y).a, 0);
}

TEST_F(ShapeLayerDrawing, MaskDrawsOnlyItsOutlineInDesignMode) {
  DictRef shape = frameShape({0, 0, 50, 40});
  shape->set("fill", paint(colour(255, 0, 0)));
  DictRef record = shapeLayerRecord(0, shape);
  record->set("ismask", true);
  CMShapeLayer mask(record);
  mask.setDesign(true);
  mask.drawL(context(), {0, 0, 200, 100});
  EXPECT_EQ(at(25, 20).a, 0);  // no fill inside
  EXPECT_GT(at(25, 39).a, 0);  // the dashed outline along the top edge
  EXPECT_GT(at(49, 20).a, 0);  // and the right edge
}

}  // namespace
