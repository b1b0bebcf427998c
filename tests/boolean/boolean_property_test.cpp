// Every family of awkward operand pairs, judged operation by operation against the independent oracles of
// boolean_judge: the fill sampled, both sides of each point of the outline, and exact areas of polygons.

#include <gtest/gtest.h>

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

// The judge itself: results that are wrong in the ways an engine goes wrong are told apart from the right one.
TEST(BooleanJudge, TellsWrongResultsFromTheRightOne) {
  using booleancheck::Operation;
  const platform::BezierPath a = pathoracles::parseSvgPath(corpus::rectangle(0, 0, 100, 100));
  const platform::BezierPath b = pathoracles::parseSvgPath(corpus::rectangle(40, 0, 100, 100));
  const struct {
    const char* result;
    bool right;
  } rows[] = {
      {"M 40 0 L 100 0 L 100 100 L 40 100 Z", true},
      {"M 0 0 L 100 0 L 100 100 L 0 100 Z", false},                                           // an operand
      {"M 40 0 L 100 0 L 100 100 L 40 100 Z M 40 0 L 40.000000001 0 L 40 100 Z", false},  // a hairline more
      {"M 40 0 L 100 0 L 100 99.99 L 40 99.99 Z", false},                                     // a sliver short
      {"M 40 0 L 100 0 L 100 100 L 40 100 L 40 50 L 30 50 L 40 50 Z", false},                 // a spike out
  };
  std::mt19937 random(1);
  for (const auto& row : rows) {
    const std::string verdict =
        booleancheck::judge(Operation::Intersect, a, b, pathoracles::parseSvgPath(row.result), random);
    EXPECT_EQ(verdict.empty(), row.right) << row.result << ": " << verdict;
  }
}

}  // namespace
