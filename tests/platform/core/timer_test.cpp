#include <gtest/gtest.h>

#include "platform/core/main_queue.h"
#include "platform/core/timer.h"

using namespace std::chrono_literals;

TEST(Timer, EventTrackingTimerFiresOnlyDuringTracking) {
  int ticks = 0;
  auto timer = platform::Timer::create(0.005, true, [&](platform::Timer&) { ++ticks; });
  timer->schedule(platform::RunLoopMode::EventTracking);
  platform::iterateMainLoopUntil([] { return false; }, 60ms);
  EXPECT_EQ(ticks, 0);
  {
    platform::MouseTrackingScope tracking;
    EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return ticks >= 3; }, 2000ms));
  }
  const int afterTracking = ticks;
  platform::iterateMainLoopUntil([] { return false; }, 60ms);
  EXPECT_EQ(ticks, afterTracking);
  timer->invalidate();
}

TEST(Timer, ActionMayInvalidateItsOwnTimer) {
  int ticks = 0;
  std::weak_ptr<platform::Timer> watched;
  {
    auto timer = platform::Timer::create(0.001, true, [&, counter = std::make_shared<int>(0)](platform::Timer& self) {
      if (++*counter == 2) self.invalidate();
      ++ticks;
    });
    watched = timer;
    timer->schedule(platform::RunLoopMode::Common);
  }
  EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return watched.expired(); }, 2000ms));
  EXPECT_EQ(ticks, 2);
}
