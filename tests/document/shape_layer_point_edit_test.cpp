#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "document/CMBaseDocument.h"
#include "document/CMPathShape.h"
#include "document/CMProject.h"
#include "document/CMShapeLayer.h"
#include "document/CMUndoActionType.h"
#include "document_test_support.h"
#include "shape_layer_support.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;

namespace {

using document_testing::curveRecord;
using document_testing::entryAt;
using document_testing::frameShape;
using document_testing::holdsNonFinite;
using document_testing::pathLayerRecord;
using document_testing::pointOf;
using document_testing::pointRecord;
using document_testing::shapeLayerRecord;

ArrayRef pointsOf(const DictRef& layerRecord) { return layerRecord->dictionary("shape")->array("points"); }

std::vector<std::int64_t> column(const ArrayRef& records, const char* key) {
  std::vector<std::int64_t> values;
  for (const platform::Value& entry : *records) values.push_back(entry.dictionary()->get(key).integerValue());
  return values;
}

DictRef withId(const ArrayRef& records, std::int64_t id) {
  for (const platform::Value& entry : *records) {
    if (entry.dictionary()->get("id").integerValue() == id) return entry.dictionary();
  }
  return nullptr;
}

DictRef handleWith(const ArrayRef& handles, std::int64_t type, std::int64_t id) {
  for (const platform::Value& entry : *handles) {
    const DictRef handle = entry.dictionary();
    if (handle->get("type").integerValue() == type && handle->get("id").integerValue() == id) return handle;
  }
  return nullptr;
}

std::size_t changesPosted(const document_testing::ObservedModel& model) {
  return static_cast<std::size_t>(std::count(model.posted.begin(), model.posted.end(), "notificationLayerChanged"));
}

class ShapeLayerPointEdit : public ::testing::Test {
 protected:
  document_testing::ScratchFolders folders_;
  document_testing::ObservedModel model_;
};

// An open path: a start, a curve arriving at (100, 0) and a curve arriving at (100, 100).
DictRef twoCurvesRecord(double x, double y) {
  return pathLayerRecord({pointRecord(1, {0, 0}, 1), curveRecord(2, {100, 0}, 4, {30, -20}, {70, -20}),
                          curveRecord(3, {100, 100}, 4, {130, 20}, {130, 80})},
                         x, y);
}

TEST_F(ShapeLayerPointEdit, PathHandlesCarryTheirNeighboursControlPoints) {
  CMShapeLayer layer(twoCurvesRecord(10, 20));
  const ArrayRef handles = layer.pathEditingPoints();
  ASSERT_TRUE(handles);
  // Curve points put their control point handles before the anchor.
  EXPECT_EQ(column(handles, "type"), (std::vector<std::int64_t>{12, 13, 14, 12, 14, 12}));

  const DictRef start = entryAt(handles, 0);
  EXPECT_EQ(pointOf(start), (Point{10, 20}));
  EXPECT_EQ(start->get("subtype").integerValue(), 1);
  EXPECT_EQ(start->get("control_point1_id").integerValue(), 2);
  EXPECT_EQ(start->get("control_point2_id").integerValue(), 0);
  EXPECT_EQ(pointOf(start, "control_point1"), (Point{40, 0}));

  const DictRef next = entryAt(handles, 1);  // point 3's first control point, beside point 2
  EXPECT_EQ(pointOf(next), (Point{140, 40}));
  EXPECT_EQ(next->get("id").integerValue(), 3);
  EXPECT_EQ(next->get("owner_id").integerValue(), 2);
  EXPECT_EQ(next->get("id_friend").integerValue(), 2);
  EXPECT_EQ(pointOf(next, "owner_point"), (Point{110, 20}));

  const DictRef own = entryAt(handles, 2);
  EXPECT_EQ(pointOf(own), (Point{80, 0}));
  EXPECT_EQ(own->get("id").integerValue(), 2);
  EXPECT_EQ(own->get("id_friend").integerValue(), 3);

  const DictRef anchor = entryAt(handles, 3);
  EXPECT_EQ(pointOf(anchor), (Point{110, 20}));
  EXPECT_EQ(anchor->get("control_point1_id").integerValue(), 3);
  EXPECT_EQ(anchor->get("control_point2_id").integerValue(), 2);

  // The last anchor mirrors nothing: the contour does not close with a curve.
  EXPECT_FALSE(entryAt(handles, 4)->contains("id_friend"));
  EXPECT_EQ(pointOf(entryAt(handles, 5)), (Point{110, 120}));
}

TEST_F(ShapeLayerPointEdit, LastAnchorMirrorsOnlyWhenTheFirstPointIsACurve) {
  auto lastHandle = [](std::int64_t firstType) {
    DictRef first = pointRecord(1, {0, 0}, firstType);
    first->set("control_point1", "{-10, 10}");
    CMShapeLayer layer(pathLayerRecord({first, pointRecord(2, {100, 0}, 2),
                                        curveRecord(3, {100, 100}, 12, {120, 20}, {20, 120})}));
    return handleWith(layer.pathEditingPoints(), 14, 3);
  };
  const DictRef curving = lastHandle(5);
  ASSERT_TRUE(curving);
  EXPECT_EQ(curving->get("id_friend").integerValue(), 1);
  const DictRef straight = lastHandle(1);
  ASSERT_TRUE(straight);
  EXPECT_FALSE(straight->contains("id_friend"));
}

TEST_F(ShapeLayerPointEdit, HiddenPointsGetNoHandleAndNonPathShapesNone) {
  DictRef hidden = pointRecord(9, {0, 0}, 12);
  hidden->set("hide", 1);
  CMShapeLayer layer(pathLayerRecord({pointRecord(1, {0, 0}, 1), pointRecord(2, {50, 0}, 2), hidden}));
  EXPECT_EQ(column(layer.pathEditingPoints(), "id"), (std::vector<std::int64_t>{1, 2}));
}

TEST_F(ShapeLayerPointEdit, MovingAnAnchorCarriesItsControlPointsAndLinkedCopy) {
  DictRef record = twoCurvesRecord(10, 20);
  withId(pointsOf(record), 2)->set("linked_point_id", 9);
  DictRef copy = pointRecord(9, {100, 0}, 12);
  copy->set("hide", 1);
  pointsOf(record)->add(copy);
  CMShapeLayer layer(record);
  const DictRef handle = handleWith(layer.pathEditingPoints(), 12, 2);
  ASSERT_TRUE(handle);

  layer.setPathPoint({130, 40}, handle);  // document (120, 20): moved by (20, 20)
  const ArrayRef points = pointsOf(record);
  EXPECT_EQ(pointOf(withId(points, 2)), (Point{120, 20}));
  EXPECT_EQ(pointOf(withId(points, 9)), (Point{120, 20}));
  EXPECT_EQ(pointOf(withId(points, 2), "control_point2"), (Point{90, 0}));
  EXPECT_EQ(pointOf(withId(points, 3), "control_point1"), (Point{150, 40}));
  EXPECT_EQ(pointOf(withId(points, 3), "control_point2"), (Point{130, 80}));  // not beside the anchor
  EXPECT_EQ(pointOf(handle, "control_point1"), (Point{160, 60}));  // the handle follows, in view units
  EXPECT_TRUE(layer.dirty());
  EXPECT_TRUE(record->dictionary("shape")->get("isbezier").boolValue());
}

TEST_F(ShapeLayerPointEdit, DraggingAControlPointMirrorsItsFriend) {
  DictRef record = twoCurvesRecord(10, 20);
  CMShapeLayer layer(record);
  const DictRef handle = handleWith(layer.pathEditingPoints(), 13, 3);
  ASSERT_TRUE(handle);
  layer.setPathControlPoint1({150, 50}, handle);  // document (140, 30), anchor (100, 0)
  const ArrayRef points = pointsOf(record);
  EXPECT_EQ(pointOf(withId(points, 3), "control_point1"), (Point{140, 30}));
  EXPECT_EQ(pointOf(withId(points, 2), "control_point2"), (Point{60, -30}));
  EXPECT_TRUE(layer.dirty());
}

TEST_F(ShapeLayerPointEdit, ControlPointWithoutFriendMovesAlone) {
  DictRef record = twoCurvesRecord(10, 20);
  CMShapeLayer layer(record);
  const DictRef handle = handleWith(layer.pathEditingPoints(), 14, 3);  // the last anchor's own
  ASSERT_TRUE(handle);
  ASSERT_FALSE(handle->contains("id_friend"));
  const DictRef before = platform::dictionaryCopy(record);
  layer.setPathControlPoint2({90, 10}, handle);
  EXPECT_EQ(pointOf(withId(pointsOf(record), 3), "control_point2"), (Point{80, -10}));
  for (const std::int64_t id : {1, 2}) EXPECT_TRUE(withId(pointsOf(record), id)->isEqual(*withId(pointsOf(before), id)));
}

TEST_F(ShapeLayerPointEdit, ControlPointsAreMappedBackThroughTheViewZoom) {
  DictRef record = twoCurvesRecord(10, 20);
  CMShapeLayer layer(record, 2.0f);
  layer.setVectorViewMode(true);
  layer.setViewZoom(2);
  const DictRef handle = handleWith(layer.pathEditingPoints(), 13, 3);
  ASSERT_TRUE(handle);
  EXPECT_EQ(pointOf(handle), (Point{280, 80}));  // 2 · ((130, 20) + (10, 20))
  // Mapped back as (p − origin) / zoom, and the owner (220, 40) the same way to (105, 10).
  layer.setPathControlPoint1({300, 100}, handle);
  EXPECT_EQ(pointOf(withId(pointsOf(record), 3), "control_point1"), (Point{145, 40}));
  EXPECT_EQ(pointOf(withId(pointsOf(record), 2), "control_point2"), (Point{65, -20}));
}

DictRef openPath() {
  return pathLayerRecord({pointRecord(1, {0, 0}, 1), pointRecord(2, {100, 0}, 2), pointRecord(3, {100, 100}, 2)});
}

TEST_F(ShapeLayerPointEdit, AddedPointGoesBeforeANearestLastPoint) {
  DictRef record = openPath();
  CMShapeLayer layer(record);
  model_.clear();
  layer.addPoint({100, 90});
  const ArrayRef points = pointsOf(record);
  EXPECT_EQ(column(points, "id"), (std::vector<std::int64_t>{1, 2, 4, 3}));
  EXPECT_EQ(pointOf(entryAt(points, 2)), (Point{100, 90}));
  EXPECT_EQ(entryAt(points, 2)->get("type").integerValue(), 2);
  EXPECT_EQ(changesPosted(model_), 1u);
  EXPECT_TRUE(layer.dirty());
}

TEST_F(ShapeLayerPointEdit, AddedPointTieGoesToTheLowestIndex) {
  DictRef record = openPath();
  CMShapeLayer layer(record);
  layer.addPoint({50, -1});  // as far from (0, 0) as from (100, 0)
  EXPECT_EQ(column(pointsOf(record), "id"), (std::vector<std::int64_t>{1, 4, 2, 3}));
}

TEST_F(ShapeLayerPointEdit, AddedPointBesideAClosingPointClosesTheContour) {
  DictRef record = shapeLayerRecord(7, frameShape({0, 0, 100, 100}), 10, 20);
  CMShapeLayer layer(record);
  layer.addPoint({20, 20});  // document (10, 0): nearest (0, 0), then the closing (100, 0)
  const ArrayRef points = pointsOf(record);
  EXPECT_EQ(column(points, "id"), (std::vector<std::int64_t>{1, 2, 4, 5, 6}));
  EXPECT_EQ(column(points, "type"), (std::vector<std::int64_t>{1, 2, 2, 2, 10}));
  EXPECT_EQ(pointOf(entryAt(points, 4)), (Point{10, 0}));
  // The redrawn outline runs through the new point and closes there.
  const platform::BezierPath path = dynamic_cast<CMPathShape*>(layer.shape())->path();
  EXPECT_EQ(path.elementAt(path.elementCount() - 1), platform::PathElement::Close);
  EXPECT_TRUE(path.containsPoint({50, 50}));
}

TEST_F(ShapeLayerPointEdit, AddingToOnePointChangesNothingButStillNotifies) {
  DictRef record = pathLayerRecord({pointRecord(1, {0, 0}, 1)});
  const DictRef before = platform::dictionaryCopy(record);
  CMShapeLayer layer(record);
  model_.clear();
  layer.addPoint({5, 5});
  EXPECT_TRUE(pointsOf(record)->isEqual(*pointsOf(before)));
  EXPECT_EQ(changesPosted(model_), 1u);
  layer.addPoint({NAN, 0});
  EXPECT_FALSE(holdsNonFinite(record));
}

TEST_F(ShapeLayerPointEdit, AddingToAParametricShapeWritesItAsBezierFirst) {
  DictRef record = shapeLayerRecord(0, frameShape({0, 0, 30, 40}));
  CMShapeLayer layer(record);
  layer.addPoint({15, 41});
  EXPECT_TRUE(record->dictionary("shape")->get("isbezier").boolValue());
  EXPECT_EQ(pointsOf(record)->size(), 5u);
}

// As the canvas does it: select in point mode, register the drag, move a point, deselect; undo gives the oval back.
TEST_F(ShapeLayerPointEdit, UndoOfAPointDragGivesTheParametricShapeBack) {
  CMBaseDocument document;
  document.setData(document_testing::rootWith({shapeLayerRecord(1, frameShape({0, 0, 80, 40}), 10, 20)}));
  const DictRef record = document.data()->array("layers")->at(0).dictionary();
  record->set("id", 1);
  const DictRef before = platform::dictionaryCopy(record);
  CMProject::shareProject().setEditMode(kCMEditModePathPoints);
  {
    CMShapeLayer layer(record);
    layer.setSelected(true);
    EXPECT_TRUE(pointsOf(record)->isEqual(*before->dictionary("shape")->array("points")))
        << "selecting alone leaves the record's points";
    document.undoManager().regUndoDictionary(kCMUndoEditing, record);
    const DictRef handle = layer.pathEditingPoints()->at(0).dictionary();
    layer.setPathPoint({5, 5}, handle);
    layer.setSelected(false);
  }
  CMProject::shareProject().setEditMode(kCMEditModeObject);
  EXPECT_TRUE(record->dictionary("shape")->get("isbezier").boolValue());
  document.undo();
  const DictRef restored = document.data()->array("layers")->at(0).dictionary();
  EXPECT_FALSE(restored->dictionary("shape")->get("isbezier").boolValue());
  EXPECT_TRUE(restored->dictionary("shape")->array("points")->isEqual(*before->dictionary("shape")->array("points")))
      << "the oval's own points, not the editing ones";
}

// Each point command on a rectangle, oval or star at a place off the whole units turns it into points in place,
// which rewrites the layer's frame; its undo step gives the record back exactly, frame included.
TEST_F(ShapeLayerPointEdit, UndoOfAPointCommandGivesBackTheFrameAsStored) {
  for (const std::int64_t shapeType : {0, 1, 5}) {
    for (int command = 0; command < 4; ++command) {  // add a point, delete one, make one a curve, make one a corner
      SCOPED_TRACE(testing::Message() << "shape type " << shapeType << ", command " << command);
      CMBaseDocument document;
      document.setData(document_testing::rootWith(
          {shapeLayerRecord(shapeType, frameShape({0, 0, 80.25, 40.5}), -80.43214542503165, 283.0397789396673)}));
      const DictRef record = document.data()->array("layers")->at(0).dictionary();
      const DictRef before = platform::dictionaryCopy(record);
      CMProject::shareProject().setEditMode(kCMEditModePathPoints);
      {
        CMShapeLayer layer(record);
        layer.setSelected(true);
        const DictRef handle = layer.pathEditingPoints()->at(0).dictionary();
        document.undoManager().regUndoShape(record);
        if (command == 0) layer.addPoint({-40, 283});
        if (command == 1) layer.removePoint(handle);
        if (command > 1) layer.changePointType(command == 2 ? 1 : 0, handle);
        layer.setSelected(false);
      }
      CMProject::shareProject().setEditMode(kCMEditModeObject);
      document.undo();
      const DictRef restored = document.data()->array("layers")->at(0).dictionary();
      for (const char* key : {"x", "y", "width", "height"})
        EXPECT_TRUE(restored->get(key).isEqual(before->get(key)))
            << key << ": " << restored->get(key).description() << " against " << before->get(key).description();
      // The offsets the editing view writes beside the points are no part of the shape.
      const DictRef shape = restored->dictionary("shape");
      EXPECT_FALSE(shape->get("isbezier").boolValue());
      EXPECT_TRUE(shape->get("points").isEqual(before->dictionary("shape")->get("points")));
    }
  }
}

TEST_F(ShapeLayerPointEdit, RemovingASubpathStartMakesTheNextPointStartIt) {
  DictRef record = pathLayerRecord({pointRecord(1, {0, 0}, 1), pointRecord(2, {100, 0}, 2),
                                    pointRecord(3, {100, 100}, 10)});
  CMShapeLayer layer(record);
  model_.clear();
  layer.removePoint(Dictionary::make({{"id", 1}}));
  EXPECT_EQ(column(pointsOf(record), "id"), (std::vector<std::int64_t>{2, 3}));
  EXPECT_EQ(column(pointsOf(record), "type"), (std::vector<std::int64_t>{3, 10}));
  EXPECT_EQ(changesPosted(model_), 1u);

  layer.removePoint(Dictionary::make({{"id", 42}}));  // no such point: nothing removed, still notified
  EXPECT_EQ(pointsOf(record)->size(), 2u);
  EXPECT_EQ(changesPosted(model_), 2u);

  DictRef single = pathLayerRecord({pointRecord(1, {0, 0}, 1)});
  CMShapeLayer lone(single);
  lone.removePoint(Dictionary::make({{"id", 1}}));  // the last point stays
  EXPECT_EQ(pointsOf(single)->size(), 1u);
}

// Between two neighbours that share x the slope is vertical: the handle stands 50 below.
DictRef bentPath() {
  return pathLayerRecord({pointRecord(1, {0, 0}, 1), pointRecord(2, {50, 50}, 2), pointRecord(3, {0, 100}, 2)});
}

TEST_F(ShapeLayerPointEdit, CurvePointBetweenVerticalNeighboursGetsAFiniteHandle) {
  DictRef record = bentPath();
  CMShapeLayer layer(record);
  layer.changePointType(1, Dictionary::make({{"id", 2}}));
  const ArrayRef points = pointsOf(record);
  const DictRef bent = withId(points, 2);
  EXPECT_EQ(bent->get("type").integerValue(), 4);
  EXPECT_EQ(pointOf(bent, "control_point1"), (Point{0, 0}));  // the straight previous segment's start
  EXPECT_EQ(pointOf(bent, "control_point2"), (Point{50, 0}));
  const DictRef after = withId(points, 3);
  EXPECT_EQ(pointOf(after, "control_point1"), (Point{50, 100}));  // mirrored through the anchor
  EXPECT_EQ(pointOf(after, "control_point2"), (Point{0, 100}));
  EXPECT_EQ(after->get("virtual_type").integerValue(), 12);
  EXPECT_EQ(after->get("type").integerValue(), 10);  // the last point closes
  EXPECT_FALSE(holdsNonFinite(record));
}

TEST_F(ShapeLayerPointEdit, CornerUndoesACurve) {
  DictRef record = bentPath();
  CMShapeLayer layer(record);
  layer.changePointType(1, Dictionary::make({{"id", 2}}));
  layer.changePointType(0, Dictionary::make({{"id", 2}}));
  const ArrayRef points = pointsOf(record);
  const DictRef corner = withId(points, 2);
  EXPECT_EQ(corner->get("type").integerValue(), 2);
  EXPECT_FALSE(corner->contains("control_point1"));
  EXPECT_FALSE(corner->contains("control_point2"));
  EXPECT_FALSE(withId(points, 3)->contains("control_point1"));
  EXPECT_EQ(withId(points, 3)->get("type").integerValue() & 8, 8);
  const platform::BezierPath path = dynamic_cast<CMPathShape*>(layer.shape())->path();
  EXPECT_EQ(path.bounds(), platform::Rect(0, 0, 50, 100));
}

DictRef triangle() {
  return pathLayerRecord({pointRecord(1, {0, 0}, 1), pointRecord(2, {100, 0}, 2), pointRecord(3, {50, 100}, 10)});
}

TEST_F(ShapeLayerPointEdit, CurvingTheClosingPointAddsAHiddenCopyOfTheFirst) {
  DictRef record = triangle();
  CMShapeLayer layer(record);
  layer.changePointType(1, Dictionary::make({{"id", 3}}));
  const ArrayRef points = pointsOf(record);
  ASSERT_EQ(points->size(), 4u);
  const DictRef closing = withId(points, 3);
  EXPECT_EQ(closing->get("type").integerValue(), 4);
  // Parallel to (100, 0)→(0, 0) through (50, 100), on the far side from the centre (50, 50).
  EXPECT_EQ(pointOf(closing, "control_point2"), (Point{100, 100}));
  const DictRef copy = entryAt(points, 3);
  EXPECT_EQ(copy->get("id").integerValue(), 4);
  EXPECT_TRUE(copy->get("hide").boolValue());
  EXPECT_TRUE(copy->get("temp").boolValue());
  EXPECT_EQ(copy->get("type").integerValue(), 12);
  EXPECT_EQ(pointOf(copy), (Point{0, 0}));
  EXPECT_EQ(pointOf(copy, "control_point1"), (Point{0, 100}));
  EXPECT_EQ(withId(points, 1)->get("linked_point_id").integerValue(), 4);
}

TEST_F(ShapeLayerPointEdit, CornerOnTheClosingPointDropsTheHiddenCopy) {
  DictRef record = triangle();
  CMShapeLayer layer(record);
  layer.changePointType(1, Dictionary::make({{"id", 3}}));
  layer.changePointType(0, Dictionary::make({{"id", 3}}));
  const ArrayRef points = pointsOf(record);
  EXPECT_EQ(column(points, "id"), (std::vector<std::int64_t>{1, 2, 3}));
  EXPECT_EQ(withId(points, 3)->get("type").integerValue(), 10);
  EXPECT_FALSE(withId(points, 3)->contains("control_point2"));
  const platform::BezierPath path = dynamic_cast<CMPathShape*>(layer.shape())->path();
  EXPECT_EQ(path.bounds(), platform::Rect(0, 0, 100, 100));
  EXPECT_TRUE(path.containsPoint({50, 50}));
  EXPECT_FALSE(path.containsPoint({10, 90}));
}

TEST_F(ShapeLayerPointEdit, LastPointAlwaysClosesAfterAChangeOfType) {
  for (const std::int32_t kind : {0, 1}) {
    for (const std::int64_t id : {1, 2, 3}) {
      DictRef record = openPath();
      CMShapeLayer layer(record);
      layer.changePointType(kind, Dictionary::make({{"id", id}}));
      const DictRef last = entryAt(pointsOf(record), pointsOf(record)->size() - 1);
      EXPECT_EQ(last->get("type").integerValue() & 8, 8) << "kind " << kind << " id " << id;
      EXPECT_FALSE(holdsNonFinite(record));
    }
  }
}

TEST_F(ShapeLayerPointEdit, HugeCoordinatesNeverStoreNonFiniteNumbers) {
  const double huge = std::numeric_limits<double>::max() / 2;
  DictRef record = pathLayerRecord({pointRecord(1, {-huge, 0}, 1), pointRecord(2, {huge, huge}, 2),
                                    pointRecord(3, {huge, -huge}, 2)});
  CMShapeLayer layer(record);
  for (const std::int64_t id : {1, 2, 3}) layer.changePointType(1, Dictionary::make({{"id", id}}));
  layer.addPoint({huge, 0});
  const DictRef handle = handleWith(layer.pathEditingPoints(), 12, 2);
  ASSERT_TRUE(handle);
  layer.setPathPoint({-huge, huge}, handle);
  EXPECT_FALSE(holdsNonFinite(record));
}

TEST(ShapeLayerControlPoint, FollowsTheNeighboursSlopeOnTheCentresSide) {
  // Horizontal neighbours: 50 along x, to the right above the centre and to the left below it.
  EXPECT_EQ(CMShapeLayer::findControlPoint({0, 0}, {10, 0}, {-10, 0}, {0, -1}), (Point{50, 0}));
  EXPECT_EQ(CMShapeLayer::findControlPoint({0, 0}, {10, 0}, {-10, 0}, {0, 1}), (Point{-50, 0}));
  // Vertical neighbours: 50 along y.
  EXPECT_EQ(CMShapeLayer::findControlPoint({5, 5}, {0, 10}, {0, 0}, {0, 0}), (Point{5, 55}));
  EXPECT_EQ(CMShapeLayer::findControlPoint({5, 5}, {0, 10}, {0, 0}, {0, 10}), (Point{5, -45}));
  // Coincident neighbours give no direction at all: vertical as well.
  EXPECT_EQ(CMShapeLayer::findControlPoint({5, 5}, {1, 1}, {1, 1}, {0, 0}), (Point{5, 55}));
  const Point unordered = CMShapeLayer::findControlPoint({NAN, 0}, {0, 10}, {0, 0}, {0, NAN});
  EXPECT_TRUE(std::isfinite(unordered.x) && std::isfinite(unordered.y));
}

TEST(ShapeLayerCurveType, VirtualOrRealCurveKeepsStartAndClose) {
  auto curved = [](std::int64_t type, bool isVirtual) {
    DictRef point = Dictionary::make({{"type", type}});
    CMShapeLayer::setTypeCurveForPoint(point, isVirtual);
    return std::pair{point->get("type").integerValue(), point->get("virtual_type").integerValue()};
  };
  EXPECT_EQ(curved(2, false), (std::pair<std::int64_t, std::int64_t>{4, 4}));
  EXPECT_EQ(curved(3, false), (std::pair<std::int64_t, std::int64_t>{5, 5}));
  EXPECT_EQ(curved(10, false), (std::pair<std::int64_t, std::int64_t>{12, 12}));
  EXPECT_EQ(curved(2, true), (std::pair<std::int64_t, std::int64_t>{2, 4}));
}

TEST_F(ShapeLayerPointEdit, PenCurveHandlesAreTheClicksOwnPoints) {
  DictRef first = Dictionary::make({{"point", "{0, 0}"}, {"control_point1", "{10, 0}"}});
  DictRef second = Dictionary::make({{"point", "{50, 0}"}, {"control_point1", "{60, 0}"}, {"control_point2", "{40, 5}"}});
  DictRef record = shapeLayerRecord(6, Dictionary::make({{"points", Array::make({first, second})}}), 100, 100);
  CMShapeLayer layer(record);
  EXPECT_TRUE(layer.isBezierShape());
  const ArrayRef handles = layer.bezierEditingPoints();
  EXPECT_EQ(column(handles, "type"), (std::vector<std::int64_t>{19, 20, 19, 20, 21}));
  std::vector<Point> positions;
  for (const platform::Value& entry : *handles) positions.push_back(pointOf(entry.dictionary()));
  EXPECT_EQ(positions, (std::vector<Point>{{0, 0}, {10, 0}, {50, 0}, {60, 0}, {40, 5}}));
}

}  // namespace
