// The rectangle index against the plain test of every rectangle, on random rectangles of mixed sizes (touching
// and nearly touching ones included), and with NaN coordinates.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "boolean/rect_functions.h"
#include "boolean/rect_index.h"
#include "../random_test_seed.h"

namespace {

using platform::Rect;

std::vector<std::size_t> everyOverlapping(const std::vector<Rect>& rects, const Rect& query) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (PBRectsOverlap(query, rects[i])) found.push_back(i);
  }
  return found;
}

TEST(RectIndex, FindsExactlyTheRectanglesThatOverlapTheQuery) {
  const unsigned seed = randomTestSeed("RectIndex.FindsExactlyTheRectanglesThatOverlapTheQuery");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> coordinate(-100, 100);
  std::uniform_real_distribution<double> size(0, 30);
  for (std::size_t count : {0u, 1u, 3u, 17u, 200u, 1500u}) {
    std::vector<Rect> rects;
    for (std::size_t i = 0; i < count; ++i) {
      // Some rectangles are points, some sit on a 10-unit lattice so that edges touch or miss by 1e-6 or less.
      const bool lattice = i % 3 == 0;
      const double x = lattice ? std::round(coordinate(random) / 10) * 10 : coordinate(random);
      const double y = lattice ? std::round(coordinate(random) / 10) * 10 : coordinate(random);
      const double nudge = lattice ? (i % 2 == 0 ? 0.9e-6 : 1.1e-6) : 0;
      rects.push_back({x + nudge, y, i % 7 == 0 ? 0 : (lattice ? 10 : size(random)), i % 5 == 0 ? 0 : size(random)});
    }
    const PBRectIndex index(rects);
    for (int q = 0; q < 200; ++q) {
      const Rect query = q < static_cast<int>(count) && q % 2 == 0
                             ? Rect{platform::maxX(rects[static_cast<std::size_t>(q)]), coordinate(random), 5, 5}
                             : Rect{coordinate(random), coordinate(random), size(random), size(random)};
      EXPECT_EQ(index.overlapping(query), everyOverlapping(rects, query)) << "count " << count << " query " << q;
    }
  }
}

// A NaN never rules a rectangle out on its own axis; the other axis still may.
TEST(RectIndex, ANaNCoordinateNeverRulesARectangleOutOnItsAxis) {
  const double nan = std::nan("");
  const std::vector<Rect> rects{{0, 0, 1, 1},   {nan, 0, 1, 1},  {50, 50, 1, 1},
                                {0, nan, 1, 1}, {80, 80, nan, 1}, {80, 0, nan, 1}};
  const PBRectIndex index(rects);
  EXPECT_EQ(index.overlapping(Rect{0.5, 0.5, 0, 0}), (std::vector<std::size_t>{0, 1, 3, 5}));
  EXPECT_EQ(index.overlapping(Rect{nan, 50.5, 0, 0}), (std::vector<std::size_t>{2, 3}));
}

}  // namespace
