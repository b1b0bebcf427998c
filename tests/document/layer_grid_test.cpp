// The drawer's grid of layer reaches answers exactly what a look at every rectangle answers, through random runs
// of inserts, moves and removals that mix in rectangles no grid can hold: not finite, enormous, inverted, empty.

#include "document/CMLayerGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "document/CMLayerExtent.h"
#include "../random_test_seed.h"

namespace {

using platform::Rect;


class RandomRects {
 public:
  explicit RandomRects(std::uint32_t seed) : random_(seed) {}

  double between(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }
  int below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  // Mostly ordinary layers on a page of 2000 units, now and then one of every awkward kind.
  Rect rect() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    switch (below(40)) {
      case 0: return {between(-100, 2000), between(-100, 2000), inf, 10};
      case 1: return {nan, between(0, 2000), 10, 10};
      case 2: return {-inf, -inf, inf, inf};
      case 3: return {-5e29, between(0, 2000), 1e30, 20};  // 1e30 wide
      case 4: return {between(0, 2000), between(0, 2000), -between(1, 300), 40};  // a negative width
      case 5: return {between(0, 2000), between(0, 2000), 0, 40};
      case 6: return {1e300, -1e300, 1e299, 5};  // far beyond any cell number
      case 7: return {between(-100, 2000), between(-100, 2000), between(300, 3000), between(300, 3000)};
      case 8: return {std::round(between(0, 40)) * 25, std::round(between(0, 40)) * 25, 25, 25};  // on cell edges
      default: return {between(-100, 2000), between(-100, 2000), between(0.5, 80), between(0.5, 80)};
    }
  }

 private:
  std::mt19937 random_;
};

// Every slot whose rectangle meets the query, ascending.
std::vector<CMLayerGrid::Slot> everySlotMeeting(const std::map<CMLayerGrid::Slot, Rect>& rects, const Rect& query) {
  std::vector<CMLayerGrid::Slot> slots;
  for (const auto& [slot, rect] : rects)
    if (reachMeets(rect, query)) slots.push_back(slot);
  return slots;
}

TEST(LayerGridTest, QueriesFindExactlyTheRectanglesALookAtEveryOneFinds) {
  const std::uint32_t runSeed = randomTestSeed("LayerGridTest.QueriesFindExactlyTheRectanglesALookAtEveryOneFinds");
  SCOPED_TRACE("DRAFTWORK_TEST_SEED=" + std::to_string(runSeed));
  RandomRects random(runSeed);
  for (int run = 0; run < 20; ++run) {
    std::map<CMLayerGrid::Slot, Rect> rects;
    std::vector<Rect> first;
    for (int i = 0; i < 300; ++i) first.push_back(random.rect());
    CMLayerGrid grid;
    // The grid sized for its first rectangles, or for far smaller or larger ones than come.
    const double sides[] = {CMLayerGrid::cellSideFor(first), 0.01, 5000, std::numeric_limits<double>::quiet_NaN()};
    grid.reset(sides[run % 4]);
    for (CMLayerGrid::Slot slot = 0; slot < first.size(); ++slot) {
      grid.set(slot, first[slot]);
      rects[slot] = first[slot];
    }
    for (int step = 0; step < 600; ++step) {
      const auto slot = static_cast<CMLayerGrid::Slot>(random.below(400));
      if (random.below(4) == 0) {
        grid.remove(slot);
        rects.erase(slot);
      } else {
        const Rect rect = random.rect();
        grid.set(slot, rect);
        rects[slot] = rect;
      }
      const Rect query = random.below(10) == 0 ? random.rect()
                                                : Rect{random.between(-200, 2000), random.between(-200, 2000),
                                                       random.between(1, 1200), random.between(1, 800)};
      const std::vector<CMLayerGrid::Slot> expected = everySlotMeeting(rects, query);
      ASSERT_EQ(grid.query(query), expected) << "run " << run << ", step " << step;
    }
  }
}

}  // namespace
