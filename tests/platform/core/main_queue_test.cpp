#include "platform/core/main_queue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MainQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { drainMainQueue(); }  // nothing left over from another test
  void TearDown() override { drainMainQueue(); }

  std::function<void()> record(std::string label) {
    return [this, label] { calls_.push_back(label); };
  }

  std::vector<std::string> calls_;
};

TEST_F(MainQueueTest, ClosuresRunLaterInTheOrderQueued) {
  std::vector<int> order;
  for (int i = 0; i < 200; ++i) dispatchAsync([&order, i] { order.push_back(i); });
  EXPECT_THAT(order, IsEmpty()) << "nothing runs before the queue is served";
  drainMainQueue();
  ASSERT_EQ(order.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
}

TEST_F(MainQueueTest, ClosuresQueuedWhileDrainingRunAfterThoseAlreadyQueued) {
  dispatchAsync([this] {
    calls_.push_back("A");
    dispatchAsync([this] {
      calls_.push_back("A.1");
      dispatchAsync(record("A.1.1"));
    });
  });
  dispatchAsync(record("B"));
  dispatchAsync(record("C"));
  drainMainQueue();
  EXPECT_THAT(calls_, ElementsAre("A", "B", "C", "A.1", "A.1.1"));
}

TEST_F(MainQueueTest, TheMainLoopServesTheQueueInOrderAcrossTurns) {
  dispatchAsync([this] {
    calls_.push_back("A");
    dispatchAsync(record("A.1"));
  });
  dispatchAsync(record("B"));
  EXPECT_TRUE(iterateMainLoopUntil([this] { return calls_.size() == 3; }, 5s));
  EXPECT_THAT(calls_, ElementsAre("A", "B", "A.1"));
}

TEST_F(MainQueueTest, ClosuresFromOtherThreadsArriveInTheirOrder) {
  std::thread worker([this] {
    for (int i = 0; i < 50; ++i) dispatchAsync(record(std::to_string(i)));
  });
  worker.join();
  ASSERT_TRUE(iterateMainLoopUntil([this] { return calls_.size() == 50; }, 5s));
  for (int i = 0; i < 50; ++i) EXPECT_EQ(calls_[static_cast<std::size_t>(i)], std::to_string(i));
}

TEST_F(MainQueueTest, DelayedClosuresRunOnTheLoopInDelayOrder) {
  // The longer delay is registered first and is long enough that both cannot fall due in one turn.
  dispatchAfter(250ms, record("late"));
  dispatchAfter(-5ms, record("negative delay"));
  dispatchAfter(10ms, record("soon"));
  drainMainQueue();
  EXPECT_THAT(calls_, IsEmpty()) << "delayed closures wait for the loop, not the queue";
  ASSERT_TRUE(iterateMainLoopUntil([this] { return calls_.size() == 3; }, 5s));
  EXPECT_THAT(calls_, ElementsAre("negative delay", "soon", "late"));
}

TEST_F(MainQueueTest, IterationGivesUpAfterTheTimeout) {
  int asked = 0;
  EXPECT_FALSE(iterateMainLoopUntil([&] { return ++asked < 0; }, 30ms));
  EXPECT_GE(asked, 2) << "asked before iterating and again after the timer woke the loop";
}

TEST_F(MainQueueTest, EmptyClosuresAreIgnored) {
  dispatchAsync(std::function<void()>());
  dispatchAfter(0ms, std::function<void()>());
  dispatchAsync(record("real"));
  EXPECT_TRUE(iterateMainLoopUntil([this] { return !calls_.empty(); }, 5s));
  drainMainQueue();
  EXPECT_THAT(calls_, ElementsAre("real"));
}

}  // namespace
}  // namespace platform
