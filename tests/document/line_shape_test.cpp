#include "document/CMLineShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "document/CMProject.h"
#include "document_test_support.h"

using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::PathElement;
using platform::Point;

namespace {

// Half width of an arrowhead of length 10 with a 45 degree opening: 10 * tan(22.5°).
const double kHalf = 10 * (std::sqrt(2.0) - 1);

struct Step {
  PathElement kind;
  Point point;
};

std::vector<Step> steps(const BezierPath& path) {
  std::vector<Step> result;
  for (int index = 0; index < path.elementCount(); ++index) {
    Point points[3];
    const PathElement kind = path.elementAt(index, points);
    result.push_back({kind, kind == PathElement::Curve ? points[2] : points[0]});
  }
  return result;
}

void expectSteps(const BezierPath& path, const std::vector<Step>& expected) {
  const std::vector<Step> actual = steps(path);
  ASSERT_EQ(actual.size(), expected.size()) << path.description();
  for (std::size_t index = 0; index < expected.size(); ++index) {
    EXPECT_EQ(actual[index].kind, expected[index].kind) << "element " << index;
    if (expected[index].kind == PathElement::Close) continue;
    EXPECT_NEAR(actual[index].point.x, expected[index].point.x, 1e-4) << "element " << index;
    EXPECT_NEAR(actual[index].point.y, expected[index].point.y, 1e-4) << "element " << index;
  }
}

constexpr PathElement kMove = PathElement::Move;
constexpr PathElement kLine = PathElement::Line;
constexpr PathElement kClose = PathElement::Close;

DictRef lineRecord(Point from, Point to, std::int64_t type, std::int64_t style, std::int64_t width = 1) {
  return Dictionary::make({{"x1", from.x}, {"y1", from.y}, {"x2", to.x}, {"y2", to.y}, {"type", type},
                           {"style", style}, {"def_width", width}, {"stroke", Dictionary::make({{"use", true}})}});
}

class LineShape : public ::testing::Test {
 protected:
  BezierPath pathOf(Point from, Point to, std::int64_t type, std::int64_t style) {
    return shapeWithDictionary<CMLineShape>(lineRecord(from, to, type, style))->path();
  }
  CMGlobalProfile& profile() { return CMProject::shareProject().profile(); }

 private:
  document_testing::ScratchFolders folders_;
};

TEST_F(LineShape, FullArrowAtTheStartOfAHorizontalLine) {
  DictRef record = lineRecord({0, 0}, {100, 0}, 1, 0);
  auto shape = shapeWithDictionary<CMLineShape>(record);
  expectSteps(shape->path(), {{kMove, {0, 0}},
                              {kLine, {10, kHalf}},
                              {kLine, {10, -kHalf}},
                              {kClose, {}},
                              {kMove, {10, 0}},
                              {kLine, {100, 0}}});
  EXPECT_FLOAT_EQ(record->dictionary("stroke")->get("lineWidth").floatValue(), 1);
}

TEST_F(LineShape, VerticalAndSlantedLinesGetArrowheadsAlongTheSegment) {
  expectSteps(pathOf({0, 0}, {0, 100}, 1, 0), {{kMove, {0, 0}},
                                               {kLine, {kHalf, 10}},
                                               {kLine, {-kHalf, 10}},
                                               {kClose, {}},
                                               {kMove, {0, 10}},
                                               {kLine, {0, 100}}});
  expectSteps(pathOf({0, 100}, {0, 0}, 1, 0), {{kMove, {0, 100}},
                                               {kLine, {kHalf, 90}},
                                               {kLine, {-kHalf, 90}},
                                               {kClose, {}},
                                               {kMove, {0, 90}},
                                               {kLine, {0, 0}}});
  // Direction (0.6, 0.8): base (6, 8), normal with positive x (0.8, -0.6).
  expectSteps(pathOf({0, 0}, {30, 40}, 1, 0), {{kMove, {0, 0}},
                                               {kLine, {6 + 0.8 * kHalf, 8 - 0.6 * kHalf}},
                                               {kLine, {6 - 0.8 * kHalf, 8 + 0.6 * kHalf}},
                                               {kClose, {}},
                                               {kMove, {6, 8}},
                                               {kLine, {30, 40}}});
  const BezierPath nearlyVertical = pathOf({0, 0}, {1e-9, 100}, 1, 0);
  EXPECT_NEAR(steps(nearlyVertical)[1].point.x, kHalf, 1e-6);
  EXPECT_NEAR(steps(nearlyVertical)[1].point.y, 10, 1e-6);
}

TEST_F(LineShape, TwoArrowsJoinTheirBasePoints) {
  const BezierPath path = pathOf({0, 0}, {100, 0}, 2, 0);
  const std::vector<Step> all = steps(path);
  ASSERT_EQ(all.size(), 10u) << path.description();
  expectSteps(path, {all[0], all[1], all[2], all[3], {kMove, {100, 0}}, all[5], all[6], {kClose, {}},
                     {kMove, {10, 0}}, {kLine, {90, 0}}});
  // Either normal serves a horizontal segment: the corners are the pair at the base, in some order.
  EXPECT_NEAR(all[5].point.x, 90, 1e-9);
  EXPECT_NEAR(all[6].point.x, 90, 1e-9);
  EXPECT_NEAR(std::fabs(all[5].point.y), kHalf, 1e-9);
  EXPECT_NEAR(all[5].point.y + all[6].point.y, 0, 1e-9);
}

TEST_F(LineShape, EachArrowStyleHasItsOwnOutline) {
  // Open: no base point, so the line starts at the tip.
  expectSteps(pathOf({0, 0}, {100, 0}, 1, 2),
              {{kMove, {10, kHalf}}, {kLine, {0, 0}}, {kLine, {10, -kHalf}}, {kMove, {0, 0}}, {kLine, {100, 0}}});
  // Diamond: the corners moved half way back towards the tip.
  expectSteps(pathOf({0, 0}, {100, 0}, 1, 3), {{kMove, {5, kHalf}},
                                               {kLine, {0, 0}},
                                               {kLine, {5, -kHalf}},
                                               {kLine, {10, 0}},
                                               {kClose, {}},
                                               {kMove, {10, 0}},
                                               {kLine, {100, 0}}});
  // PointY: the corners thrown past the tip by twice the length.
  expectSteps(pathOf({0, 0}, {100, 0}, 1, 4),
              {{kMove, {-10, kHalf}}, {kLine, {0, 0}}, {kLine, {-10, -kHalf}}, {kMove, {0, 0}}, {kLine, {100, 0}}});
  // Circle: diameter from the tip to the base.
  const BezierPath circle = pathOf({0, 0}, {100, 0}, 1, 1);
  BezierPath head;
  for (int index = 0; index < circle.elementCount() - 2; ++index) {
    Point points[3];
    const PathElement kind = circle.elementAt(index, points);
    if (kind == kMove) head.moveTo(points[0]);
    if (kind == PathElement::Curve) head.curveTo(points[2], points[0], points[1]);
  }
  const platform::Rect bounds = head.bounds();
  EXPECT_NEAR(bounds.origin.x, 0, 1e-6);
  EXPECT_NEAR(bounds.size.width, 10, 1e-6);
  EXPECT_NEAR(bounds.origin.y, -5, 1e-6);
  expectSteps(pathOf({0, 0}, {100, 0}, 1, 7), {{kMove, {0, 0}}, {kLine, {100, 0}}});  // unknown style
}

TEST_F(LineShape, DegenerateInputGivesAPlainLine) {
  expectSteps(pathOf({0, 0}, {100, 0}, 0, 0), {{kMove, {0, 0}}, {kLine, {100, 0}}});
  expectSteps(pathOf({0, 0}, {100, 0}, 5, 0), {{kMove, {0, 0}}, {kLine, {100, 0}}});
  expectSteps(pathOf({3, 4}, {3, 4}, 2, 0), {{kMove, {3, 4}}, {kLine, {3, 4}}});
}

TEST_F(LineShape, MovingEndsRebuildsFromTheRecord) {
  DictRef record = lineRecord({0, 0}, {10, 20}, 0, 0);
  auto shape = shapeWithDictionary<CMLineShape>(record);
  shape->setLinePosition({5, 5});
  EXPECT_EQ(shape->startPoint(), (Point{5, 5}));
  EXPECT_EQ(shape->endPoint(), (Point{15, 25}));
  expectSteps(shape->path(), {{kMove, {5, 5}}, {kLine, {15, 25}}});

  shape->setLineEndPoint({50, 5});
  record->set("def_width", 3);
  shape->updateShape();
  EXPECT_FLOAT_EQ(record->dictionary("stroke")->get("lineWidth").floatValue(), 3);
  // An imported line's fractional width survives the rebuild.
  record->set("def_width", 0.75);
  shape->updateShape();
  EXPECT_FLOAT_EQ(record->dictionary("stroke")->get("lineWidth").floatValue(), 0.75);
  shape->setLinePosition({std::numeric_limits<double>::infinity(), 0});  // refused
  EXPECT_EQ(shape->startPoint(), (Point{5, 5}));
}

TEST_F(LineShape, ToolOptionsAreTakenOnceAndAStoredArrowTypeWins) {
  profile().setInteger(1, "line_arrow_type");
  profile().setInteger(0, "line_arrow_style");
  profile().setInteger(1, "line_width");
  DictRef record = Dictionary::make({{"x2", 100}, {"stroke", Dictionary::make({{"use", true}})}});
  const BezierPath created = shapeWithDictionary<CMLineShape>(record)->path();
  EXPECT_EQ(record->get("type").integerValue(), 1);
  EXPECT_EQ(record->get("def_width").integerValue(), 1);
  EXPECT_EQ(steps(created).size(), 6u);

  profile().setInteger(2, "line_arrow_type");
  profile().setInteger(2, "line_arrow_style");
  profile().setInteger(5, "line_width");
  EXPECT_EQ(shapeWithDictionary<CMLineShape>(record)->path(), created);

  record->set("line_arrow_type", 0);
  expectSteps(shapeWithDictionary<CMLineShape>(record)->path(), {{kMove, {0, 0}}, {kLine, {100, 0}}});
  EXPECT_EQ(record->get("type").integerValue(), 0);
}

}  // namespace
