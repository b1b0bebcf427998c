#include "geometry/path_segment_crossing.h"

#include <gtest/gtest.h>

#include <limits>

using platform::BezierPath;
using platform::Point;

namespace {

const BezierPath kSquare = BezierPath::rect({0, 0, 100, 100});

TEST(SegmentCrossesPath, SegmentThroughAnEdgeCrosses) {
  EXPECT_TRUE(segmentCrossesPath({50, -10}, {50, 10}, kSquare));     // bottom side
  EXPECT_TRUE(segmentCrossesPath({-20, -20}, {120, 120}, kSquare));  // through two corners
}

TEST(SegmentCrossesPath, ClosingSideCounts) {
  // The rectangle's left side is drawn only by its close.
  EXPECT_TRUE(segmentCrossesPath({-10, 50}, {10, 50}, kSquare));
  BezierPath open;
  open.moveTo({0, 0});
  open.lineTo({100, 0});
  open.lineTo({100, 100});
  open.lineTo({0, 100});
  EXPECT_FALSE(segmentCrossesPath({-10, 50}, {10, 50}, open));
}

TEST(SegmentCrossesPath, SegmentsMissingTheOutlineDoNotCross) {
  EXPECT_FALSE(segmentCrossesPath({20, 20}, {80, 80}, kSquare));    // wholly inside
  EXPECT_FALSE(segmentCrossesPath({150, 0}, {150, 100}, kSquare));  // beside it
  EXPECT_FALSE(segmentCrossesPath({-10, 95}, {5, 115}, kSquare));   // past the corner, its box overlapping
  EXPECT_FALSE(segmentCrossesPath({0, 0}, {100, 100}, BezierPath()));
}

TEST(SegmentCrossesPath, TouchingAnEndPointOrRunningAlongASideCounts) {
  EXPECT_TRUE(segmentCrossesPath({100, 100}, {150, 150}, kSquare));
  EXPECT_TRUE(segmentCrossesPath({20, 0}, {40, 0}, kSquare));
  EXPECT_TRUE(segmentCrossesPath({50, 100}, {50, 100}, kSquare));  // a single point on the top side
  EXPECT_FALSE(segmentCrossesPath({50, 50}, {50, 50}, kSquare));
}

TEST(SegmentCrossesPath, CurvesAreFollowedNotTheirControlPolygon) {
  // A circle of radius 50 about (50, 50): its control points reach the box corners, the curve does not.
  const BezierPath circle = BezierPath::ovalInRect({0, 0, 100, 100});
  EXPECT_FALSE(segmentCrossesPath({90, 110}, {110, 90}, circle));  // across the corner, outside the circle
  EXPECT_TRUE(segmentCrossesPath({50, 50}, {100, 100}, circle));   // the circle at about (85.4, 85.4)
  EXPECT_FALSE(segmentCrossesPath({40, 40}, {60, 60}, circle));
}

TEST(SegmentCrossesPath, NonFinitePointsTouchNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(segmentCrossesPath({-inf, 50}, {inf, 50}, kSquare));
  EXPECT_FALSE(segmentCrossesPath({nan, 50}, {50, nan}, kSquare));
  BezierPath hostile;
  hostile.moveTo({0, 0});
  hostile.lineTo({inf, nan});
  EXPECT_FALSE(segmentCrossesPath({10, -10}, {10, 10}, hostile));
}

}  // namespace
