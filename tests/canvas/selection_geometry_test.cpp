#include <gtest/gtest.h>

#include <cmath>

#include "canvas/CMSelectionGeometry.h"

namespace {

using platform::Point;
using platform::Rect;
using platform::Size;
namespace sg = selection_geometry;

TEST(SelectionBand, SidesAreTruncatedDifferencesWhicheverWayTheBandIsDrawn) {
  EXPECT_EQ(sg::bandRect({10, 10}, {300.7, 200.2}), (Rect{10, 10, 290, 190}));
  EXPECT_EQ(sg::bandRect({300, 200}, {10.6, 10.6}), (Rect{10.6, 10.6, 289, 189}));
  EXPECT_EQ(sg::bandRect({5, 5}, {5.9, 4.1}), (Rect{5, 4.1, 0, 0}));
}

TEST(SelectionAngle, MeasuresClockwiseFromStraightUpWithYGrowingDownwards) {
  const Point c{100, 100};
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints({100, 40}, c), 0);
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints({150, 50}, c), 45);
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints({100, 130}, c), 180);
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints({50, 150}, c), 225);
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints({50, 50}, c), 315);
  // Level with the centre, on either side, and the centre itself.
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints({160, 100}, c), 180);
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints({40, 100}, c), 180);
  EXPECT_FLOAT_EQ(sg::angleBetweenPoints(c, c), 180);
}

// A 100 × 50 frame at (10, 20), at zoom 1 unless said otherwise.
constexpr Point kOrigin{10, 20};
constexpr Size kSize{100, 50};

TEST(SelectionResize, EdgeHandlesChangeOneSideAndMoveTheEdgeTheyHold) {
  const auto right = sg::resizeByHandle(1, kOrigin, kSize, 20, 7, 1, false);
  EXPECT_EQ(right.size, (Size{120, 50}));
  EXPECT_FALSE(right.movesOrigin);
  const auto left = sg::resizeByHandle(2, kOrigin, kSize, 20, 7, 1, false);
  EXPECT_EQ(left.size, (Size{80, 50}));
  EXPECT_EQ(left.origin, (Point{30, 20}));
  const auto top = sg::resizeByHandle(3, kOrigin, kSize, 9, -10, 1, false);
  EXPECT_EQ(top.size, (Size{100, 60}));
  EXPECT_EQ(top.origin, (Point{10, 10}));
  const auto bottom = sg::resizeByHandle(4, kOrigin, kSize, 9, 10, 1, false);
  EXPECT_EQ(bottom.size, (Size{100, 60}));
}

TEST(SelectionResize, CornersChangeBothSides) {
  EXPECT_EQ(sg::resizeByHandle(6, kOrigin, kSize, 10, 5, 1, false).size, (Size{110, 55}));
  const auto topLeft = sg::resizeByHandle(7, kOrigin, kSize, 10, 5, 1, false);
  EXPECT_EQ(topLeft.size, (Size{90, 45}));
  EXPECT_EQ(topLeft.origin, (Point{20, 25}));
  const auto topRight = sg::resizeByHandle(5, kOrigin, kSize, 10, 5, 1, false);
  EXPECT_EQ(topRight.size, (Size{110, 45}));
  EXPECT_EQ(topRight.origin, (Point{10, 25}));
  const auto bottomLeft = sg::resizeByHandle(8, kOrigin, kSize, 10, 5, 1, false);
  EXPECT_EQ(bottomLeft.size, (Size{90, 55}));
  EXPECT_EQ(bottomLeft.origin, (Point{20, 20}));
}

TEST(SelectionResize, KeepingTheRatioAppliesToEdgesOnly) {
  EXPECT_EQ(sg::resizeByHandle(1, kOrigin, kSize, 20, 0, 1, true).size, (Size{120, 60}));
  EXPECT_EQ(sg::resizeByHandle(4, kOrigin, kSize, 0, 10, 1, true).size, (Size{120, 60}));
  EXPECT_EQ(sg::resizeByHandle(6, kOrigin, kSize, 20, 0, 1, true).size, (Size{120, 50}));
}

TEST(SelectionResize, DraggingPastTheOppositeEdgeLeavesOneUnitThere) {
  const auto left = sg::resizeByHandle(2, kOrigin, kSize, 150, 0, 1, false);
  EXPECT_EQ(left.size, (Size{1, 50}));
  EXPECT_EQ(left.origin.x, 10 + 99);  // the left edge stops one unit before the right one
  const auto top = sg::resizeByHandle(3, kOrigin, kSize, 0, 80, 1, false);
  EXPECT_EQ(top.size, (Size{100, 1}));
  EXPECT_EQ(top.origin.y, 20 + 49);
  EXPECT_EQ(sg::resizeByHandle(1, kOrigin, kSize, -130, 0, 1, false).size.width, 1);
  // Exactly onto the opposite edge gives 0, not 1.
  EXPECT_EQ(sg::resizeByHandle(1, kOrigin, kSize, -100, 0, 1, false).size.width, 0);
}

TEST(SelectionResize, AZeroSideWithTheRatioKeptGivesFiniteSizes) {
  for (int kind = 1; kind <= 8; ++kind) {
    for (const Size size : {Size{100, 0}, Size{0, 40}, Size{0, 0}}) {
      const auto result = sg::resizeByHandle(kind, kOrigin, size, 12, 7, 1, true);
      EXPECT_TRUE(std::isfinite(result.size.width) && std::isfinite(result.size.height)) << kind;
      EXPECT_TRUE(std::isfinite(result.origin.x) && std::isfinite(result.origin.y)) << kind;
    }
  }
  EXPECT_EQ(sg::resizeByHandle(1, kOrigin, {100, 0}, 20, 0, 1, true).size, (Size{120, 0}));
}

TEST(SelectionResize, VectorZoomScalesTheSizeAndTheOriginStep) {
  // At zoom 2 the frame measures 200 × 100 view units; a 40-unit step on the left edge is 20 document units.
  const auto left = sg::resizeByHandle(2, kOrigin, {200, 100}, 40, 0, 2, false);
  EXPECT_EQ(left.size, (Size{80, 50}));
  EXPECT_EQ(left.origin, (Point{30, 20}));
}

TEST(SelectionSnap, TheFirstOfTheFiveLinesWithinTwoUnitsWins) {
  // A 100-unit frame on a 400-unit page.
  EXPECT_EQ(sg::snapTarget(2, 100, 400), 0.0);
  EXPECT_EQ(sg::snapTarget(-2, 100, 400), 0.0);
  EXPECT_FALSE(sg::snapTarget(2.5, 100, 400));
  EXPECT_EQ(sg::snapTarget(301.5, 100, 400), 300.0);
  EXPECT_EQ(sg::snapTarget(148, 100, 400), 150.0);
  EXPECT_EQ(sg::snapTarget(201, 100, 400), 200.0);
  EXPECT_EQ(sg::snapTarget(99, 100, 400), 100.0);
  EXPECT_FALSE(sg::snapTarget(50, 100, 400));
  // A 400-unit frame: the left edge test comes before the centred one although both hold.
  EXPECT_EQ(sg::snapTarget(1, 398, 400), 0.0);
}

TEST(SelectionHelperLines, EveryTestIsMadeAndTheTopLineSitsAtZero) {
  using Lines = std::vector<std::pair<bool, double>>;
  const auto lines = [](const Rect& b, Size page) {
    Lines out;
    for (const auto& line : sg::helperLines(b, page)) out.emplace_back(line.vertical, line.at);
    return out;
  };
  EXPECT_EQ(lines({1, 1, 50, 40}, {400, 300}), (Lines{{true, 1}, {false, 0}}));
  EXPECT_EQ(lines({350, 260, 50, 40}, {400, 300}), (Lines{{true, 399}, {false, 299}}));
  // Centred both ways: the centred test and nothing else on each axis.
  EXPECT_EQ(lines({175, 130, 50, 40}, {400, 300}), (Lines{{true, 200}, {false, 150}}));
  // A full-page frame touches everything on x: left, right and centred.
  EXPECT_EQ(lines({0, 100, 400, 40}, {400, 300}), (Lines{{true, 1}, {true, 399}, {true, 200}}));
  EXPECT_TRUE(lines({50, 60, 50, 40}, {400, 300}).empty());
}

}  // namespace
