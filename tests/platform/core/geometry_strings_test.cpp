#include "platform/core/geometry_strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace platform {
namespace {

TEST(GeometryStrings, WritesTheRecordForms) {
  EXPECT_EQ(stringFromPoint({3, 4}), "{3, 4}");
  EXPECT_EQ(stringFromPoint({-1.5, 0.25}), "{-1.5, 0.25}");
  EXPECT_EQ(stringFromSize({800, 600}), "{800, 600}");
  EXPECT_EQ(stringFromRect(Rect(1, 2, 30.5, 40)), "{{1, 2}, {30.5, 40}}");
  EXPECT_EQ(stringFromPoint({std::nan(""), 2}), "{0, 2}");
}

TEST(GeometryStrings, RandomValuesRoundTripBitForBit) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
  for (int n = 0; n < 5000; ++n) {
    Rect rect(coordinate(random), coordinate(random), coordinate(random) / 3, coordinate(random) * 1e-7);
    EXPECT_EQ(rectFromString(stringFromRect(rect)), rect);
    Point point{coordinate(random) * 1e-300, coordinate(random) * 1e300};
    EXPECT_EQ(pointFromString(stringFromPoint(point)), point);
  }
}

TEST(GeometryStrings, ReadsLenientlyAndFillsMissingNumbersWithZero) {
  EXPECT_EQ(pointFromString("{1.5,2}"), (Point{1.5, 2}));
  EXPECT_EQ(pointFromString("3 4"), (Point{3, 4}));
  EXPECT_EQ(pointFromString("x=-1e2; y=.5"), (Point{-100, 0.5}));
  EXPECT_EQ(pointFromString("{7}"), (Point{7, 0}));
  EXPECT_EQ(pointFromString(""), (Point{0, 0}));
  EXPECT_EQ(pointFromString("garbage"), (Point{0, 0}));
  EXPECT_EQ(pointFromString("{1, 2, 3}"), (Point{1, 2}));
  EXPECT_EQ(sizeFromString("{10, 20}"), (Size{10, 20}));
  EXPECT_EQ(rectFromString("{{1, 2}, {3}}"), Rect(1, 2, 3, 0));
  EXPECT_EQ(rectFromString("{{-1, -2}, {+3, 4.5e1}}"), Rect(-1, -2, 3, 45));
  // A lone sign or dot is not a number.
  EXPECT_EQ(pointFromString("{-, .}{5, 6}"), (Point{5, 6}));
}

}  // namespace
}  // namespace platform
