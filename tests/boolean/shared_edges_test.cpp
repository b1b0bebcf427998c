// The four operations on operands whose edges coincide, against areas and bounds worked out by hand and against
// Cairo's even-odd fill of the operands: sampled, the result fills what the set operation of the operands fills;
// beside each point of its outline one side is filled and the other not, so no piece of it has no width.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>

#include "../random_test_seed.h"
#include "boolean/bezier_graph.h"
#include "boolean/path_boolean_operations.h"
#include "boolean_corpus.h"
#include "boolean_judge.h"
#include "path_oracles.h"

namespace {

using platform::BezierPath;
using platform::Point;
using platform::Rect;

using booleancheck::Operation;
constexpr Operation kOperations[] = {Operation::Union, Operation::Intersect, Operation::Difference, Operation::Xor};

void expectTracesTheSetOperation(Operation operation, const BezierPath& a, const BezierPath& b,
                                 const BezierPath& result) {
  std::mt19937 random(1);
  EXPECT_EQ(booleancheck::judge(operation, a, b, result, random), "")
      << booleancheck::name(operation) << " gave " << pathoracles::svgPathData(result);
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
const std::string kUpperHalfDisc =
    "M 100 0 C 100 55.22847498307936 55.22847498307936 100 0 100 C -55.22847498307936 100 -100 55.22847498307936 "
    "-100 0 Z";
const std::string kLowerHalfDisc =
    "M -100 0 C -100 -55.22847498307936 -55.22847498307936 -100 0 -100 C 55.22847498307936 -100 100 "
    "-55.22847498307936 100 0 Z";
const Rect kNothing{};
const Rect kDiscBounds{-100, -100, 200, 200};
const Rect kSquare{0, 0, 100, 100};

const SharedEdgeCase kCases[] = {
    {"collinear_top_and_bottom", rectangle(100, 100, 100, 80), rectangle(60, 100, 80, 80),
     {{11200, {60, 100, 140, 80}}, {3200, {100, 100, 40, 80}}, {4800, {140, 100, 60, 80}}, {8000, {60, 100, 140, 80}}}},
    {"collinear_part_of_one_edge", rectangle(0, 0, 100, 100), rectangle(60, 0, 80, 50),
     {{12000, {0, 0, 140, 100}}, {2000, {60, 0, 40, 50}}, {8000, kSquare}, {10000, {0, 0, 140, 100}}}},
    {"collinear_side_and_a_strip", rectangle(20, 0, 30, 30), rectangle(20, 10, 10, 40),
     {{1100, {20, 0, 30, 50}}, {200, {20, 10, 10, 20}}, {700, {20, 0, 30, 30}}, {900, {20, 0, 30, 50}}}},
    {"inside_sharing_part_of_one_edge", rectangle(0, 0, 100, 100), rectangle(0, 30, 40, 40),
     {{10000, kSquare}, {1600, {0, 30, 40, 40}}, {8400, kSquare}, {8400, kSquare}}},
    {"inside_sharing_two_edges", rectangle(0, 0, 100, 100), rectangle(0, 0, 40, 60),
     {{10000, kSquare}, {2400, {0, 0, 40, 60}}, {7600, kSquare}, {7600, kSquare}}},
    {"strip_sharing_two_edges", rectangle(0, 0, 100, 100), rectangle(30, 0, 40, 100),
     {{10000, kSquare}, {4000, {30, 0, 40, 100}}, {6000, kSquare}, {6000, kSquare}}},
    {"inside_sharing_three_edges", rectangle(0, 0, 100, 100), rectangle(0, 0, 40, 100),
     {{10000, kSquare}, {4000, {0, 0, 40, 100}}, {6000, {40, 0, 60, 100}}, {6000, {40, 0, 60, 100}}}},
    {"around_sharing_three_edges", rectangle(0, 0, 40, 100), rectangle(0, 0, 100, 100),
     {{10000, kSquare}, {4000, {0, 0, 40, 100}}, {0, kNothing}, {6000, {40, 0, 60, 100}}}},
    {"square_and_its_copy", rectangle(0, 0, 100, 100), rectangle(0, 0, 100, 100),
     {{10000, kSquare}, {10000, kSquare}, {0, kNothing}, {0, kNothing}}},
    {"square_and_the_hole_of_a_frame", rectangle(0, 0, 100, 100) + rectangle(30, 30, 40, 40), rectangle(30, 30, 40, 40),
     {{10000, kSquare}, {0, kNothing}, {8400, kSquare}, {10000, kSquare}}},
    {"square_along_the_hole_of_a_frame", rectangle(0, 20, 60, 40) + rectangle(10, 30, 40, 20), rectangle(0, 30, 50, 30),
     {{2400, {0, 20, 60, 40}}, {700, {0, 30, 50, 30}}, {900, {0, 20, 60, 40}}, {1700, {0, 20, 60, 40}}}},
    {"inside_a_frame_touching_its_hole", rectangle(10, 50, 20, 10), rectangle(0, 0, 30, 60) + rectangle(10, 10, 10, 40),
     {{1400, {0, 0, 30, 60}}, {200, {10, 50, 20, 10}}, {0, kNothing}, {1200, {0, 0, 30, 60}}}},
    {"touching_a_hole_from_outside", rectangle(40, 20, 20, 30), rectangle(20, 20, 30, 30) + rectangle(30, 30, 10, 10),
     {{1100, {20, 20, 40, 30}}, {300, {40, 20, 10, 30}}, {300, {50, 20, 10, 30}}, {800, {20, 20, 40, 30}}}},
    {"touching_outside_along_a_whole_edge", rectangle(0, 0, 100, 100), rectangle(100, 0, 100, 100),
     {{20000, {0, 0, 200, 100}}, {0, kNothing}, {10000, kSquare}, {20000, {0, 0, 200, 100}}}},
    {"touching_outside_along_part_of_an_edge", rectangle(0, 0, 100, 100), rectangle(100, 30, 80, 40),
     {{13200, {0, 0, 180, 100}}, {0, kNothing}, {10000, kSquare}, {13200, {0, 0, 180, 100}}}},
    // The L's stretch along the square's top has the L above it and the square below, and the L crosses in there.
    {"crossing_along_a_stretch_from_outside", rectangle(0, 0, 100, 100),
     "M 20 50 L 20 100 L 60 100 L 60 150 L -20 150 L -20 50 Z",
     {{15000, {-20, 0, 120, 150}}, {1000, {0, 50, 20, 50}}, {9000, kSquare}, {14000, {-20, 0, 120, 150}}}},
    {"circle_and_its_copy", corpus::circle(0, 0, 100), corpus::circle(0, 0, 100),
     {{kDisc, kDiscBounds}, {kDisc, kDiscBounds}, {0, kNothing}, {0, kNothing}}},
    {"circle_and_half_of_it", corpus::circle(0, 0, 100), kUpperHalfDisc,
     {{kDisc, kDiscBounds}, {kDisc / 2, {-100, 0, 200, 100}}, {kDisc / 2, {-100, -100, 200, 100}},
      {kDisc / 2, {-100, -100, 200, 100}}}},
    {"half_discs_touching_outside", kUpperHalfDisc, kLowerHalfDisc,
     {{kDisc, kDiscBounds}, {0, kNothing}, {kDisc / 2, {-100, 0, 200, 100}}, {kDisc, kDiscBounds}}},
    {"notched_square_and_the_square", "M 10 0 L 30 0 L 30 30 L 0 30 L 0 10 L 10 10 Z", rectangle(0, 0, 30, 30),
     {{900, {0, 0, 30, 30}}, {800, {0, 0, 30, 30}}, {0, kNothing}, {100, {0, 0, 10, 10}}}},
    {"triangle_inside_sharing_part_of_the_slant", "M 0 0 L 30 0 L 0 30 Z", "M 10 20 L 20 10 L 10 10 Z",
     {{450, {0, 0, 30, 30}}, {50, {10, 10, 10, 10}}, {400, {0, 0, 30, 30}}, {400, {0, 0, 30, 30}}}},
    {"triangle_inside_sharing_part_of_the_base", "M 0 0 L 30 0 L 0 30 Z", "M 10 0 L 20 0 L 10 10 Z",
     {{450, {0, 0, 30, 30}}, {50, {10, 0, 10, 10}}, {400, {0, 0, 30, 30}}, {400, {0, 0, 30, 30}}}},
    // The curve runs out along the square's base and back: to a fill it is the line from 0 to 20, no spike.
    {"curve_folding_back_along_an_edge", rectangle(0, 0, 100, 100), "M 0 0 C 250 0 200 0 20 0 L 20 100 L 0 100 Z",
     {{10000, kSquare}, {2000, {0, 0, 20, 100}}, {8000, {20, 0, 80, 100}}, {8000, {20, 0, 80, 100}}}},
    // A billionth is within the tolerance: the strip's edges are the square's.
    {"strip_a_billionth_off", rectangle(0, 0, 100, 100), rectangle(30 + 1e-9, 1e-9, 40, 100),
     {{10000, kSquare}, {4000, {30, 0, 40, 100}}, {6000, kSquare}, {6000, kSquare}}},
    // A hundredth is not: the slivers along the edges are kept.
    {"squares_a_hundredth_apart", rectangle(0, 0, 100, 100), rectangle(0.01, 0.01, 100, 100),
     {{10001.9999, {0, 0, 100.01, 100.01}}, {9998.0001, {0.01, 0.01, 99.99, 99.99}}, {1.9999, kSquare},
      {3.9998, {0, 0, 100.01, 100.01}}}},
};

class SharedEdges : public ::testing::TestWithParam<SharedEdgeCase> {};

TEST_P(SharedEdges, AreasBoundsAndOutlinesAreThoseOfTheSetOperation) {
  const BezierPath a = pathoracles::parseSvgPath(GetParam().a);
  const BezierPath b = pathoracles::parseSvgPath(GetParam().b);
  for (std::size_t index = 0; index < std::size(kOperations); ++index) {
    const Operation operation = kOperations[index];
    const Expected& expected = GetParam().results[index];
    SCOPED_TRACE(booleancheck::name(operation));
    const BezierPath result = booleancheck::apply(operation, a, b);
    EXPECT_NEAR(pathoracles::evenOddArea(result), expected.area, 1e-6 * expected.area + 1e-9);
    const Rect bounds = result.isEmpty() ? kNothing : result.bounds();
    for (const auto& [got, wanted] : {std::pair{bounds.origin, expected.bounds.origin},
                                      {Point{bounds.size.width, bounds.size.height},
                                       Point{expected.bounds.size.width, expected.bounds.size.height}}}) {
      EXPECT_NEAR(got.x, wanted.x, 1e-6);
      EXPECT_NEAR(got.y, wanted.y, 1e-6);
    }
    expectTracesTheSetOperation(operation, a, b, result);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, SharedEdges, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SharedEdgeCase>& info) { return info.param.name; });

// Where one operand holds the other, the union is the outer one and the intersection the inner one, point for point,
// with no vertices added where the outlines part.
TEST(SharedEdgesNesting, UnionAndIntersectionGiveTheOperandsThemselves) {
  const std::pair<std::string, std::string> pairs[] = {{rectangle(0, 0, 100, 100), rectangle(0, 30, 40, 40)},
                                                       {rectangle(0, 0, 100, 100), rectangle(0, 0, 40, 100)},
                                                       {corpus::circle(0, 0, 100), kUpperHalfDisc}};
  for (const auto& [outerData, innerData] : pairs) {
    const BezierPath outer = pathoracles::parseSvgPath(outerData);
    const BezierPath inner = pathoracles::parseSvgPath(innerData);
    EXPECT_EQ(pb_union(outer, inner), PBBezierGraph(outer).bezierPath()) << innerData;
    EXPECT_EQ(pb_intersect(outer, inner), PBBezierGraph(inner).bezierPath()) << innerData;
  }
}

// A rectangle of whole grid cells of ten units, now and then with a hole of cells a cell or more inside it.
BezierPath gridOperand(std::mt19937& random) {
  std::uniform_int_distribution<int> cell(0, 6);
  auto span = [&]() {
    const int low = cell(random);
    int high = cell(random);
    while (high == low) high = cell(random);
    return std::pair{std::min(low, high), std::max(low, high)};
  };
  const auto [left, right] = span();
  const auto [bottom, top] = span();
  std::string data = rectangle(10 * left, 10 * bottom, 10 * (right - left), 10 * (top - bottom));
  if (right - left >= 3 && top - bottom >= 3 && random() % 3 == 0) {
    data += rectangle(10 * (left + 1), 10 * (bottom + 1), 10 * (right - left - 2), 10 * (top - bottom - 2));
  }
  return pathoracles::parseSvgPath(data);
}

TEST(SharedEdgesProperty, RectanglesOnACoarseGridGiveTheSetOperations) {
  std::mt19937 random(randomTestSeed("SharedEdgesProperty.RectanglesOnACoarseGridGiveTheSetOperations"));
  for (int round = 0; round < 150; ++round) {
    const BezierPath a = gridOperand(random);
    const BezierPath b = gridOperand(random);
    SCOPED_TRACE(pathoracles::svgPathData(a) + " with " + pathoracles::svgPathData(b));
    for (Operation operation : kOperations) expectTracesTheSetOperation(operation, a, b, booleancheck::apply(operation, a, b));
  }
}

}  // namespace
