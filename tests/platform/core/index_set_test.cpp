// Index sets stay sorted and unique whatever order indexes come in; a random sequence of edits is checked
// against std::set.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "platform/core/index_set.h"
#include "../../random_test_seed.h"

namespace platform {
namespace {

TEST(IndexSet, KeepsIndexesSortedOnceAndDescribesRuns) {
  IndexSet set{5, 1, 2, 5, 0};
  EXPECT_EQ(set.indexes(), (std::vector<std::size_t>{0, 1, 2, 5}));
  EXPECT_EQ(set.description(), "(0-2 5)");
  set.addRange(4, 3);
  EXPECT_EQ(set.description(), "(0-2 4-6)");
  set.remove(1);
  set.remove(99);
  EXPECT_EQ(set.description(), "(0 2 4-6)");
  EXPECT_EQ(set.firstIndex(), 0u);
  EXPECT_EQ(set.lastIndex(), 6u);
  EXPECT_EQ(IndexSet().description(), "()");
  EXPECT_FALSE(IndexSet().firstIndex());
  EXPECT_EQ(IndexSet::range(3, 0), IndexSet());
}

TEST(IndexSet, RandomEditsAgreeWithAnOrderedSet) {
  const unsigned seed = randomTestSeed("IndexSet.RandomEditsAgreeWithAnOrderedSet");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  IndexSet set;
  std::set<std::size_t> oracle;
  for (int step = 0; step < 2000; ++step) {
    const std::size_t index = random() % 200;
    switch (random() % 3) {
      case 0:
        set.add(index);
        oracle.insert(index);
        break;
      case 1:
        set.remove(index);
        oracle.erase(index);
        break;
      default: {
        const std::size_t count = random() % 5;
        set.addRange(index, count);
        for (std::size_t i = 0; i < count; ++i) oracle.insert(index + i);
      }
    }
    ASSERT_EQ(set.count(), oracle.size());
    ASSERT_EQ(set.contains(index), oracle.count(index) == 1);
  }
  EXPECT_EQ(set.indexes(), std::vector<std::size_t>(oracle.begin(), oracle.end()));
}

}  // namespace
}  // namespace platform
