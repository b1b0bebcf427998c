// The four operations on operands whose edges coincide, against areas and bounds worked out by hand and against
// Cairo's even-odd fill of the operands: sampled, the result fills what the set operation of the operands fills;
// beside each point of its outline one side is filled and the other not, so no piece of it has no width.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "boolean/path_boolean_operations.h"
#include "boolean_corpus.h"
#include "path_oracles.h"

namespace {

using platform::BezierPath;
using platform::Point;
using platform::Rect;

struct Operation {
  const char* name;
  BezierPath (*apply)(const BezierPath&, const BezierPath&);
  bool (*combine)(bool inA, bool inB);
};
const Operation kOperations[] = {{"union", pb_union, [](bool a, bool b) { return a || b; }},
                                 {"intersection", pb_intersect, [](bool a, bool b) { return a && b; }},
                                 {"difference", pb_difference, [](bool a, bool b) { return a && !b; }},
                                 {"exclusive-or", pb_xor, [](bool a, bool b) { return a != b; }}};

void expectTracesTheSetOperation(const Operation& operation, const BezierPath& a, const BezierPath& b,
                                 const BezierPath& result, int steps) {
  SCOPED_TRACE(std::string(operation.name) + " gave " + pathoracles::svgPathData(result));
  const pathoracles::FillTester inA(a, true);
  const pathoracles::FillTester inB(b, true);
  const pathoracles::FillTester inResult(result, true);
  auto expected = [&](Point point) { return operation.combine(inA.contains(point), inB.contains(point)); };
  BezierPath both = a;
  both.appendPath(b);
  const Rect frame = both.controlPointBounds();
  const double size = std::max(frame.size.width, frame.size.height);
  int wrongFill = 0;
  for (int i = 0; i < steps; ++i) {
    for (int j = 0; j < steps; ++j) {
      const Point point{frame.origin.x - 0.05 * size + (i + 0.382) * 1.1 * size / steps,
                        frame.origin.y - 0.05 * size + (j + 0.618) * 1.1 * size / steps};
      wrongFill += inResult.contains(point) != expected(point);
    }
  }
  EXPECT_EQ(wrongFill, 0);
  int notOnTheBoundary = 0;
  const double step = 1e-3 * size;
  for (const pathoracles::OutlinePoint& at : pathoracles::outlinePoints(result)) {
    const Point left{at.point.x + step * at.normal.x, at.point.y + step * at.normal.y};
    const Point right{at.point.x - step * at.normal.x, at.point.y - step * at.normal.y};
    notOnTheBoundary += expected(left) == expected(right);
  }
  EXPECT_EQ(notOnTheBoundary, 0);
  for (double area : pathoracles::signedSubpathAreas(result)) EXPECT_GT(std::fabs(area), 1e-6 * size * size);
}

struct Expected {
  double area;
  Rect bounds;  // the zero rectangle for an empty result
};

struct SharedEdgeCase {
  std::string name;
  std::string a;
  std::string b;
  Expected results[4];  // in the order of kOperations; difference is a − b
  friend void PrintTo(const SharedEdgeCase& c, std::ostream* out) { *out << c.name; }
};

using corpus::rectangle;
// The four-cubic circle of radius 100 by Green's theorem, worked on paper: r² (2 + 12k/5 − 3k²/5), k its kappa.
constexpr double kKappa = 0.5522847498307936;
constexpr double kDisc = 1e4 * (2 + 12 * kKappa / 5 - 3 * kKappa * kKappa / 5);
const Rect kNothing{};
const Rect kDiscBounds{-100, -100, 200, 200};
const Rect kSquare{0, 0, 100, 100};

const SharedEdgeCase kCases[] = {
    {"square_and_its_copy", rectangle(0, 0, 100, 100), rectangle(0, 0, 100, 100),
     {{10000, kSquare}, {10000, kSquare}, {0, kNothing}, {0, kNothing}}},
    {"square_and_the_hole_of_a_frame", rectangle(0, 0, 100, 100) + rectangle(30, 30, 40, 40), rectangle(30, 30, 40, 40),
     {{10000, kSquare}, {0, kNothing}, {8400, kSquare}, {10000, kSquare}}},
    {"circle_and_its_copy", corpus::circle(0, 0, 100), corpus::circle(0, 0, 100),
     {{kDisc, kDiscBounds}, {kDisc, kDiscBounds}, {0, kNothing}, {0, kNothing}}},
};

class SharedEdges : public ::testing::TestWithParam<SharedEdgeCase> {};

TEST_P(SharedEdges, AreasBoundsAndOutlinesAreThoseOfTheSetOperation) {
  const BezierPath a = pathoracles::parseSvgPath(GetParam().a);
  const BezierPath b = pathoracles::parseSvgPath(GetParam().b);
  for (std::size_t index = 0; index < std::size(kOperations); ++index) {
    const Operation& operation = kOperations[index];
    const Expected& expected = GetParam().results[index];
    SCOPED_TRACE(operation.name);
    const BezierPath result = operation.apply(a, b);
    EXPECT_NEAR(pathoracles::evenOddArea(result), expected.area, 1e-6 * expected.area + 1e-9);
    const Rect bounds = result.isEmpty() ? kNothing : result.bounds();
    for (const auto& [got, wanted] : {std::pair{bounds.origin, expected.bounds.origin},
                                      {Point{bounds.size.width, bounds.size.height},
                                       Point{expected.bounds.size.width, expected.bounds.size.height}}}) {
      EXPECT_NEAR(got.x, wanted.x, 1e-6);
      EXPECT_NEAR(got.y, wanted.y, 1e-6);
    }
    expectTracesTheSetOperation(operation, a, b, result, 61);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, SharedEdges, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SharedEdgeCase>& info) { return info.param.name; });

}  // namespace
