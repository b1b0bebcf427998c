#include "geometry/parallel_offset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

constexpr double kTolerance = 1e-5;

struct Piece {
  PathElement kind;
  Point points[3];
};

std::vector<Piece> piecesOf(const BezierPath& path) {
  std::vector<Piece> pieces;
  for (int i = 0; i < path.elementCount(); ++i) {
    Piece piece{};
    piece.kind = path.elementAt(i, piece.points);
    pieces.push_back(piece);
  }
  return pieces;
}

std::vector<PathElement> kindsOf(const BezierPath& path) {
  std::vector<PathElement> kinds;
  for (const Piece& piece : piecesOf(path)) kinds.push_back(piece.kind);
  return kinds;
}

void expectPoint(Point actual, Point expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
}

BezierPath polyline(std::initializer_list<Point> points) {
  BezierPath path;
  bool first = true;
  for (Point point : points) {
    if (first) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
    first = false;
  }
  return path;
}

// π/2 rounded to float is 1.57079637050628662109375, past π/2 by 4.37113883e-8, so its cosine
// is -4.37113883e-8; a double computation would give a cosine of about 6e-17.
constexpr double kFloatCosineOfHalfPi = -4.37113883e-8;

TEST(ParallelOffset, HorizontalSegmentMovesUpByTheOffset) {
  const auto pieces = piecesOf(paralleloidPathWithOffset(polyline({{0, 0}, {100, 0}}), 10));
  ASSERT_EQ(pieces.size(), 2u);
  expectPoint(pieces[0].points[0], {0, 10});
  expectPoint(pieces[1].points[0], {100, 10});
}

TEST(ParallelOffset, NegativeOffsetMovesToTheRight) {
  const auto pieces = piecesOf(paralleloidPathWithOffset(polyline({{0, 0}, {100, 0}}), -10));
  ASSERT_EQ(pieces.size(), 2u);
  expectPoint(pieces[0].points[0], {0, -10});
  expectPoint(pieces[1].points[0], {100, -10});
}

TEST(ParallelOffset, ShiftIsComputedInSinglePrecision) {
  const auto pieces = piecesOf(paralleloidPathWithOffset(polyline({{0, 0}, {100, 0}}), 10));
  ASSERT_EQ(pieces.size(), 2u);
  // 10 × the float cosine, within float rounding of the product; far from the double result.
  EXPECT_NEAR(pieces[0].points[0].x, 10 * kFloatCosineOfHalfPi, 1e-13);
  EXPECT_NEAR(pieces[1].points[0].x - 100, 10 * kFloatCosineOfHalfPi, 1e-12);
  EXPECT_EQ(pieces[0].points[0].y, 10.0);
}

TEST(ParallelOffset, CornerVertexMovesAlongTheLeavingSegmentsNormal) {
  const auto pieces = piecesOf(paralleloidPathWithOffset(polyline({{0, 0}, {100, 0}, {100, 100}}), 10));
  ASSERT_EQ(pieces.size(), 3u);
  expectPoint(pieces[0].points[0], {0, 10});
  expectPoint(pieces[1].points[0], {90, 0});
  expectPoint(pieces[2].points[0], {90, 100});  // the last vertex follows the segment reaching it
}

TEST(ParallelOffset, ClosedSquareShiftsEachCornerAlongItsLeavingSide) {
  const BezierPath square = BezierPath::rect({0, 0, 100, 100});
  const BezierPath result = paralleloidPathWithOffset(square, 10);
  EXPECT_EQ(kindsOf(result), kindsOf(square));
  const auto pieces = piecesOf(result);
  ASSERT_EQ(pieces.size(), 5u);
  expectPoint(pieces[0].points[0], {0, 10});
  expectPoint(pieces[1].points[0], {90, 0});
  expectPoint(pieces[2].points[0], {100, 90});
  // The side closing the square runs from (0, 100) back down to (0, 0).
  expectPoint(pieces[3].points[0], {10, 100});
  EXPECT_EQ(pieces[4].kind, PathElement::Close);
}

TEST(ParallelOffset, LastSideHeadsForItsOwnSubpathStartNotTheNextSubpath) {
  BezierPath path = BezierPath::rect({0, 0, 100, 100});
  path.moveTo({500, 500});
  path.lineTo({600, 500});
  const BezierPath result = paralleloidPathWithOffset(path, 10);
  EXPECT_EQ(kindsOf(result), kindsOf(path));
  const auto pieces = piecesOf(result);
  ASSERT_EQ(pieces.size(), 7u);
  expectPoint(pieces[3].points[0], {10, 100});
  expectPoint(pieces[5].points[0], {500, 510});
  expectPoint(pieces[6].points[0], {600, 510});
}

TEST(ParallelOffset, CurveFirstControlPointTakesThePreviousShift) {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({100, 0});
  path.curveTo({200, 100}, {150, 0}, {200, 50});
  const auto pieces = piecesOf(paralleloidPathWithOffset(path, 10));
  ASSERT_EQ(pieces.size(), 3u);
  ASSERT_EQ(pieces[2].kind, PathElement::Curve);
  expectPoint(pieces[1].points[0], {100, 10});  // heads for the curve's first control point
  expectPoint(pieces[2].points[0], {150, 10});  // the line's shift
  expectPoint(pieces[2].points[1], {190, 50});  // the curve's own: its last segment runs up
  expectPoint(pieces[2].points[2], {190, 100});
}

TEST(ParallelOffset, InnerCurveHeadsFromItsEndToTheNextPoint) {
  BezierPath path;
  path.moveTo({0, 0});
  path.curveTo({100, 100}, {0, 50}, {50, 100});
  path.lineTo({100, 0});
  const auto pieces = piecesOf(paralleloidPathWithOffset(path, 10));
  ASSERT_EQ(pieces.size(), 3u);
  expectPoint(pieces[0].points[0], {-10, 0});  // towards the first control point, straight up
  expectPoint(pieces[1].points[0], {-10, 50});
  expectPoint(pieces[1].points[1], {60, 100});
  expectPoint(pieces[1].points[2], {110, 100});
  expectPoint(pieces[2].points[0], {110, 0});
}

TEST(ParallelOffset, OvalAsTheEraserSeesIt) {
  const BezierPath oval = BezierPath::ovalInRect({0, 0, 100, 60});
  const BezierPath result = paralleloidPathWithOffset(oval, 10);
  EXPECT_EQ(kindsOf(result), kindsOf(oval));
  const auto in = piecesOf(oval);
  const auto out = piecesOf(result);
  ASSERT_EQ(in.size(), 6u);
  ASSERT_EQ(out.size(), 6u);
  // Starts at (100, 30) heading straight up: moves left.
  expectPoint(out[0].points[0], {90, 30});
  // The first quarter ends at the top (50, 60), heading left towards the next control point: moves down.
  expectPoint(out[1].points[0], {in[1].points[0].x - 10, in[1].points[0].y});
  expectPoint(out[1].points[1], {in[1].points[1].x, in[1].points[1].y - 10});
  expectPoint(out[1].points[2], {50, 50});
  // The last quarter ends where the subpath starts, so it keeps its own heading (straight up) and
  // closes on the shifted start instead of kinking.
  expectPoint(out[4].points[2], {90, 30});
  expectPoint(out[4].points[1], {in[4].points[1].x - 10, in[4].points[1].y});
  EXPECT_EQ(out[5].kind, PathElement::Close);
}

TEST(ParallelOffset, ResultHasTheClassDefaultAttributes) {
  BezierPath path = polyline({{0, 0}, {100, 0}});
  path.setLineWidth(7);
  path.setWindingRule(platform::WindingRule::EvenOdd);
  const BezierPath result = paralleloidPathWithOffset(path, 10);
  EXPECT_EQ(result.lineWidth(), BezierPath().lineWidth());
  EXPECT_EQ(result.windingRule(), BezierPath().windingRule());
}

TEST(VaryingOffset, GrowsLinearlyOverTheElements) {
  const auto pieces =
      piecesOf(offsetPathWithStartingOffset(polyline({{0, 0}, {100, 0}, {200, 0}, {300, 0}, {400, 0}}), 0, 20));
  ASSERT_EQ(pieces.size(), 5u);
  for (int i = 0; i < 5; ++i) expectPoint(pieces[static_cast<std::size_t>(i)].points[0], {100.0 * i, 5.0 * i});
}

TEST(VaryingOffset, StepIsDividedInSinglePrecision) {
  const auto pieces = piecesOf(offsetPathWithStartingOffset(polyline({{0, 0}, {1, 0}, {2, 0}, {3, 0}}), 0, 1));
  ASSERT_EQ(pieces.size(), 4u);
  // 1/3 as a float is 0.3333333432674407958984375.
  EXPECT_EQ(pieces[1].points[0].y, 0.3333333432674407958984375);
  EXPECT_NE(pieces[1].points[0].y, 1.0 / 3.0);
  expectPoint(pieces[3].points[0], {3, 1});
}

TEST(VaryingOffset, HugeRangeStaysFinite) {
  const float big = std::numeric_limits<float>::max();
  const auto pieces = piecesOf(offsetPathWithStartingOffset(polyline({{0, 0}, {1, 0}, {2, 0}}), -big, big));
  ASSERT_EQ(pieces.size(), 3u);
  for (const Piece& piece : pieces) {
    EXPECT_TRUE(std::isfinite(piece.points[0].x));
    EXPECT_TRUE(std::isfinite(piece.points[0].y));
  }
  EXPECT_NEAR(pieces[1].points[0].y, 0, 1e30);  // the midpoint of the range
  EXPECT_GT(pieces[2].points[0].y, 1e38);
}

TEST(DegenerateOffsets, EmptyPathGivesAnEmptyPath) {
  EXPECT_TRUE(paralleloidPathWithOffset(BezierPath(), 10).isEmpty());
  EXPECT_TRUE(offsetPathWithStartingOffset(BezierPath(), 0, 10).isEmpty());
}

TEST(DegenerateOffsets, OneElementGivesAnUnshiftedCopy) {
  BezierPath path;
  path.moveTo({3, 4});
  for (const BezierPath& result : {paralleloidPathWithOffset(path, 10), offsetPathWithStartingOffset(path, 5, 20)}) {
    const auto pieces = piecesOf(result);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].kind, PathElement::Move);
    EXPECT_EQ(pieces[0].points[0], (Point{3, 4}));
  }
}

TEST(DegenerateOffsets, ZeroLengthSegmentsMoveUpByTheOffset) {
  const auto pieces = piecesOf(paralleloidPathWithOffset(polyline({{5, 5}, {5, 5}, {5, 5}}), 10));
  ASSERT_EQ(pieces.size(), 3u);
  for (const Piece& piece : pieces) expectPoint(piece.points[0], {5, 15});
}

TEST(DegenerateOffsets, NonFiniteInputGivesNoNaN) {
  const double inf = std::numeric_limits<double>::infinity();
  const auto pieces = piecesOf(paralleloidPathWithOffset(polyline({{0, 0}, {inf, 0}, {0, 0}}), 10));
  ASSERT_EQ(pieces.size(), 3u);
  expectPoint(pieces[0].points[0], {0, 10});
  for (const Piece& piece : pieces) {
    EXPECT_FALSE(std::isnan(piece.points[0].x));
    EXPECT_FALSE(std::isnan(piece.points[0].y));
  }
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const auto unshifted = piecesOf(paralleloidPathWithOffset(polyline({{0, 0}, {100, 0}}), nan));
  ASSERT_EQ(unshifted.size(), 2u);
  EXPECT_EQ(unshifted[1].points[0], (Point{100, 0}));
}

}  // namespace
