// Every family of awkward operand pairs, judged operation by operation against the independent oracles of
// boolean_judge: the fill sampled, both sides of each point of the outline, and Clipper's exact areas.

#include <gtest/gtest.h>

#include "../random_test_seed.h"
#include "boolean_families.h"

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

}  // namespace
