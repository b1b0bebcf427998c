#include <gtest/gtest.h>

#include <vector>

#include "document/CMBetheierShape.h"
#include "document/CMFreeLineShape.h"
#include "platform/core/geometry_strings.h"
#include "path_elements_support.h"

using platform::Array;
using platform::ArrayRef;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::PathElement;
using platform::Point;

namespace {

using document_testing::elementPoint;
using document_testing::kinds;

DictRef click(Point point, Point control1, Point control2, std::initializer_list<const char*> flags = {}) {
  DictRef record = Dictionary::make({{"point", platform::stringFromPoint(point)},
                                     {"control_point1", platform::stringFromPoint(control1)},
                                     {"control_point2", platform::stringFromPoint(control2)}});
  for (const char* flag : flags) record->set(flag, true);
  return record;
}

TEST(FreeLineShape, SamplesAreDrawnFromTheFirstOne) {
  DictRef record = Dictionary::make({{"points", Array::make({"{10, 10}", "{20, 30}", "{40, 10}"})}});
  auto shape = shapeWithDictionary<CMFreeLineShape>(record);
  EXPECT_EQ(kinds(shape->path()), (std::vector<PathElement>{PathElement::Move, PathElement::Line, PathElement::Line}));
  EXPECT_EQ(elementPoint(shape->path(), 0), (Point{0, 0}));
  EXPECT_EQ(elementPoint(shape->path(), 1), (Point{10, 20}));
  EXPECT_EQ(elementPoint(shape->path(), 2), (Point{30, 0}));
  EXPECT_EQ(shape->points(), nullptr);

  const ArrayRef before = record->array("points");
  // x doubled, y halved: the stored samples scale about the path's bounds origin, which is (0, 0)
  // because the path is drawn from the first sample.
  shape->setSize({60, 10});
  const ArrayRef after = record->array("points");
  EXPECT_NE(after, before);
  EXPECT_EQ(after->at(1).string(), "{40, 15}");
  EXPECT_EQ(elementPoint(shape->path(), 2), (Point{60, 0}));

  DictRef empty = Dictionary::make();
  EXPECT_TRUE(shapeWithDictionary<CMFreeLineShape>(empty)->path().isEmpty());
  EXPECT_FALSE(empty->contains("points"));  // no default outline for a drawn shape
}

TEST(FreeLineShape, SavedAsBezierItIsBuiltFromPointRecords) {
  DictRef record = Dictionary::make({{"points", Array::make({"{10, 10}", "{20, 30}"})}});
  shapeWithDictionary<CMFreeLineShape>(record)->saveAsBezier();
  EXPECT_TRUE(record->get("isbezier").boolValue());
  const ArrayRef converted = record->array("points");
  ASSERT_EQ(converted->size(), 2u);
  auto reopened = shapeWithDictionary<CMFreeLineShape>(record);
  EXPECT_EQ(reopened->points(), converted);
  EXPECT_EQ(elementPoint(reopened->path(), 1), (Point{10, 20}));
}

TEST(PenCurveShape, ClicksBecomeCurvesLinesAndSubpaths) {
  DictRef record = Dictionary::make(
      {{"start_point", "{5, 5}"},
       {"points", Array::make({click({5, 5}, {7, 8}, {0, 0}), click({15, 5}, {17, 2}, {13, 8}),
                               click({15, 25}, {0, 0}, {0, 0}, {"lineTo", "closed"}),
                               click({45, 45}, {0, 0}, {0, 0}, {"start"})})}});
  auto shape = shapeWithDictionary<CMBetheierShape>(record);
  const BezierPath& path = shape->path();
  EXPECT_EQ(kinds(path), (std::vector<PathElement>{PathElement::Move, PathElement::Curve, PathElement::Line,
                                                   PathElement::Close, PathElement::Move}));
  EXPECT_EQ(elementPoint(path, 0), (Point{0, 0}));
  EXPECT_EQ(elementPoint(path, 1, 0), (Point{2, 3}));  // the previous click's leaving control point
  EXPECT_EQ(elementPoint(path, 1, 1), (Point{8, 3}));  // this click's arriving control point
  EXPECT_EQ(elementPoint(path, 1, 2), (Point{10, 0}));
  EXPECT_EQ(elementPoint(path, 2), (Point{10, 20}));
  EXPECT_EQ(elementPoint(path, 4), (Point{40, 40}));
}

TEST(PenCurveShape, ClosingOnTheSecondClickAddsNoSegment) {
  DictRef record = Dictionary::make({{"start_point", "{0, 0}"},
                                     {"points", Array::make({click({1, 1}, {2, 2}, {0, 0}),
                                                             click({9, 9}, {0, 0}, {3, 3}, {"closed"})})}});
  EXPECT_EQ(kinds(shapeWithDictionary<CMBetheierShape>(record)->path()),
            (std::vector<PathElement>{PathElement::Move, PathElement::Close}));

  record->set("points", Array::make());
  EXPECT_TRUE(shapeWithDictionary<CMBetheierShape>(record)->path().isEmpty());
  record->set("points", Array::make({platform::Value("not a record")}));
  EXPECT_EQ(kinds(shapeWithDictionary<CMBetheierShape>(record)->path()), (std::vector<PathElement>{PathElement::Move}));
}

}  // namespace
