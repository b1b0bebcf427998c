#include "boolean/walk/tangent_pairs.h"

#include <gtest/gtest.h>

namespace {

TEST(PBTangentPairs, CoincideComparesUnitDirectionsAcrossPairs) {
  // Lengths differ, directions agree: (0, -2) and (0, -7).
  EXPECT_TRUE(PBTangentPairsCoincide({{0, -2}, {1, 0}}, {{5, 5}, {0, -7}}));
  EXPECT_FALSE(PBTangentPairsCoincide({{0, -2}, {1, 0}}, {{5, 5}, {-1, 0}}));
  EXPECT_FALSE(PBTangentPairsCoincide({{1, 0}, {0, 1}}, {{1, 1e-11}, {-1, 0}}));
  // Zero vectors stay zero and match only each other.
  EXPECT_TRUE(PBTangentPairsCoincide({{0, 0}, {1, 0}}, {{0, 0}, {0, 1}}));
}

TEST(PBTangentPairs, InterleaveNeedsOneDirectionOnEachSide) {
  // Pair A: down and left (270° and 180°).
  const PBTangentPair corner{{0, -1}, {-1, 0}};
  EXPECT_TRUE(PBTangentPairsInterleave(corner, {{1, 1}, {-1, -1}}));
  EXPECT_FALSE(PBTangentPairsInterleave(corner, {{-1, 1}, {1, -1}}));
  EXPECT_FALSE(PBTangentPairsInterleave(corner, {{1, 0}, {0, 1}}));
  EXPECT_TRUE(PBTangentPairsInterleave(corner, {{1, 0}, {-1, -1}}));
}

TEST(PBTangentPairs, SharedDirectionIsOnNeitherSide) {
  // b0 equals a0: strictly between neither arc, so the pairs do not interleave.
  EXPECT_FALSE(PBTangentPairsInterleave({{0, -1}, {-1, 0}}, {{0, -3}, {-1, -1}}));
  // The same along the x axis, one of them rounded a hair below it.
  EXPECT_FALSE(PBTangentPairsInterleave({{1, 0}, {0, -1}}, {{1, -1e-17}, {-1, 0}}));
}

TEST(PBTangentPairs, AnglesAcrossZeroWrap) {
  // A spans from 350° to 10° counter-clockwise through 0°.
  const PBTangentPair aroundZero{{0.985, -0.174}, {0.985, 0.174}};
  EXPECT_TRUE(PBTangentPairsInterleave(aroundZero, {{1, 0}, {-1, 0}}));
  EXPECT_FALSE(PBTangentPairsInterleave(aroundZero, {{0, 1}, {-1, 0}}));
}

}  // namespace
