#include <gtest/gtest.h>

#include "canvas/CMSuspendMoving.h"

namespace {

using platform::Point;

TEST(SuspendMoving, LocksWhenReachedAndLetsGoThirtyOneUnitsOnFromWhereItCaught) {
  CMSuspendMoving axis(0);
  EXPECT_FALSE(axis.isLock());
  axis.lock(true, {0, 50}, {1.5, 50});
  EXPECT_TRUE(axis.isLock());
  EXPECT_EQ(axis.point(), (Point{0, 50}));
  axis.lock(true, {0, 50}, {30.9, 70});
  EXPECT_TRUE(axis.isLock()) << "30.9 truncates to 30";
  axis.lock(true, {0, 50}, {-30.5, 50});
  EXPECT_TRUE(axis.isLock());
  axis.lock(true, {0, 50}, {-31, 50});
  EXPECT_FALSE(axis.isLock());
}

TEST(SuspendMoving, TheYAxisMeasuresY) {
  CMSuspendMoving axis(1);
  axis.lock(true, {10, 0}, {500, 2});
  EXPECT_TRUE(axis.isLock()) << "x is not this axis' business";
  axis.lock(true, {10, 0}, {10, 31});
  EXPECT_FALSE(axis.isLock());
}

TEST(SuspendMoving, ADragThatStartsOnTheLineMustLeaveItByThreeUnitsFirst) {
  CMSuspendMoving axis(0);
  axis.lock(true, {0, 0}, {0, 0}, false);
  EXPECT_FALSE(axis.isLock());
  axis.lock(true, {0, 0}, {1, 0});  // still within reach: does not catch
  EXPECT_FALSE(axis.isLock());
  axis.lock(false, {2.9, 0}, {2.9, 0});
  EXPECT_FALSE(axis.isLock());
  axis.lock(true, {0, 0}, {2, 0});
  EXPECT_FALSE(axis.isLock()) << "2.9 truncates to 2: not yet re-armed";
  axis.lock(false, {3, 0}, {3, 0});
  axis.lock(true, {0, 0}, {2, 0});
  EXPECT_TRUE(axis.isLock());
}

TEST(SuspendMoving, FinishReArmsAndMovingForcesTheLock) {
  CMSuspendMoving axis(0);
  axis.lock(true, {0, 0}, {0, 0}, false);
  axis.finish();
  EXPECT_FALSE(axis.isLock());
  axis.moving(true);
  EXPECT_TRUE(axis.isLock());
  axis.moving(false);
  EXPECT_TRUE(axis.isLock()) << "NO does nothing";
  axis.finish();
  EXPECT_FALSE(axis.isLock());
}

TEST(SuspendMoving, OtherTypesNeverMeasure) {
  CMSuspendMoving axis(5);
  axis.lock(true, {0, 0}, {1000, 1000});
  EXPECT_TRUE(axis.isLock());
  axis.setType(0);
  axis.lock(true, {0, 0}, {1000, 0});
  EXPECT_FALSE(axis.isLock());
}

}  // namespace
