// A running tracking gesture is what lets event-tracking timers fire.

#include <gtest/gtest.h>

#include "platform/core/timer.h"
#include "platform/ui/tracking_gesture.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

TEST(TrackingDepth, RaisedWhileAGestureRuns) {
  const int before = mouseTrackingDepth();
  TrackingGesture ended(AnyEventMask, nullptr, {});
  {
    TrackingGesture broken(AnyEventMask, nullptr, {});
    EXPECT_EQ(mouseTrackingDepth(), before + 2);
    broken.breakGrab();
    EXPECT_EQ(mouseTrackingDepth(), before + 1);
    TrackingGesture dropped(AnyEventMask, nullptr, {});
  }
  EXPECT_EQ(mouseTrackingDepth(), before + 1);
  ended.feed(test::mouseEvent(EventType::LeftMouseUp, {0, 0}));
  EXPECT_EQ(mouseTrackingDepth(), before);
}

}  // namespace
}  // namespace platform
