// Every family of awkward operand pairs, judged operation by operation against the independent oracles of
// boolean_judge: the fill sampled, both sides of each point of the outline, and exact areas of polygons.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../random_test_seed.h"
#include "boolean_corpus.h"
#include "boolean_families.h"
#include "path_oracles.h"

namespace {

using booleancheck::Family;

class BooleanFamilies : public ::testing::TestWithParam<Family> {};

TEST_P(BooleanFamilies, EveryOperationGivesTheSetOperationOfItsOperands) {
  // A fixed seed keeps the suite repeatable; DRAFTWORK_TEST_SEED runs others (the property tool runs many).
  const std::uint32_t seed = std::getenv("DRAFTWORK_TEST_SEED") ? randomTestSeed(GetParam().name) : 20261208u;
  const booleancheck::Tally tally = booleancheck::playFamily(GetParam(), seed, 400);
  EXPECT_EQ(tally.wrongCount, 0) << "seed " << seed << ", " << tally.operations << " operations";
  for (const std::string& wrong : tally.wrong) ADD_FAILURE() << wrong;
}

INSTANTIATE_TEST_SUITE_P(Table, BooleanFamilies, ::testing::ValuesIn(booleancheck::families()),
                         [](const ::testing::TestParamInfo<Family>& info) { return std::string(info.param.name); });

// The operand pairs users met, each operation both ways round, judged as the families are.
TEST(BooleanMetCases, EveryOperationGivesTheSetOperationOfItsOperands) {
  using booleancheck::moveBy, booleancheck::turnAbout, pathoracles::parseSvgPath, pathoracles::transformed;
  const booleancheck::Tolerance curves{4e-9, 1e-7, 1e-9};
  const platform::BezierPath circle = platform::BezierPath::ovalInRect({0, 0, 100, 100});
  platform::BezierPath arcs;
  arcs.moveTo({100, 50});
  for (int k = 0; k < 8; ++k) arcs.appendArc({50, 50}, 50, 45.0 * k, 45.0 * (k + 1), false);
  arcs.closePath();
  struct Row {
    std::string name;
    platform::BezierPath a, b;
    booleancheck::Tolerance tolerance;
  };
  std::vector<Row> rows;
  for (const double degrees : {0.001, 0.1, 1.0, 10.0, 45.0, 60.0, 89.0})
    rows.push_back({"circle turned", circle, transformed(circle, turnAbout({50, 50}, degrees)), curves});
  for (const double dx : {5e-5, 5e-3})
    rows.push_back({"circle moved", circle, transformed(circle, moveBy(dx, 0)), curves});
  for (const double degrees : {0.0, 24.0, 72.0, 216.0})
    rows.push_back({"circle in eight arcs", circle, transformed(arcs, turnAbout({50, 50}, degrees)), curves});
  const std::string square = corpus::rectangle(25, 25, 50, 50);
  const std::string self[][3] = {
      {"bow-tie", "M 0 0 L 100 100 L 100 0 L 0 100 Z", square},
      {"pentagram", "M 69.684 80.295 L 19.391 23.203 L 93.636 39.829 L 23.798 70.019 L 62.553 4.545 Z",
       "M 56.739 31.783 L 37.255 53.442 L 24.613 42.070 L 44.097 20.411 Z"},
      {"pen star", "M 300 220 L 347 365 L 224 275 L 376 275 L 253 365 Z", corpus::rectangle(270, 280, 60, 50)},
      // A thousandth across, a million units out: two roundings of one crossing are one vertex, not a ring.
      {"small and far",
       "M -999999.99651732564 -100000.00488579363 L -999999.99000293412 -100000.00024222785 L -999999.99348560849 "
       "-99999.995356434214 L -999999.99837140215 -99999.99883910855 L -999999.99721051066 -100000.00046770643 L "
       "-999999.99883910851 -100000.00162859788 Z",
       "M -999999.9890675213 -99999.994663249206 L -999999.99116382562 -99999.99861362997 L -999999.98674573842 "
       "-99999.997920444963 L -999999.9846494341 -99999.993970064184 Z"}};
  for (const auto& [name, a, b] : self) rows.push_back({name, parseSvgPath(a), parseSvgPath(b), {}});
  std::mt19937 random(1);
  for (const Row& row : rows) {
    for (const bool swapped : {false, true}) {
      const platform::BezierPath& a = swapped ? row.b : row.a;
      const platform::BezierPath& b = swapped ? row.a : row.b;
      for (const auto operation : {booleancheck::Operation::Union, booleancheck::Operation::Intersect,
                                   booleancheck::Operation::Difference, booleancheck::Operation::Xor}) {
        EXPECT_EQ(booleancheck::judge(operation, a, b, booleancheck::apply(operation, a, b), random, row.tolerance), "")
            << row.name << (swapped ? " (swapped) " : " ") << booleancheck::name(operation) << "\n  a: "
            << pathoracles::svgPathData(a) << "\n  b: " << pathoracles::svgPathData(b);
      }
    }
  }
}

// A drawing too small for any scale to bring it to the working frame's size, with enough vertices to be looked up
// through a grid, comes out finite and whole: the union spans both operands.
TEST(BooleanMetCases, ADrawingOfSubnormalSizeComesOutWhole) {
  platform::BezierPath a, b;
  for (int i = 0; i < 300; ++i) {
    const double x = i * 1e-308, y = (i % 2) * 1e-308;
    a.appendPath(pathoracles::parseSvgPath(corpus::rectangle(x, y, 2e-308, 2e-308)));
    b.appendPath(pathoracles::parseSvgPath(corpus::rectangle(x + 5e-309, y + 5e-309, 2e-308, 2e-308)));
  }
  platform::BezierPath both = a;
  both.appendPath(b);
  for (const auto operation : {booleancheck::Operation::Union, booleancheck::Operation::Xor}) {
    const platform::BezierPath result = booleancheck::apply(operation, a, b);
    for (int i = 0; i < result.elementCount(); ++i) {
      platform::Point points[3];
      const int count = result.elementAt(i, points) == platform::PathElement::Curve ? 3 : 1;
      for (int k = 0; k < count; ++k) EXPECT_TRUE(std::isfinite(points[k].x) && std::isfinite(points[k].y));
    }
    if (operation == booleancheck::Operation::Union) {
      EXPECT_EQ(result.controlPointBounds(), both.controlPointBounds());
    }
  }
}

// The judge itself: results that are wrong in the ways an engine goes wrong are told apart from the right one.
TEST(BooleanJudge, TellsWrongResultsFromTheRightOne) {
  using booleancheck::Operation;
  const std::string square = corpus::rectangle(0, 0, 100, 100), shifted = corpus::rectangle(40, 0, 100, 100);
  const std::string bowTie = "M 0 0 L 100 100 L 100 0 L 0 100 Z", middle = corpus::rectangle(25, 25, 50, 50);
  const std::string loop = "M 0 0 C 200 100 -100 100 100 0 Z";
  const struct {
    std::string a, b, result;
    bool right;
  } rows[] = {
      {square, shifted, "M 40 0 L 100 0 L 100 100 L 40 100 Z", true},
      {square, shifted, square, false},                                                            // an operand
      {square, shifted, "M 40 0 L 100 0 L 100 100 L 40 100 Z M 40 0 L 40.000000001 0 L 40 100 Z", false},  // a hairline
      {square, shifted, "M 40 0 L 100 0 L 100 99.99 L 40 99.99 Z", false},                         // a sliver short
      {square, shifted, "M 40 0 L 100 0 L 100 100 L 40 100 L 40 50 L 30 50 L 40 50 Z", false},     // a spike out
      // Outlines that cross themselves are read by their even-odd fill: the bow-tie's two triangles inside the square.
      {bowTie, middle, "M 25 25 L 50 50 L 25 75 Z M 75 25 L 75 75 L 50 50 Z", true},
      {bowTie, middle, "", false},                                                                  // nothing
      {bowTie, middle, middle, false},                                                              // as if filled
      {bowTie, bowTie, bowTie, true},  // a result that crosses itself, its lobes' signed areas cancelling
      // A cubic loop passes a point on its far side: the point is on the outline, however sampling the cubic falls.
      {loop, loop, loop, true},
  };
  std::mt19937 random(1);
  for (const auto& row : rows) {
    const std::string verdict =
        booleancheck::judge(Operation::Intersect, pathoracles::parseSvgPath(row.a), pathoracles::parseSvgPath(row.b),
                            pathoracles::parseSvgPath(row.result), random);
    EXPECT_EQ(verdict.empty(), row.right) << row.result << ": " << verdict;
  }
}

}  // namespace
