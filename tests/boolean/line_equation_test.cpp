#include "boolean/line_equation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PBLineEquation, TwoEqualPointsGiveTheZeroRecordAndDistanceZero) {
  const PBLineEquation line = PBLineEquationThroughPoints({0, 0}, {0, 0});
  EXPECT_EQ(line.a, 0);
  EXPECT_EQ(line.b, 0);
  EXPECT_EQ(line.c, 0);
  EXPECT_EQ(PBLineEquationDistance(line, {5, 3}), 0);
  EXPECT_EQ(PBLineEquationDistance(line, {-7, 1e6}), 0);
}

TEST(PBLineEquation, HorizontalLineMeasuresSignedDistance) {
  const PBLineEquation line = PBLineEquationThroughPoints({0, 0}, {2, 0});
  EXPECT_DOUBLE_EQ(line.a, 0);
  EXPECT_DOUBLE_EQ(line.b, 1);
  EXPECT_DOUBLE_EQ(line.c, 0);
  EXPECT_DOUBLE_EQ(PBLineEquationDistance(line, {5, 3}), 3);
  EXPECT_DOUBLE_EQ(PBLineEquationDistance(line, {5, -3}), -3);
}

TEST(PBLineEquation, SlantedLineIsNormalisedToUnitNormal) {
  // Through (1, 1) and (4, 5): length 5, so distances are true Euclidean distances.
  const PBLineEquation line = PBLineEquationThroughPoints({1, 1}, {4, 5});
  EXPECT_NEAR(line.a * line.a + line.b * line.b, 1, 1e-15);
  EXPECT_NEAR(PBLineEquationDistance(line, {1, 1}), 0, 1e-15);
  EXPECT_NEAR(PBLineEquationDistance(line, {4, 5}), 0, 1e-15);
  // (1, 1) plus 2 units along the normal (-4, 3)/5 of the direction (3, 4)/5.
  EXPECT_NEAR(std::fabs(PBLineEquationDistance(line, {1 - 8.0 / 5, 1 + 6.0 / 5})), 2, 1e-14);
}

TEST(PBLineEquation, MakeAndShiftKeepCoefficientsAsGiven) {
  const PBLineEquation line = PBLineEquationMake(3, 4, 5);
  EXPECT_EQ(line.a, 3);
  EXPECT_EQ(line.b, 4);
  EXPECT_EQ(line.c, 5);
  const PBLineEquation shifted = PBLineEquationShifted(line, -2.5);
  EXPECT_EQ(shifted.a, 3);
  EXPECT_EQ(shifted.b, 4);
  EXPECT_EQ(shifted.c, 2.5);
}

TEST(PBLineEquation, MeetingPointReturnsNegatedY) {
  const PBLineMeeting meeting = PBLineEquationsMeet(PBLineEquationMake(1, 0, -1), PBLineEquationMake(0, 1, -2));
  EXPECT_DOUBLE_EQ(meeting.x, 1);
  EXPECT_DOUBLE_EQ(meeting.negatedY, -2);
}

TEST(PBLineEquation, ParallelLinesDoNotMeetInFiniteSpace) {
  const PBLineMeeting meeting = PBLineEquationsMeet(PBLineEquationMake(0, 1, -1), PBLineEquationMake(0, 1, -2));
  EXPECT_FALSE(std::isfinite(meeting.x));
}

}  // namespace
