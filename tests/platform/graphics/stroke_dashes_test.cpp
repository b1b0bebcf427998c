#include "platform/graphics/stroke_dashes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace platform::stroke {
namespace {

using testing::ElementsAre;

struct Piece {
  std::vector<Point> points;
  bool closed;
  Point direction;
};

std::vector<Piece> piecesOf(const std::vector<Point>& points, bool closed, const DashPattern& dash) {
  std::vector<Piece> pieces;
  dashPolyline(points, closed, dash, [&](std::span<const Point> piece, bool pieceClosed, Point direction) {
    pieces.push_back({{piece.begin(), piece.end()}, pieceClosed, direction});
  });
  return pieces;
}

DashPattern pattern(std::vector<double> lengths, double phase) {
  const auto dash = DashPattern::make(lengths, phase);
  EXPECT_TRUE(dash.has_value());
  return dash.value_or(*DashPattern::make(std::vector<double>{1, 1}, 0));
}

TEST(DashPattern, PatternsCairoWouldRefuseMeanSolid) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const std::vector<double>& lengths :
       std::vector<std::vector<double>>{{}, {0}, {0, 0, 0, 0}, {4, -1}, {-4, 8}, {nan, 2}, {2, inf}, {1e308, 1e308}}) {
    EXPECT_FALSE(DashPattern::make(lengths, 0).has_value()) << lengths.size();
  }
}

TEST(DashPattern, OddPatternsRepeatWithOnAndOffSwapped) {
  const DashPattern single = pattern({4}, 0);
  EXPECT_EQ(single.entryCount(), 2u);
  EXPECT_EQ(single.period(), 8);
  const DashPattern three = pattern({1, 2, 3}, 0);
  EXPECT_EQ(three.entryCount(), 6u);
  EXPECT_EQ(three.period(), 12);
  // 8 units in: past on 1, off 2, on 3 and off 1, one into the second copy's 2, which is on.
  auto position = pattern({1, 2, 3}, 8).start();
  EXPECT_EQ(position.index, 4u);
  EXPECT_TRUE(position.on());
  EXPECT_DOUBLE_EQ(position.remaining, 1);
}

TEST(DashPattern, PhaseWrapsIntoThePattern) {
  struct Case {
    double phase;
    std::size_t index;
    double remaining;
  };
  // Pattern on 10, off 5 (period 15).
  for (const Case& c : {Case{0, 0, 10}, Case{3, 0, 7}, Case{12, 1, 3}, Case{-3, 1, 3}, Case{15, 0, 10},
                        Case{10, 1, 5}, Case{-15, 0, 10}, Case{47, 0, 8},
                        Case{std::numeric_limits<double>::quiet_NaN(), 0, 10}}) {
    const auto position = pattern({10, 5}, c.phase).start();
    EXPECT_EQ(position.index, c.index) << "phase " << c.phase;
    EXPECT_DOUBLE_EQ(position.remaining, c.remaining) << "phase " << c.phase;
  }
  // A zero-length first dash at phase 0 is still there to make a dot.
  const auto dot = pattern({0, 10}, 0).start();
  EXPECT_TRUE(dot.on());
  EXPECT_EQ(dot.remaining, 0);
}

TEST(DashPolyline, CutsAStraightRunAtTheDashEnds) {
  // On 10, off 5, starting 3 in: on over [0, 7], [12, 22], [27, 37].
  const auto pieces = piecesOf({{0, 0}, {40, 0}}, false, pattern({10, 5}, 3));
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_THAT(pieces[0].points, ElementsAre(Point{0, 0}, Point{7, 0}));
  EXPECT_THAT(pieces[1].points, ElementsAre(Point{12, 0}, Point{22, 0}));
  EXPECT_THAT(pieces[2].points, ElementsAre(Point{27, 0}, Point{37, 0}));
  for (const Piece& piece : pieces) EXPECT_FALSE(piece.closed);
}

TEST(DashPolyline, PiecesKeepTheCornersTheyRunThrough) {
  const auto pieces = piecesOf({{0, 0}, {10, 0}, {10, 10}}, false, pattern({14, 2}, 0));
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_THAT(pieces[0].points, ElementsAre(Point{0, 0}, Point{10, 0}, Point{10, 4}));
  EXPECT_THAT(pieces[1].points, ElementsAre(Point{10, 6}, Point{10, 10}));
}

TEST(DashPolyline, AClosedRunCarriesTheDashAcrossTheClose) {
  // Perimeter 40; on 6, off 4 from 2 in: on over [0, 4], [8, 14], [18, 24], [28, 34], [38, 40].
  // The last runs on through the start into the first, turning the corner at (0, 0).
  const std::vector<Point> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const auto pieces = piecesOf(square, true, pattern({6, 4}, 2));
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_THAT(pieces[0].points, ElementsAre(Point{8, 0}, Point{10, 0}, Point{10, 4}));
  EXPECT_THAT(pieces[1].points, ElementsAre(Point{10, 8}, Point{10, 10}, Point{6, 10}));
  EXPECT_THAT(pieces[2].points, ElementsAre(Point{2, 10}, Point{0, 10}, Point{0, 6}));
  EXPECT_THAT(pieces[3].points, ElementsAre(Point{0, 2}, Point{0, 0}, Point{4, 0}));
  for (const Piece& piece : pieces) EXPECT_FALSE(piece.closed);

  // Off at the start: nothing to carry over, the last piece ends at the close.
  const auto offAtStart = piecesOf(square, true, pattern({6, 4}, 6));
  ASSERT_EQ(offAtStart.size(), 4u);
  EXPECT_THAT(offAtStart[0].points, ElementsAre(Point{4, 0}, Point{10, 0}));
  EXPECT_THAT(offAtStart[3].points, ElementsAre(Point{0, 6}, Point{0, 0}));
}

TEST(DashPolyline, ADashLongerThanTheLoopLeavesItClosed) {
  const std::vector<Point> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const auto pieces = piecesOf(square, true, pattern({100, 1}, 0));
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(pieces[0].closed);
  EXPECT_EQ(pieces[0].points, square);
}

TEST(DashPolyline, ZeroLengthDashesAreDotsFacingAlongThePath) {
  // Dots at 0, 10 and 20 (the last where a dash starts at the very end), on the way up.
  const auto pieces = piecesOf({{0, 0}, {0, 20}}, false, pattern({0, 10}, 0));
  ASSERT_EQ(pieces.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_THAT(pieces[i].points, ElementsAre(Point{0, 10.0 * i}));
    EXPECT_EQ(pieces[i].direction, (Point{0, 1}));
  }
}

TEST(DashPolyline, AZeroLengthRunIsADotOnlyWhenTheDashStartsOn) {
  EXPECT_EQ(piecesOf({{3, 4}}, false, pattern({5, 5}, 0)).size(), 1u);
  EXPECT_TRUE(piecesOf({{3, 4}}, false, pattern({5, 5}, 7)).empty());
}

TEST(DashPolyline, RoundingNeverLeavesSliversWithoutADirection) {
  // 0.1 steps do not add up exactly in binary, so dashes end or start a hair
  // either side of the corner. Each piece must still be a clean run of the right
  // length, with no sliver whose direction would be rounding noise.
  struct Case {
    double phase;
    double firstSide;
    double secondSide;
    std::vector<double> pieceLengths;
  };
  const Case cases[] = {
      {0, 0.3, 0.25, {0.1, 0.1, 0.1}},  // on over [0, 0.1], [0.2, 0.3], [0.4, 0.5]: a dash ends at the corner
      {0.1, 0.1, 0.28, {0.1, 0.08}},    // on over [0.1, 0.2], [0.3, 0.38]: a dash starts at the corner
  };
  for (const Case& c : cases) {
    for (int degrees = 0; degrees < 360; degrees += 7) {
      const double angle = degrees * std::numbers::pi / 180;
      const Point corner{c.firstSide * std::cos(angle), c.firstSide * std::sin(angle)};
      const auto pieces =
          piecesOf({{0, 0}, corner, {corner.x, corner.y + c.secondSide}}, false, pattern({0.1, 0.1}, c.phase));
      ASSERT_EQ(pieces.size(), c.pieceLengths.size()) << degrees << "°";
      for (std::size_t p = 0; p < pieces.size(); ++p) {
        double length = 0;
        for (std::size_t i = 1; i < pieces[p].points.size(); ++i) {
          const Point a = pieces[p].points[i - 1];
          const Point b = pieces[p].points[i];
          EXPECT_GT(std::hypot(b.x - a.x, b.y - a.y), 1e-6) << degrees << "° phase " << c.phase;
          length += std::hypot(b.x - a.x, b.y - a.y);
        }
        EXPECT_NEAR(length, c.pieceLengths[p], 1e-12) << degrees << "° phase " << c.phase;
      }
    }
  }
}

}  // namespace
}  // namespace platform::stroke
